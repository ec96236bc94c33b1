#include "framework/FNavgationBar.h"

#include "framework/FCheckabelButton.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVariant>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QVBoxLayout>

namespace {

const int kBarHeight = 48;
const int kStep = 100;          // width of one button slot and of one scroll step
const int kReserved = 100;      // room the arrows and the leading gap take from the bar
const int kWideLead = 263;      // leading gap of the right- and left-aligned top/bottom variants

enum Fill { ButtonsThenStretch, Centred, StretchThenButtons };

struct Variant
{
    const char *objectName;
    QBoxLayout::Direction inner;
    bool vertical;
    int leadSpacing;
    Fill fill;
};

// Variant 0 (the scrolling strip) is built separately; its row here only names the side.
const Variant kVariants[FNavgationBar::kVariantCount] = {
    {"FNavgationBar_bottom", QBoxLayout::TopToBottom, false, 40, ButtonsThenStretch},
    {"FNavgationBar_bottom", QBoxLayout::TopToBottom, false, 0, Centred},
    {"FNavgationBar_bottom", QBoxLayout::TopToBottom, false, kWideLead, StretchThenButtons},
    {"FNavgationBar_left", QBoxLayout::RightToLeft, true, 0, ButtonsThenStretch},
    {"FNavgationBar_left", QBoxLayout::RightToLeft, true, 0, Centred},
    {"FNavgationBar_left", QBoxLayout::RightToLeft, true, 0, StretchThenButtons},
    {"FNavgationBar_top", QBoxLayout::BottomToTop, false, kWideLead, StretchThenButtons},
    {"FNavgationBar_top", QBoxLayout::BottomToTop, false, 0, Centred},
    {"FNavgationBar_top", QBoxLayout::BottomToTop, false, kWideLead, ButtonsThenStretch},
    {"FNavgationBar_right", QBoxLayout::LeftToRight, true, 0, StretchThenButtons},
    {"FNavgationBar_right", QBoxLayout::LeftToRight, true, 0, Centred},
    {"FNavgationBar_right", QBoxLayout::LeftToRight, true, 0, ButtonsThenStretch},
};

const char *const kImageRules =
    "QPushButton[Type=\"TopPushBtn\"]{background-image: url(skin/images/Navgation/%1_NavgationBar1.png) no-repeat;"
    "background-repeat:no-repeat;background-position: center top;\t\tbackground-color: transparent;"
    "color: white;text-align: center bottom;padding-bottom: 2px;border:none;}"
    "QPushButton[Type=\"TopPushBtn\"]:hover{background-image: url(skin/images/Navgation/%1_NavgationBar2.png);}"
    "QPushButton[Type=\"TopPushBtn\"]:pressed{background-image: url(skin/images/Navgation/%1_NavgationBar3.png);}"
    "QPushButton[Type=\"TopPushBtn\"]:disabled{background-image: url(skin/images/Navgation/%1_NavgationBar4.png); color: DarkGray;}"
    "QPushButton[Type=\"TopPushBtn\"]:checked{background-image: url(skin/images/Navgation/%1_NavgationBar3.png);}";

void emptyLayout(QLayout *layout)
{
    while (QLayoutItem *item = layout->takeAt(0))
        delete item;   // widgets stay; only the layout items go
}

} // namespace

FNavgationBar::FNavgationBar(QWidget *parent)
    : QFrame(parent),
      scrollArea(new QScrollArea(this)),
      scrollWidget(new QWidget(scrollArea)),
      scrollLeft(new QPushButton(this)),
      scrollRight(new QPushButton(this))
{
    setObjectName(QStringLiteral("FNavgationBar"));
    scrollArea->setObjectName(QStringLiteral("scrollArea"));
    QScrollBar *strip = scrollArea->horizontalScrollBar();
    strip->setObjectName(QStringLiteral("TopScroll"));
    // The scroll area styled its bar when it made it, before the bar had its name.
    strip->style()->unpolish(strip);
    strip->style()->polish(strip);
    scrollArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    scrollArea->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scrollArea->setWidgetResizable(true);
    // The strip is driven by its arrow buttons and the page buttons (which take no focus
    // either): focused, it would eat Left/Right, which the main window uses to change pages.
    scrollArea->setFocusPolicy(Qt::NoFocus);
    scrollWidget->setObjectName(QStringLiteral("scrollWidget"));
    scrollArea->setWidget(scrollWidget);
    scrollLeft->setObjectName(QStringLiteral("scrollLeft"));
    scrollRight->setObjectName(QStringLiteral("scrollRight"));
    for (QPushButton *arrow : {scrollLeft, scrollRight}) {
        arrow->setFixedSize(18, 60);
        arrow->setFocusPolicy(Qt::NoFocus);
    }

    setFixedHeight(kBarHeight);
    scrollLeft->hide();
    scrollRight->hide();
    if (width() - kReserved >= kStep)
        fitVisibleWidth(width());

    connect(scrollLeft, &QPushButton::clicked, this, &FNavgationBar::ScrollLeft);
    connect(scrollRight, &QPushButton::clicked, this, &FNavgationBar::ScrollRight);
}

QBoxLayout::Direction FNavgationBar::innerDirection(int variant)
{
    return (variant >= 0 && variant < kVariantCount) ? kVariants[variant].inner : QBoxLayout::TopToBottom;
}

