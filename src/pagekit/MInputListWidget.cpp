#include "pagekit/MInputListWidget.h"

#include "pagekit/MInputTreeList.h"
#include "pagekit/StyledBackground.h"

#include <QLabel>
#include <QVBoxLayout>

MInputListWidget::MInputListWidget(QWidget* parent)
    : QWidget(parent)
    , tree(new MInputTreeList)
    , header(new QLabel(tr("输入列表")))
{
    setObjectName(QStringLiteral("CardListWidget"));
    setFixedWidth(200);
    header->setProperty("Type", QStringLiteral("HeadLabel"));

    auto* layout = new QVBoxLayout(this);
    layout->setSpacing(0);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(header);
    layout->addWidget(tree);

    connect(tree, &MInputTreeList::signalSelectIndexChanged, this, &MInputListWidget::signalSelectCardIndexChanged);
}

void MInputListWidget::setCardItem(int index, const QJsonObject& card, int kind, bool update)
{
    tree->setCardItem(index, card, kind, update);
}

int MInputListWidget::currentCardIndex() const
{
    return tree->currentCardIndex();
}

void MInputListWidget::setTitle(const QString& text, bool visible)
{
    header->setVisible(visible);
    header->setText(text);
}

void MInputListWidget::paintEvent(QPaintEvent*)
{
    paintStyledBackground(this);
}
