#pragma once

#include <QFrame>
#include <QIcon>

class QLabel;
class QToolButton;

// Title strip drawn by every frameless window in place of the platform frame. It only turns
// button clicks into signals and keeps the maximised and locked toggles; the owning window
// decides what a click means.
class FTitleBar : public QFrame
{
    Q_OBJECT
public:
    explicit FTitleBar(QWidget *parent = nullptr);

    void setTitleText(const QString &text, const char *objectName = nullptr);
    void setTitleBarHeight(int h);
    void setCloseButtonIcon(const char *iconPath, const char *objectName = nullptr);

    void setLogoButtonVisible(bool visible);
    void setMenuButtonVisible(bool visible);
    void setSkinButtonVisible(bool visible);
    void setLockButtonVisible(bool visible);
    void setMinButtonVisible(bool visible);
    void setMaxButtonVisible(bool visible);

    QToolButton *getMaxButton() const { return maxButton; }
    QLabel *getTitleLabel() const { return titleLabel; }

    // Buttons other than max and title are reached by owners that attach menus to them.
    QToolButton *getLogoButton() const { return logoButton; }
    QToolButton *getMenuButton() const { return menuButton; }
    QToolButton *getSkinButton() const { return skinButton; }
    QToolButton *getLockButton() const { return lockButton; }
    QToolButton *getMinButton() const { return minButton; }
    QToolButton *getCloseButton() const { return closeButton; }

    bool isMaximised() const { return maximised; }
    bool isLocked() const { return locked; }

signals:
    void minimuned();
    void MaxNormal();
    void closed();

public slots:
    void swithMaxNormal();
    void clearChecked();
    void changeFix();

private:
    QToolButton *makeButton(const QString &iconPath);

    QIcon maxIcon;
    QIcon normalIcon;
    QLabel *titleLabel;
    QToolButton *logoButton;
    QToolButton *menuButton;
    QToolButton *skinButton;
    QToolButton *lockButton;
    QToolButton *minButton;
    QToolButton *maxButton;
    QToolButton *closeButton;
    bool maximised = false;
    bool locked = false;
};
