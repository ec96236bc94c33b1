#pragma once

// The switching page's test environment plus the preview streams: devicesim's preview cards
// serve their RTSP streams on 127.0.0.101 upwards, port 8554, as the players expect them.

#include "AvPlayerControl.h"
#include "MCenterMainWindow.h"
#include "SwitchingTestEnv.h"

#include <QElapsedTimer>

class PreviewTestEnv
{
public:
    ~PreviewTestEnv() { dropPage(); }

    bool isValid() const
    {
        return base.isValid() && QFileInfo::exists(base.filePath(QStringLiteral("data/command0/SYSTEM.ini")));
    }

    // A fresh matrix model for the ports and card letters, and devicesim serving them; with
    // streams, a start that finds the stream port still held by another test is tried again.
    bool start(int ports, const QString& inCards, const QString& outCards, bool withStreams, QString* error)
    {
        dropPage();
        base.useModel(ports, inCards, outCards);
        if (!withStreams)
            return base.startMatrix(error);

        CCHelper* link = CCHelper::instance();
        link->disConnectToDevice();
        const QStringList args{QStringLiteral("--model"), QString::number(ports), QStringLiteral("--no-ipcards"),
                               QStringLiteral("--in-cards"), inCards, QStringLiteral("--out-cards"), outCards};
        QElapsedTimer waited;
        waited.start();
        while (!base.sim.start(args)) {
            if (!base.sim.errorString().contains(QLatin1String("preview streams")) || waited.elapsed() > 30000) {
                *error = base.sim.errorString();
                return false;
            }
            QTest::qWait(500);
        }
        QSignalSpy connected(link, &CCHelper::clientConnected);
        link->connectToDevice(0, base.sim.address(), base.sim.port(), QString());
        if (connected.isEmpty() && !connected.wait(5000)) {
            *error = QStringLiteral("the link did not connect to devicesim");
            return false;
        }
        return true;
    }

    // What the start-up sequence does before the previews start: routes and card addresses from
    // the matrix, then the switching page.
    MCenterMainWindow* queryAndBuildPage()
    {
        model()->queryIOStatus();
        // The start-up sequence's pause, while the status lines come in.
        QTest::qWait(1000);
        model()->queryIpCardAddresses();
        MCenterMainWindow* page = wiredPage();
        page->initConfig(false);
        return page;
    }

    // The switching page, wired to the model as the central page wires it.
    MCenterMainWindow* wiredPage()
    {
        const bool fresh = !ProcessSingleton<MCenterMainWindow>::exists();
        MCenterMainWindow* page = MCenterMainWindow::instance();
        if (fresh)
            base.wirePage(page);
        return page;
    }

    // The pool and the page are process-wide; a case that is done with them leaves the next one
    // a clean start. Tiles go first: they detach their renderers from the pool's players.
    static void dropPage()
    {
        if (ProcessSingleton<MCenterMainWindow>::exists())
            delete MCenterMainWindow::instance();
        if (ProcessSingleton<AvPlayerControl>::exists())
            delete AvPlayerControl::instance();
    }

    MatrixModel* model() const { return base.model; }
    DeviceSimProcess& sim() { return base.sim; }
    QStringList received() { return base.received(); }
    void clearReceived() { base.clearReceived(); }

private:
    SwitchingTestEnv base;
};
