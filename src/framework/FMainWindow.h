#pragma once

#include "framework/FWindowDrag.h"

#include <QMainWindow>
#include <QSystemTrayIcon>

class FTitleBar;
class QStatusBar;

// Base of the application's main window: frameless, dragged by its top strip, toggles full
// screen through the shared title bar, restores its geometry from data/MainConfig.dat, fades in
// when shown and owns the status bar and the tray icon. It never minimises or closes itself on
// the title bar's buttons: it re-emits them as Hidden() and Close() for the derived window.
class FMainWindow : public QMainWindow
{
    Q_OBJECT
public:
    explicit FMainWindow(QWidget *parent = nullptr);
    ~FMainWindow() override;

    // The one title bar of the main window, created on first use; the centre frame places it.
    static FTitleBar *sharedTitleBar();

    QStatusBar *getStatusBar() const { return statusLine; }
    QSystemTrayIcon *getQSystemTrayIcon() const { return trayIcon; }
    FTitleBar *getTitleBar() const { return titleBar; }

    bool isLockMoved() const { return lockMoved; }
    bool isLocked() const { return locked; }

signals:
    void Hidden();
    void Close();

public slots:
    void swithMaxNormal();
    void onSystemTrayIconClicked(QSystemTrayIcon::ActivationReason reason);
    void setLockMoved(bool flag);
    void setLocked(bool flag);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void showEvent(QShowEvent *event) override;

    void readSettings();

private:
    FWindowDrag drag;
    bool lockMoved = false;
    bool locked = false;
    FTitleBar *titleBar;
    // Not named statusBar: that would hide QMainWindow::statusBar() from derived windows.
    QStatusBar *statusLine;
    QSystemTrayIcon *trayIcon;
};
