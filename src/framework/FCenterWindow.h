#pragma once

#include <QBoxLayout>
#include <QFrame>
#include <QVariant>

class FNavgationBar;
class QStackedWidget;

// Direction of a page change, handed to the page-change animation: 1 when the new page lies
// before the old one in the stack, 3 when it lies after it.
enum animation_Direction {
    animationTop = 0,
    animationRight = 1,
    animationBottom = 2,
    animationLeft = 3,
    animationTopLeft,
    animationTopRight,
    animationBottomRight,
    animationBottomLeft,
    animationCenter
};

// Central frame of the main window: the shared title bar, then the navigation bar and the stack
// of pages. Adding a page adds its button; clicking a button shows its page.
class FCenterWindow : public QFrame
{
    Q_OBJECT
public:
    explicit FCenterWindow(QWidget *parent = nullptr);

    bool addWidget(const QString &buttonText, const QString &objectName, QWidget *page,
                   QString imageName = QString(), bool disabled = false);
    void setNavgationBarLayout(int variant);
    FNavgationBar *getNavgationBar() const { return navgationBar; }
    QStackedWidget *getStackWidget() const { return stackWidget; }
    QBoxLayout *getInnerLayout() const { return innerLayout; }
    int getPreIndex() const { return preIndex; }

public slots:
    void switchScreen(QString strObjectName);
    void swicthLayout(QBoxLayout::Direction direction);
    virtual void cloudAntimation(animation_Direction direction);
    void onAnimationValueChanged(QVariant value);
    void updateUi();

protected:
    FNavgationBar *navgationBar;
    QStackedWidget *stackWidget;
    QBoxLayout *innerLayout;
    QVBoxLayout *mainLayout;
    int preIndex = 0;
};
