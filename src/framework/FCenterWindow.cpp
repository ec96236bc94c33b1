#include "framework/FCenterWindow.h"

#include "framework/FMainWindow.h"
#include "framework/FNavgationBar.h"
#include "framework/FTitleBar.h"

#include <QStackedWidget>

FCenterWindow::FCenterWindow(QWidget *parent)
    : QFrame(parent),
      navgationBar(new FNavgationBar(this)),
      stackWidget(new QStackedWidget(this)),
      innerLayout(new QBoxLayout(QBoxLayout::TopToBottom)),
      mainLayout(new QVBoxLayout(this))
{
    setObjectName(QStringLiteral("FCenterWindow"));
    innerLayout->addWidget(navgationBar);
    innerLayout->addWidget(stackWidget);
    innerLayout->setContentsMargins(0, 0, 0, 0);
    innerLayout->setSpacing(0);

    mainLayout->addWidget(FMainWindow::sharedTitleBar());
    mainLayout->addLayout(innerLayout);
    mainLayout->setContentsMargins(0, 0, 0, 0);
    mainLayout->setSpacing(0);

    connect(navgationBar, &FNavgationBar::navgationChanged, this, &FCenterWindow::switchScreen);
}

bool FCenterWindow::addWidget(const QString &buttonText, const QString &objectName, QWidget *page,
                              QString imageName, bool disabled)
{
    if (!navgationBar->addButton(buttonText, objectName, imageName, disabled))
        return false;
    page->setObjectName(objectName);
    page->setProperty("Type", QStringLiteral("MainPage"));
    stackWidget->addWidget(page);
    return true;
}

void FCenterWindow::setNavgationBarLayout(int variant)
{
    if (!navgationBar->applyVariant(variant))
        return;
    innerLayout->setDirection(FNavgationBar::innerDirection(variant));
    if (variant == 0)
        navgationBar->resize(stackWidget->width(), navgationBar->height());
    else if (variant >= 3 && variant <= 5)
        navgationBar->resize(navgationBar->width(), stackWidget->height());
}

void FCenterWindow::switchScreen(QString strObjectName)
{
    const int old = stackWidget->currentIndex();
    int found = -1;
    for (int i = 0; i < stackWidget->count(); ++i) {
        if (stackWidget->widget(i)->objectName() == strObjectName) {
            found = i;
            break;
        }
    }
    if (found < 0)
        return;
    stackWidget->setCurrentIndex(found);
    if (found != old) {
        // Set first so that the animation can read where it comes from.
        preIndex = old;
        cloudAntimation(old > found ? animationRight : animationLeft);
    }
}

void FCenterWindow::swicthLayout(QBoxLayout::Direction direction)
{
    innerLayout->setDirection(direction);
}

void FCenterWindow::cloudAntimation(animation_Direction direction)
{
    Q_UNUSED(direction);
}

void FCenterWindow::onAnimationValueChanged(QVariant value)
{
    Q_UNUSED(value);
    if (QWidget *page = stackWidget->currentWidget())
        page->update();
}

void FCenterWindow::updateUi()
{
    if (QWidget *page = stackWidget->currentWidget())
        page->update();
}
