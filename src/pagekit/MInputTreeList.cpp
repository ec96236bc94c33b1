#include "pagekit/MInputTreeList.h"

#include "core/CardInfo.h"
#include "pagekit/PortDrag.h"
#include "core/PublicClass.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>

namespace {
constexpr int kMarkerRole = Qt::UserRole + 1;
}

MInputTreeList::MInputTreeList(QWidget* parent)
    : QTreeWidget(parent)
    , edit(new QLineEdit)
    , findBtn(new QPushButton)
    , itemIcon(QStringLiteral("style/image/inputItem.png"))
{
    setObjectName(QStringLiteral("MInputTreeList"));
    setHeaderHidden(true);
    setColumnCount(1);
    setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setAllColumnsShowFocus(false);
    // Rows have no children: no branch indentation, so the find row gets the full width.
    setRootIsDecorated(false);
    // One column exactly as wide as the list, so that nothing of a row hides under the scroll bar.
    header()->setSectionResizeMode(QHeaderView::Stretch);

    edit->setObjectName(QStringLiteral("InputFindEdit"));
    findBtn->setObjectName(QStringLiteral("InputFindBtn"));
    findBtn->setFixedWidth(40);
    // The find row is as wide as the list: the edit gives way, whatever the font's metrics.
    edit->setMinimumWidth(40);

    auto* findRow = new QTreeWidgetItem(0);
    findRow->setData(0, Qt::UserRole, -1);
    findRow->setFlags(findRow->flags() & ~Qt::ItemIsEnabled);
    addTopLevelItem(findRow);
    auto* findWidget = new QWidget;
    findWidget->setObjectName(QStringLiteral("FindWidget"));
    auto* findLayout = new QHBoxLayout(findWidget);
    findLayout->setSpacing(0);
    findLayout->setContentsMargins(0, 0, 0, 0);
    findLayout->addWidget(edit);
    findLayout->addWidget(findBtn);
    setItemWidget(findRow, 0, findWidget);

    connect(findBtn, &QPushButton::clicked, this, &MInputTreeList::onFindClick);
    connect(edit, &QLineEdit::textChanged, this, &MInputTreeList::onFindEditClick);
    connect(this, &QTreeWidget::currentItemChanged, this, &MInputTreeList::onCurSelectItemChanged);
}

void MInputTreeList::setCardItem(int index, const QJsonObject& card, int kind, bool update)
{
    QJsonObject sub;
    if (kind == 0)
        sub = card.value(CardKey::InCard).toObject();
    else if (kind == 1)
        sub = card.value(CardKey::OutCard).toObject();
    const QString label = portLabel(sub, index);

    if (update) {
        for (int i = 0; i < topLevelItemCount(); ++i) {
            QTreeWidgetItem* row = topLevelItem(i);
            if (row->data(0, Qt::UserRole).toInt() == index)
                row->setText(0, label);
        }
        return;
    }

    auto* row = new QTreeWidgetItem;
    row->setText(0, label);
    row->setIcon(0, itemIcon);
    row->setData(0, Qt::UserRole, index);
    const int type = sub.value(CardKey::CardType).toInt(0);
    if (type == PublicClass::eCARD_TYPE_NONE)
        row->setFlags(row->flags() & ~Qt::ItemIsEnabled);
    else if (type == PublicClass::eCARD_TYPE_IP_I)
        row->setData(0, kMarkerRole, 1);
    addTopLevelItem(row);

    if (!currentItem()) {
        for (int i = 0; i < topLevelItemCount(); ++i) {
            QTreeWidgetItem* candidate = topLevelItem(i);
            if (!(candidate->flags() & Qt::ItemIsEnabled) || candidate->data(0, kMarkerRole).toInt() == 1)
                continue;
            setCurrentItem(candidate);
            break;
        }
    }
    filterItems(QString());
}

void MInputTreeList::filterItems(const QString& text)
{
    if (text.isEmpty()) {
        for (int i = 0; i < topLevelItemCount(); ++i)
            topLevelItem(i)->setHidden(false);
        return;
    }
    const QList<QTreeWidgetItem*> matches = findItems(text, Qt::MatchContains, 0);
    if (matches.isEmpty())
        return;
    for (int i = 0; i < topLevelItemCount(); ++i) {
        QTreeWidgetItem* row = topLevelItem(i);
        row->setHidden(i != 0 && !matches.contains(row));
    }
}

void MInputTreeList::onFindClick()
{
    filterItems(edit ? edit->text() : QString());
}

void MInputTreeList::onFindEditClick(const QString&)
{
    filterItems(edit ? edit->text() : QString());
}

void MInputTreeList::onCurSelectItemChanged(QTreeWidgetItem* current, QTreeWidgetItem* previous)
{
    if (!current)
        return;
    const int index = current->data(0, Qt::UserRole).toInt();
    if (index == -1) {
        if (previous)
            previous->setSelected(true);
        return;
    }
    curCardIndex = index;
    emit signalSelectIndexChanged(index);
}

void MInputTreeList::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        pressPos = event->localPos();
    QTreeWidget::mousePressEvent(event);
}

void MInputTreeList::mouseReleaseEvent(QMouseEvent* event)
{
    QTreeWidget::mouseReleaseEvent(event);
}

void MInputTreeList::mouseMoveEvent(QMouseEvent* event)
{
    event->accept();
    if (!(event->buttons() & Qt::LeftButton))
        return;
    if ((event->localPos() - pressPos).manhattanLength() < QApplication::startDragDistance())
        return;
    startPortDrag(curCardIndex);
}

void MInputTreeList::startPortDrag(int portIndex)
{
    PortDrag::startDrag(this, portIndex);
}

