#include "ipcard/panel/VideoSourceTree.h"

#include "ipcard/panel/VideoSourceListWalk.h"

#include <QCoreApplication>
#include <QHeaderView>
#include <QTreeWidget>

#include <algorithm>

using namespace com::kiv::protobuf;

namespace {

const QColor kSavedColour(0x1f, 0x7a, 0x3a);
const QColor kNotSavedColour(0x9b, 0x25, 0x25);

QString typeName(int type)
{
    return VideoSource::E_DeviceType_IsValid(type)
               ? QString::fromStdString(VideoSource::E_DeviceType_Name(VideoSource::E_DeviceType(type)))
               : QString::number(type);
}

// What column 6 says of a source the card reported.
QString saveStateText(const VideoSource& source)
{
    return source.saveissuccess() != 0 ? QCoreApplication::translate("VideoSourceTree", "已连接")
                                       : QCoreApplication::translate("VideoSourceTree", "未连接");
}

void centre(QTreeWidgetItem* item)
{
    for (int column = 0; column < VideoSourceTree::ColumnCount; ++column)
        item->setTextAlignment(column, Qt::AlignCenter);
}

QTreeWidgetItem* newGroupItem(const QString& name)
{
    auto* group = new QTreeWidgetItem({name});
    group->setData(0, VideoSourceItem::KindRole, VideoSourceItem::GroupKind);
    QFont bold = group->font(0);
    bold.setBold(true);
    group->setFont(0, bold);
    centre(group);
    return group;
}

} // namespace

VideoSourceTree::VideoSourceTree(QTreeWidget* treeWidget)
    : tree(treeWidget)
{
    tree->setObjectName(QStringLiteral("VideoSourceTree"));
    tree->setColumnCount(ColumnCount);
    tree->setSelectionMode(QAbstractItemView::SingleSelection);
    tree->setSelectionBehavior(QAbstractItemView::SelectRows);
    tree->setFocusPolicy(Qt::NoFocus);
    // Rows are one line each; without this the view measures every row of every expanded
    // group whenever the current item changes (tens of ms for a card's full list).
    tree->setUniformRowHeights(true);
    tree->header()->setDefaultAlignment(Qt::AlignCenter);
    tree->header()->setSectionResizeMode(QHeaderView::Stretch);
    retranslate();
}

void VideoSourceTree::retranslate()
{
    tree->setHeaderLabels({QCoreApplication::translate("VideoSourceTree", "显示名称"),
                           QCoreApplication::translate("VideoSourceTree", "设备类型"),
                           QCoreApplication::translate("VideoSourceTree", "设备IP"),
                           QCoreApplication::translate("VideoSourceTree", "用户名"),
                           QCoreApplication::translate("VideoSourceTree", "通道号"),
                           QCoreApplication::translate("VideoSourceTree", "媒体端口"),
                           QCoreApplication::translate("VideoSourceTree", "连接状态")});
    for (QTreeWidgetItemIterator it(tree); *it; ++it) {
        if (isSource(*it) && !(*it)->text(SaveState).isEmpty())
            (*it)->setText(SaveState, saveStateText(sourceOf(*it)));
    }
}

bool VideoSourceTree::isSource(const QTreeWidgetItem* item)
{
    return item && item->data(0, VideoSourceItem::KindRole).toInt() == VideoSourceItem::SourceKind;
}

VideoSource VideoSourceTree::sourceOf(const QTreeWidgetItem* item)
{
    return videoSourceFromBytes(item->data(0, VideoSourceItem::BytesRole).toByteArray());
}

void VideoSourceTree::setSourceColumns(QTreeWidgetItem* item, const VideoSource& source)
{
    item->setText(Name, videoSourceText(source.name()));
    item->setText(DeviceType, typeName(source.type()));
    item->setText(Address, QString::fromStdString(source.addr()));
    item->setText(User, QString::fromStdString(source.username()));
    item->setText(Channel, QString::number(source.channel()));
    item->setText(MediaPort, QString::number(source.mediaport()));
    item->setData(0, VideoSourceItem::KindRole, VideoSourceItem::SourceKind);
    item->setData(0, VideoSourceItem::BytesRole, videoSourceBytes(source));
}

