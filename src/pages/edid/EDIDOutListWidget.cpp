#include "pages/edid/EDIDOutListWidget.h"

#include "core/CardInfo.h"
#include "core/PortSettingStore.h"
#include "pagekit/MInputTreeList.h"
#include "pagekit/PageModel.h"
#include "pagekit/WaitedChoice.h"
#include "pages/edid/EdidPorts.h"
#include "pages/switching/ScreenWidget.h"

#include <QComboBox>
#include <QLabel>
#include <QSignalBlocker>
#include <QVBoxLayout>

EDIDOutListWidget::EDIDOutListWidget(QWidget* parent)
    : QWidget(parent)
    , tree(new MInputTreeList)
    , box(new QComboBox)
    , header(new QLabel(tr("内置EDID列表")))
{
    setObjectName(QStringLiteral("EDIDOutListWidget"));
    tree->setObjectName(QStringLiteral("EDIDTreeWidget"));
    // No find row here: the first row holds the built-in EDID choice instead.
    delete tree->itemWidget(tree->topLevelItem(0), 0);
    delete tree->takeTopLevelItem(0);

    box->setObjectName(QStringLiteral("EDIDBox"));
    box->setFixedSize(120, 30);
    header->setAlignment(Qt::AlignCenter);
    auto* choice = new QWidget;
    choice->setObjectName(QStringLiteral("EDIDChoiceWidget"));
    auto* choiceLayout = new QVBoxLayout(choice);
    choiceLayout->setSpacing(10);
    choiceLayout->setContentsMargins(0, 10, 0, 30);
    choiceLayout->addWidget(header);
    choiceLayout->addWidget(box, 0, Qt::AlignHCenter);
    auto* row = new QTreeWidgetItem(0);
    row->setData(0, Qt::UserRole, -1);
    row->setFlags(row->flags() & ~Qt::ItemIsEnabled);
    tree->insertTopLevelItem(0, row);
    tree->setItemWidget(row, 0, choice);

    auto* layout = new QVBoxLayout(this);
    layout->setSpacing(0);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(tree);
}

void EDIDOutListWidget::setCardItem(int index, const QJsonObject& card, int kind, bool update)
{
    tree->setCardItem(index, card, kind, update);
}

void EDIDOutListWidget::onSelectIndexChanged()
{
    if (auto* tile = qobject_cast<ScreenWidget*>(sender()))
        selectInput(tile->getPortIndex());
}

void EDIDOutListWidget::selectInput(int port)
{
    if (port < 0)
        return;
    input = port;
    disconnect(boxWiring);
    box->clear();
    box->addItems(EdidSettings::internalChoices());
    const int type = PortSettingStore::side(PageModel::model(), port, CardKey::InCard).value(CardKey::CardType).toInt(0);
    box->setEnabled(EdidPorts::edidCapable(type));
    box->setCurrentIndex(storedChoice());
    boxWiring = connect(box, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
                        &EDIDOutListWidget::saveInternalEDID);
}

void EDIDOutListWidget::saveInternalEDID(int index)
{
    const int port = input;
    const auto outcome = WaitedChoice::send(box, port, index, [&] {
        return settings.chooseInternal(port, index, box->itemText(index));
    });
    if (outcome == WaitedChoice::Outcome::HeldBack || input != port)
        return;
    // The stored choice: the new one when taken; else the old one, so that choosing again retries.
    const QSignalBlocker blocker(box);
    box->setCurrentIndex(storedChoice());
}

int EDIDOutListWidget::storedChoice() const
{
    return EdidSettings::internalChoice(input, box->findText(EdidPorts::InternalDefault, Qt::MatchContains));
}
