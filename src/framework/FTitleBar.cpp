#include "framework/FTitleBar.h"

#include "framework/FrameworkResources.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QToolButton>

namespace {
const int kDefaultHeight = 24;
const char *const kLockedIcon = "skin/images/appbar.lock.png";
const char *const kUnlockedIcon = "skin/images/appbar.unlock.keyhole.png";
}

namespace {
// The logo comes from the resource bundle, which must be registered before the icon is made.
QWidget *withResources(QWidget *parent)
{
    ensureFrameworkResources();
    return parent;
}
}

FTitleBar::FTitleBar(QWidget *parent)
    : QFrame(withResources(parent)),
      maxIcon(QStringLiteral("skin/icons/fullscreensize.png")),
      normalIcon(QStringLiteral("skin/icons/normalsize.png")),
      titleLabel(new QLabel(this)),
      logoButton(makeButton(QStringLiteral(":/trayIcon"))),
      menuButton(makeButton(QStringLiteral("skin/icons/menu.png"))),
      skinButton(makeButton(QStringLiteral("skin/icons/skin.png"))),
      lockButton(makeButton(QStringLiteral("skin/icons/lock.png"))),
      minButton(makeButton(QStringLiteral("skin/icons/minsize.png"))),
      maxButton(makeButton(QStringLiteral("skin/icons/fullscreensize.png"))),
      closeButton(makeButton(QStringLiteral("skin/icons/close.png")))
{
    setObjectName(QStringLiteral("FTitleBar"));
    titleLabel->setObjectName(QStringLiteral("FTitleLabel"));
    closeButton->setObjectName(QStringLiteral("close"));

    setFixedHeight(kDefaultHeight);
    titleLabel->setFixedHeight(kDefaultHeight);
    for (QToolButton *b : {logoButton, menuButton, skinButton, lockButton, minButton, maxButton, closeButton})
        b->setIconSize(QSize(height(), height()));
    titleLabel->setText(QStringLiteral("Vexilo"));

    auto *layout = new QHBoxLayout(this);
    layout->addWidget(logoButton);
    layout->addWidget(titleLabel);
    layout->addStretch();
    for (QToolButton *b : {menuButton, skinButton, lockButton, minButton, maxButton, closeButton})
        layout->addWidget(b);
    layout->setContentsMargins(0, 0, 5, 0);
    layout->setSpacing(0);

    connect(menuButton, &QToolButton::clicked, menuButton, &QToolButton::showMenu);
    connect(skinButton, &QToolButton::clicked, skinButton, &QToolButton::showMenu);
    connect(lockButton, &QToolButton::clicked, this, &FTitleBar::changeFix);
    connect(minButton, &QToolButton::clicked, this, &FTitleBar::minimuned);
    connect(closeButton, &QToolButton::clicked, this, &FTitleBar::closed);
    connect(maxButton, &QToolButton::clicked, this, &FTitleBar::swithMaxNormal);
}

QToolButton *FTitleBar::makeButton(const QString &iconPath)
{
    auto *button = new QToolButton(this);
    button->setFocusPolicy(Qt::NoFocus);
    button->setIcon(QIcon(iconPath));
    return button;
}

void FTitleBar::setTitleText(const QString &text, const char *objectName)
{
    titleLabel->setText(text);
    titleLabel->setFixedHeight(height());
    titleLabel->setObjectName(objectName ? QString::fromUtf8(objectName) : QString());
}

void FTitleBar::setTitleBarHeight(int h)
{
    setFixedHeight(h);
    titleLabel->setFixedHeight(h);
    // The lock button keeps its own size: its images are not square title icons.
    for (QToolButton *b : {logoButton, menuButton, skinButton, minButton, maxButton, closeButton})
        b->setIconSize(QSize(h, h));
}

void FTitleBar::setCloseButtonIcon(const char *iconPath, const char *objectName)
{
    closeButton->setIcon(QIcon(QString::fromUtf8(iconPath ? iconPath : "")));
    closeButton->setIconSize(QSize(height(), height()));
    if (objectName)
        closeButton->setObjectName(QString::fromUtf8(objectName));
}

void FTitleBar::setLogoButtonVisible(bool visible) { logoButton->setVisible(visible); }
void FTitleBar::setMenuButtonVisible(bool visible) { menuButton->setVisible(visible); }
void FTitleBar::setSkinButtonVisible(bool visible) { skinButton->setVisible(visible); }
void FTitleBar::setLockButtonVisible(bool visible) { lockButton->setVisible(visible); }
void FTitleBar::setMinButtonVisible(bool visible) { minButton->setVisible(visible); }
void FTitleBar::setMaxButtonVisible(bool visible) { maxButton->setVisible(visible); }

void FTitleBar::swithMaxNormal()
{
    maximised = !maximised;
    emit MaxNormal();
    maxButton->setIcon(maximised ? normalIcon : maxIcon);
}

void FTitleBar::clearChecked()
{
    for (QToolButton *b : {menuButton, skinButton, lockButton, minButton, maxButton, closeButton})
        b->setChecked(false);
}

void FTitleBar::changeFix()
{
    locked = !locked;
    lockButton->setIcon(QIcon(QString::fromLatin1(locked ? kLockedIcon : kUnlockedIcon)));
}