QTreeWidgetItem* VideoSourceTree::newSourceItem(const VideoSource& source, bool withSaveState) const
{
    auto* item = new QTreeWidgetItem;
    setSourceColumns(item, source);
    if (withSaveState) {
        item->setText(SaveState, saveStateText(source));
        item->setBackground(SaveState, source.saveissuccess() != 0 ? kSavedColour : kNotSavedColour);
    }
    centre(item);
    return item;
}

void VideoSourceTree::clear()
{
    channels.clear();
    tree->clear();
}

void VideoSourceTree::fill(const VideoSourceGroupManage& list)
{
    clear();
    // Items are gathered first and added to the tree in one go: adding them one by one, each
    // made current, costs a repaint request and a selection change apiece.
    QList<QTreeWidgetItem*> topLevel;
    QTreeWidgetItem* group = nullptr;
    VideoSourceListWalk walk;
    walk.onGroup = [&](const QString& name) {
        group = newGroupItem(name);
        topLevel.append(group);
    };
    walk.onSource = [&](const VideoSource& source, const QByteArray&, bool inGroup) {
        QTreeWidgetItem* item = newSourceItem(source, true);
        if (inGroup)
            group->addChild(item);
        else
            topLevel.append(item);
        channels.append(source.channel());
    };
    walk.run(list);
    tree->addTopLevelItems(topLevel);
    // The last item added is the current one, as if each had been made current in turn.
    if (!topLevel.isEmpty()) {
        QTreeWidgetItem* last = topLevel.last();
        if (last->childCount() > 0)
            last = last->child(last->childCount() - 1);
        tree->setCurrentItem(last);
    }
    tree->expandAll();
}

VideoSourceGroupManage VideoSourceTree::build() const
{
    VideoSourceListBuilder builder;
    for (int i = 0; i < tree->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* top = tree->topLevelItem(i);
        if (isSource(top))
            builder.startLooseSource(top->data(0, VideoSourceItem::BytesRole).toByteArray());
        else
            builder.startGroup(top->text(Name));
        for (int c = 0; c < top->childCount(); ++c)
            builder.addSource(top->child(c)->data(0, VideoSourceItem::BytesRole).toByteArray());
    }
    return builder.list();
}

QTreeWidgetItem* VideoSourceTree::addGroup(const QString& name)
{
    QTreeWidgetItem* group = newGroupItem(name);
    tree->addTopLevelItem(group);
    tree->setCurrentItem(group);
    return group;
}

QTreeWidgetItem* VideoSourceTree::addSource(const VideoSource& source)
{
    QTreeWidgetItem* item = newSourceItem(source, false);
    QTreeWidgetItem* current = tree->currentItem();
    QTreeWidgetItem* group = nullptr;
    if (current)
        group = isSource(current) ? current->parent() : current;
    if (group) {
        group->addChild(item);
        group->setExpanded(true);
    } else {
        tree->addTopLevelItem(item);
    }
    channels.append(source.channel());
    tree->setCurrentItem(item);
    return item;
}

void VideoSourceTree::replaceSource(QTreeWidgetItem* item, const VideoSource& source)
{
    setSourceColumns(item, source);
}

bool VideoSourceTree::removeCurrent()
{
    QTreeWidgetItem* current = tree->currentItem();
    if (!current)
        return false;
    // A group's empty channel column reads as 0. Channels of the sources below a deleted group
    // stay in the list: a new source is still numbered past them.
    channels.removeOne(current->text(Channel).toInt());
    delete current;
    return true;
}

int VideoSourceTree::nextChannel(int highest) const
{
    if (channels.isEmpty())
        return 1;
    // A list from a card or a file may hold any int: no + 1 on INT_MAX.
    const qint64 next = qint64(*std::max_element(channels.begin(), channels.end())) + 1;
    if (next >= 0 && next <= highest)
        return int(next);
    for (int channel = 1; channel < highest; ++channel) {
        if (!channels.contains(channel))
            return channel;
    }
    return highest;
}
