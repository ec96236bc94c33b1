#pragma once

#include "framework/FMainWindow.h"
#include "pagekit/ProcessSingleton.h"
#include "pagekit/WaitMaskGuard.h"

#include <QDateTime>
#include <QPointer>

class CenterWindow;
class QPropertyAnimation;
class QTimer;
class SettingMenu;

// The console's one main window: frameless, the central page with the navigation, the link's
// state in the status line, its geometry kept in data/MainConfig.dat, a question before exit
// and a fade-out. It also lays the busy overlay over itself for the whole system.
class MainWindow : public FMainWindow, public BusyOverlay
{
    Q_OBJECT
public:
    static MainWindow* instance();
    static bool exists() { return ProcessSingleton<MainWindow>::exists(); }
    ~MainWindow() override;

    void setExitConfirmed(bool confirmed) { exitConfirmed = confirmed; }
    bool isExitConfirmed() const { return exitConfirmed; }
    // Asks question (leave the console: exit or log out). Confirmed the moment OK is clicked:
    // every wait ends then, and no box opens afterwards.
    bool confirmLeaving(const QString& question);
    CenterWindow* centerWindow() const { return centralPage; }
    SettingMenu* settingMenu() const { return menu; }

signals:
    void Closed();

public slots:
    void animationClose();
    void slotShowWait() override;
    void slotHideWait() override;
    void clientDisConnected();
    void clientConnected();
    void clientConnectTimeout();
    void displayMessage(QString strMsg);

protected:
    void timerEvent(QTimerEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    friend class ProcessSingleton<MainWindow>;
    MainWindow();
    void initUI();
    void loadGeometry();
    void saveGeometry();
    // Whether code beneath the current event has still to return (a wait, a modal box).
    static bool callersStillRunning();

    QDateTime createdAt;
    bool exitConfirmed = false;
    bool fullScreenAtStart = true;
    CenterWindow* centralPage = nullptr;
    SettingMenu* menu = nullptr;
    QPointer<QPropertyAnimation> fadeOut;
    // Closes again once a confirmed close no longer has to wait.
    QTimer* closeRetry;
};
