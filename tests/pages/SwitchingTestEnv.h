#pragma once

// A working folder and a simulated matrix for the switching page tests: a copy of the staged
// runtime (data, skin, style) in a temporary folder with its own XDG_CONFIG_HOME, the system
// command templates, devicesim on 127.0.0.1 with the link connected to it, and a fresh matrix
// model registered for the pages with the link's lines going to its reply parser.

#include "core/CCHelper.h"
#include "DeviceSimProcess.h"
#include "core/GlobalState.h"
#include "platform/LoopbackGuard.h"
#include "pages/switching/MCenterMainWindow.h"
#include "pages/switching/MSenceListWidget.h"
#include "core/MatrixModel.h"
#include "ModalDriver.h"
#include "pagekit/PageModel.h"
#include "WidgetShots.h"

#include <QApplication>
#include <QFileInfo>
#include <QLabel>
#include <QMap>
#include <QPointer>
#include <QSettings>
#include <QSignalSpy>
#include <QTcpSocket>
#include <QTimer>
#include <QtTest>

#include <memory>

class SwitchingTestEnv
{
public:
    SwitchingTestEnv()
    {
        LoopbackGuard::setActiveForTesting(true);
        const QString source = WidgetShots::runtimeSource();
        if (!source.isEmpty())
            WidgetShots::copyTree(source + QStringLiteral("/data"), dir.filePath(QStringLiteral("data")));
        writeSystemTemplatesIfMissing();
        g_languageIndex = 0;
    }

    ~SwitchingTestEnv()
    {
        CCHelper::instance()->disConnectToDevice();
        PageModel::setModel(nullptr);
        delete model;
    }

    bool isValid() const { return dir.isValid(); }
    QString filePath(const QString& name) const { return dir.filePath(name); }

    // Sets the device model and card letters and makes a new matrix model from them (records
    // from data/CardConfig.dat when present, card types from the letters).
    MatrixModel* useModel(int ports, const QString& inCards, const QString& outCards)
    {
        g_deviceModel = ports;
        g_inCardTypes = inCards;
        g_outCardTypes = outCards;
        PageModel::setModel(nullptr);
        delete model;
        model = new MatrixModel;   // listens to the link itself
        PageModel::setModel(model);
        return model;
    }

    // Starts devicesim with the same model and cards and connects the link to it.
    bool startMatrix(QString* error)
    {
        CCHelper::instance()->disConnectToDevice();
        QStringList args{QStringLiteral("--model"), QString::number(g_deviceModel), QStringLiteral("--no-ipcards"),
                         QStringLiteral("--no-streams")};
        if (!g_inCardTypes.isEmpty())
            args << QStringLiteral("--in-cards") << g_inCardTypes;
        if (!g_outCardTypes.isEmpty())
            args << QStringLiteral("--out-cards") << g_outCardTypes;
        if (!sim.start(args)) {
            *error = sim.errorString();
            return false;
        }
        CCHelper* link = CCHelper::instance();
        QSignalSpy connected(link, &CCHelper::clientConnected);
        link->connectToDevice(0, sim.address(), sim.port(), QString());
        if (connected.isEmpty() && !connected.wait(5000)) {
            *error = QStringLiteral("the link did not connect to devicesim");
            return false;
        }
        return true;
    }

    // Every command devicesim received since the last clear, in order (escaped as devicesim
    // prints them: a blank is \x20).
    QStringList received()
    {
        const QString all = QString::fromUtf8(sim.controlOk(QStringLiteral("received all")));
        return all.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    }
    void clearReceived() { sim.controlOk(QStringLiteral("received clear")); }

    // Waits (pumping events) until devicesim has received the command.
    bool waitForCommand(const QString& command, int timeoutMs = 30000)
    {
        QElapsedTimer timer;
        timer.start();
        do {
            if (received().contains(command))
                return true;
            QTest::qWait(20);
        } while (timer.elapsed() < timeoutMs);
        return false;
    }

    // Routes as the simulated matrix holds them, asked by a second client: 1-based output ->
    // 1-based input (0 none). The answer names every output once: it is read, line by whole
    // line, until it has (however slowly it comes).
    QMap<int, int> matrixRoutes()
    {
        QMap<int, int> routes;
        QTcpSocket client;
        client.connectToHost(sim.address(), sim.port());
        if (!client.waitForConnected(30000))
            return routes;
        client.write("/IOStatus;");
        const QDeadlineTimer deadline(30000);
        while (routes.size() < g_deviceModel) {
            if (!client.canReadLine()) {
                if (deadline.hasExpired() || !client.waitForReadyRead(int(qMax<qint64>(1, deadline.remainingTime()))))
                    break;
                continue;
            }
            const QByteArray line = client.readLine().trimmed();
            const int v = line.indexOf('V');
            if (v < 1 || !line.endsWith('.'))
                continue;
            const int input = line.left(v).toInt();
            for (const QByteArray& output : line.mid(v + 1).chopped(1).split(','))
                routes.insert(output.toInt(), input);
        }
        return routes;
    }

    static void dismissNextModal(QStringList* texts) { ModalDriver::dismissNextModal(texts); }

    DeviceSimProcess sim;
    MatrixModel* model = nullptr;

private:
    // The command templates in the wording devicesim understands, for a build that has not
    // staged them.
    void writeSystemTemplatesIfMissing()
    {
        static const QList<QPair<const char*, const char*>> commands = {
            {"IOStatus", "/IOStatus;"}, {"SwitchIO", "/Switch:%1:%2;"}, {"SwitchAll", "/SwitchAll:%1;"},
            {"CloseOut", "/Close:%1;"}, {"CloseAll", "/CloseAll;"}, {"SceneCall", "/SceneCall:%1;"},
            {"SceneSave", "/SceneSave:%1;"}, {"SceneClear", "/SceneClear:%1;"},
            {"InCardList", "/InCardList;"}, {"OutCardList", "/OutCardList;"}};
        for (int language = 0; language < 3; ++language) {
            const QString path = dir.filePath(QStringLiteral("data/command%1/SYSTEM.ini").arg(language));
            if (QFileInfo::exists(path))
                continue;
            QSettings ini(path, QSettings::IniFormat);
            for (const auto& c : commands)
                ini.setValue(QStringLiteral("COMMAND/") + QLatin1String(c.first), QLatin1String(c.second));
        }
    }

    WidgetShots::SkinnedWorkDir dir;
};