bool FNavgationBar::addButton(const QString &text, const QString &objectName, QString imageName, bool disabled)
{
    for (FCheckabelButton *existing : qAsConst(buttons)) {
        if (existing->objectName() == objectName) {
            existing->click();
            return false;
        }
    }
    buttonTexts.append(text);
    auto *button = new FCheckabelButton(text, this);
    button->setProperty("Type", QStringLiteral("TopPushBtn"));
    if (!imageName.isEmpty())
        button->setStyleSheet(QString::fromLatin1(kImageRules).arg(imageName));
    buttons.append(button);
    button->setObjectName(objectName);
    connect(button, &QPushButton::clicked, this, &FNavgationBar::setButtonChecked);
    if (disabled)
        button->setDisabled(true);
    return true;
}

void FNavgationBar::clickButton(int index)
{
    buttons.at(index)->click();
}

void FNavgationBar::setButtonChecked()
{
    auto *clicked = qobject_cast<FCheckabelButton *>(sender());
    for (FCheckabelButton *button : qAsConst(buttons))
        button->setChecked(false);
    if (!clicked)
        return;
    clicked->setChecked(true);
    // The index is current before listeners hear of the change, so they can read it.
    currentIdx = buttons.indexOf(clicked);
    emit navgationChanged(clicked->objectName());
}

void FNavgationBar::ScrollLeft()
{
    QScrollBar *bar = scrollArea->horizontalScrollBar();
    bar->setValue(bar->value() - kStep);
    updateArrows();
}

void FNavgationBar::ScrollRight()
{
    QScrollBar *bar = scrollArea->horizontalScrollBar();
    bar->setValue(bar->value() + kStep);
    updateArrows();
}

void FNavgationBar::updateArrows()
{
    const int value = scrollArea->horizontalScrollBar()->value();
    scrollLeft->setVisible(value >= 1);
    scrollRight->setVisible(scrollWidget->width() - visibleWidth - value >= 1);
}

void FNavgationBar::fitVisibleWidth(int barWidth)
{
    visibleWidth = qMax(0, (barWidth - kReserved) / kStep * kStep);
    for (QWidget *w : {static_cast<QWidget *>(scrollArea), scrollWidget}) {
        w->setMinimumSize(visibleWidth, kBarHeight);
        w->setFixedSize(visibleWidth, kBarHeight);
    }
}

void FNavgationBar::fillScrollWidget()
{
    if (scrollLayout) {
        emptyLayout(scrollLayout);
        delete scrollLayout;
    }
    scrollLayout = new QHBoxLayout(scrollWidget);
    for (FCheckabelButton *button : qAsConst(buttons))
        scrollLayout->addWidget(button);
    scrollLayout->addStretch();
    scrollLayout->setSpacing(20);
    scrollLayout->setContentsMargins(0, 0, 0, 0);

    const int needed = buttons.size() * kStep;
    if (needed > visibleWidth) {
        scrollWidget->setMinimumWidth(needed);
        scrollWidget->setMaximumWidth(needed);
    }
    scrollArea->horizontalScrollBar()->setRange(0, needed);
    updateArrows();
}

void FNavgationBar::dropCurrentLayout()
{
    QLayout *old = layout();
    if (!old)
        return;
    for (QBoxLayout *&slot : layouts) {
        if (slot == old)
            slot = nullptr;
    }
    emptyLayout(old);
    delete old;
}

bool FNavgationBar::applyVariant(int variant)
{
    if (variant < 0 || variant >= kVariantCount)
        return false;
    const Variant &v = kVariants[variant];
    setObjectName(QString::fromLatin1(v.objectName));
    // The skin selects on the object name: let it restyle the bar under its new name.
    style()->unpolish(this);
    style()->polish(this);
    dropCurrentLayout();

    // A bar fixed at 48 px high cannot hold a column of buttons: side placements fix the
    // width instead and take the height of the pages.
    if (v.vertical) {
        setMinimumHeight(0);
        setMaximumHeight(QWIDGETSIZE_MAX);
        setFixedWidth(kStep);
    } else {
        setMinimumWidth(0);
        setMaximumWidth(QWIDGETSIZE_MAX);
        setFixedHeight(kBarHeight);
    }

    QBoxLayout *box = v.vertical ? static_cast<QBoxLayout *>(new QVBoxLayout)
                                 : static_cast<QBoxLayout *>(new QHBoxLayout);
    layouts[variant] = box;
    currentVariant = variant;
    if (variant == 0) {
        box->addSpacing(v.leadSpacing);
        box->addWidget(scrollLeft);
        box->addWidget(scrollArea);
        box->addWidget(scrollRight);
        box->addStretch();
        scrollArea->show();
        fillScrollWidget();
    } else {
        // Buttons sit on the bar itself; the scrolling strip is not part of these placements.
        scrollArea->hide();
        scrollLeft->hide();
        scrollRight->hide();
        if (v.leadSpacing > 0)
            box->addSpacing(v.leadSpacing);
        if (v.fill != ButtonsThenStretch)
            box->addStretch();
        for (FCheckabelButton *button : qAsConst(buttons))
            box->addWidget(button);
        if (v.fill != StretchThenButtons)
            box->addStretch();
    }
    box->setContentsMargins(0, 0, 0, 0);
    box->setSpacing(0);
    setLayout(box);
    return true;
}

void FNavgationBar::resizeEvent(QResizeEvent *event)
{
    QFrame::resizeEvent(event);
    fitVisibleWidth(width());
    // Only the scrolling placement keeps its buttons in the scroll widget; refilling it in the
    // other placements would take the buttons off the bar.
    if (currentVariant <= 0)
        fillScrollWidget();
}
