#pragma once

// The switching page's test environment, with the start-up steps the preview players need and a
// clean slate for the process-wide page and player pool between cases.

#include "pages/switching/AvPlayerControl.h"
#include "pages/switching/MCenterMainWindow.h"
#include "SwitchingTestEnv.h"


class PreviewTestEnv
{
public:
    ~PreviewTestEnv() { dropPage(); }

    bool isValid() const
    {
        return base.isValid() && QFileInfo::exists(base.filePath(QStringLiteral("data/command0/SYSTEM.ini")));
    }

    // A fresh matrix model for the ports and card letters, and devicesim serving them (without
    // its preview streams: those bind a fixed address that another test's devicesim may hold).
    bool start(int ports, const QString& inCards, const QString& outCards, QString* error)
    {
        dropPage();
        base.useModel(ports, inCards, outCards);
        return base.startMatrix(error);
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

    // The switching page; it subscribes to the current model when it is built.
    MCenterMainWindow* wiredPage() { return MCenterMainWindow::instance(); }

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
