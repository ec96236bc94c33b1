// devicesim: the simulated matrix, IP cards and preview streams, on loopback only.
#include "ControlChannel.h"
#include "IpCardFarm.h"
#include "MatrixPanelControls.h"
#include "MatrixSimulator.h"
#include "MatrixTransport.h"
#include "PreviewStreamFarm.h"
#include "SimCommandLine.h"
#include "TerminationSignals.h"

#include <QCoreApplication>
#include <QTimer>

#include <cstdio>

namespace {

int fail(const QString& message)
{
    std::fprintf(stderr, "devicesim: %s\n", qPrintable(message));
    return 2;
}

void printLine(const QString& line)
{
    std::fprintf(stdout, "%s\n", qPrintable(line));
    std::fflush(stdout);
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("devicesim"));

    SimCommandLine options;
    QString error;
    if (!options.parse(app, &error))
        return fail(error);

    TerminationSignals termination;
    MatrixSimulator matrix(options.matrix);
    MatrixTransport transport(matrix);
    ControlChannel control;
    IpCardFarm ipCards;
    PreviewStreamFarm streams;

    transport.registerControls(control);
    MatrixPanelControls::registerControls(control, matrix);
    if (options.ipCards)
        ipCards.registerControls(control);
    if (options.streams)
        streams.registerControls(control);
    streams.setStreamKind(options.fastStreams ? PreviewStreamKind::Fast : PreviewStreamKind::CameraLike);
    control.registerCommand(QStringLiteral("quit"), QStringLiteral("quit: stop devicesim"), [](const QStringList&) {
        QTimer::singleShot(0, qApp, &QCoreApplication::quit);
        return QByteArray("OK");
    });

    if (options.helpRequested) {
        std::fprintf(stdout, "%s\nControl requests (control port and --exec):\n%s\n", qPrintable(options.helpText),
                     qPrintable(control.helpText()));
        return 0;
    }

    for (const QString& line : qAsConst(options.execLines)) {
        const QByteArray answer = control.execute(line);
        std::fprintf(stderr, "devicesim: %s -> %s\n", qPrintable(line), answer.constData());
        if (answer.startsWith("ERR"))
            return fail(QStringLiteral("--exec \"%1\" failed").arg(line));
    }

    if (!transport.listen(options.listen, options.port, &error))
        return fail(error);
    if (options.pty && !transport.openPty(options.ptyLink, &error))
        return fail(error);
    if (options.controlPort >= 0 && !control.listen(options.listen, quint16(options.controlPort), &error))
        return fail(QStringLiteral("control port: %1").arg(error));
    if (options.ipCards && !ipCards.start(matrix.ipCardAddresses(), options.ipCardPort, &error))
        return fail(QStringLiteral("IP cards: %1").arg(error));
    // A card moved through the matrix moves itself; a card that moved itself is found there.
    QObject::connect(&matrix, &MatrixSimulator::cardAddressesChanged, &ipCards,
                     [&] { ipCards.followAddresses(matrix.ipCardAddresses()); });
    QObject::connect(&ipCards, &IpCardFarm::cardMoved, &matrix, &MatrixSimulator::ipCardMoved);
    if (options.streams && !streams.start(matrix, options.rtspPort, &error))
        return fail(QStringLiteral("preview streams: %1").arg(error));

    QObject::connect(&transport, &MatrixTransport::ptyPathChanged,
                     [](const QString& path) { printLine(QStringLiteral("devicesim pty=%1").arg(path)); });

    const QString address = options.listen.toString();
    QString ready = QStringLiteral("devicesim ready matrix=%1:%2").arg(address).arg(transport.port());
    if (options.controlPort >= 0)
        ready += QStringLiteral(" control=%1:%2").arg(address).arg(control.port());
    if (options.pty)
        ready += QStringLiteral(" pty=%1").arg(transport.ptyPath());
    printLine(ready);
    return app.exec();
}
