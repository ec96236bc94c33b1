#include "pages/cardsettings/CardSettingsPage.h"

#include "framework/EditTeardown.h"
#include "pagekit/MInputListWidget.h"
#include "pagekit/StyledBackground.h"

#include <QHBoxLayout>

CardSettingsPage::CardSettingsPage(CardPortList::Side listSide, QWidget* parent)
    : QWidget(parent)
    , side(listSide)
    , ports(new MInputListWidget)
{
}

// The settings panel's name fields would otherwise report their last edit to this page while
// ~QWidget takes it apart (see disconnectFinishedEdits).
CardSettingsPage::~CardSettingsPage()
{
    disconnectFinishedEdits(this);
}

void CardSettingsPage::arrange(const QString& listTitle, QWidget* panel, int panelWidth)
{
    ports->setTitle(listTitle, true);
    ports->setFixedWidth(200);
    // At least that wide, wider when a translation needs it.
    panel->setMinimumWidth(panelWidth);
    panel->setSizePolicy(QSizePolicy::Fixed, panel->sizePolicy().verticalPolicy());
    auto* layout = new QHBoxLayout(this);
    layout->setSpacing(50);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(ports);
    layout->addWidget(panel);
    layout->addStretch();
}

void CardSettingsPage::initConfig(bool update)
{
    CardPortList::fill(ports, side, update);
}

void CardSettingsPage::paintEvent(QPaintEvent*)
{
    paintStyledBackground(this);
}
