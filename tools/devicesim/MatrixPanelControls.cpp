#include "MatrixPanelControls.h"

#include "ControlChannel.h"
#include "Escapes.h"
#include "MatrixSimulator.h"

namespace MatrixPanelControls {

void registerControls(ControlChannel& channel, MatrixSimulator& matrix)
{
    channel.registerCommand(
        QStringLiteral("panel"),
        QStringLiteral("panel switch IN OUT | allthrough | open | factory: front-panel action, reported to every client"),
        [&matrix](const QStringList& args) -> QByteArray {
            const QString what = args.value(1);
            if (what == QLatin1String("switch") && args.size() == 4) {
                bool okIn = false;
                bool okOut = false;
                const int input = args.at(2).toInt(&okIn);
                const int output = args.at(3).toInt(&okOut);
                if (okIn && okOut && matrix.panelSwitch(input, output))
                    return "OK";
                return "ERR bad port";
            }
            if (what == QLatin1String("allthrough") && args.size() == 2)
                matrix.panelAllThrough();
            else if (what == QLatin1String("open") && args.size() == 2)
                matrix.panelOpenAll();
            else if (what == QLatin1String("factory") && args.size() == 2)
                matrix.panelFactoryDefault();
            else
                return "ERR usage: panel switch IN OUT | allthrough | open | factory";
            return "OK";
        });
    channel.registerCommand(QStringLiteral("keylock"), QStringLiteral("keylock on|off: lock or free the front panel"),
                            [&matrix](const QStringList& args) -> QByteArray {
                                if (args.size() != 2 || (args.at(1) != QLatin1String("on") && args.at(1) != QLatin1String("off")))
                                    return "ERR usage: keylock on|off";
                                matrix.setKeyboardLocked(args.at(1) == QLatin1String("on"));
                                return "OK";
                            });
    channel.registerCommand(
        QStringLiteral("route"),
        QStringLiteral("route OUT: the 1-based input feeding 1-based output OUT (0 none, \"closed\")"),
        [&matrix](const QStringList& args) -> QByteArray {
            bool ok = false;
            const int output = args.value(1).toInt(&ok);
            if (args.size() != 2 || !ok || output < 1 || output > matrix.model())
                return "ERR usage: route OUT";
            const int input = matrix.routeOf(output - 1);
            return input == -2 ? QByteArray("OK closed") : "OK " + QByteArray::number(input + 1);
        });
    channel.registerCommand(
        QStringLiteral("device"),
        QStringLiteral("device: the device name and the model text the matrix holds (decoded, escaped)"),
        [&matrix](const QStringList&) -> QByteArray {
            return "OK " + Escapes::encode(matrix.deviceName().toLatin1()).toUtf8() + ' '
                   + Escapes::encode(matrix.deviceModelText().toLatin1()).toUtf8();
        });
    channel.registerCommand(
        QStringLiteral("settings"),
        QStringLiteral("settings in|out PORT: the card settings the matrix holds for a 1-based port, as "
                       "WORD=VALUE by command word (InAudio, OutRes, EDID, EDIDCopy = 1-based source "
                       "output, ...), values escaped"),
        [&matrix](const QStringList& args) -> QByteArray {
            bool ok = false;
            const int port = args.value(2).toInt(&ok);
            const QString side = args.value(1);
            if (args.size() != 3 || !ok || port < 1 || port > matrix.model()
                || (side != QLatin1String("in") && side != QLatin1String("out")))
                return "ERR usage: settings in|out PORT";
            QByteArray answer("OK");
            const QMap<QString, QByteArray> stored = matrix.portSettings(side == QLatin1String("in") ? 'I' : 'O', port);
            for (auto it = stored.cbegin(); it != stored.cend(); ++it)
                answer += ' ' + it.key().toLatin1() + '=' + Escapes::encode(it.value()).toLatin1();
            return answer;
        });
}

} // namespace MatrixPanelControls
