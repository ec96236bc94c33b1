#include "ipcard/panel/DecoderTree.h"

#include "ipcard/panel/VideoSourceListWalk.h"

#include <QDropEvent>
#include <QMimeData>

using namespace com::kiv::protobuf;

namespace {
const char* const ItemModelFormat = "application/x-qabstractitemmodeldatalist";
const char* const SourceFormat = "application/x-vexilo-decoder-videosource";

QByteArray sourceOf(const QTreeWidgetItem* item)
{
    if (!item || item->data(0, VideoSourceItem::KindRole).toInt() != VideoSourceItem::SourceKind)
        return QByteArray();
    return item->data(0, VideoSourceItem::BytesRole).toByteArray();
}
} // namespace

DecoderTree::DecoderTree(QWidget* parent)
    : QTreeWidget(parent)
{
    setColumnCount(1);
    setUniformRowHeights(true);
    setDragEnabled(true);
    setDragDropMode(QAbstractItemView::DragOnly);
    setDefaultDropAction(Qt::LinkAction);
}

void DecoderTree::fill(const VideoSourceGroupManage& list)
{
    clear();
    QTreeWidgetItem* group = nullptr;
    VideoSourceListWalk walk;
    walk.onGroup = [&](const QString& name) {
        group = new QTreeWidgetItem(this, {name});
        group->setData(0, VideoSourceItem::KindRole, VideoSourceItem::GroupKind);
        group->setFlags(group->flags() & ~Qt::ItemIsDragEnabled);
        setCurrentItem(group);
    };
    walk.onSource = [&](const VideoSource& source, const QByteArray& bytes, bool inGroup) {
        const QStringList text{videoSourceText(source.name())};
        auto* item = inGroup ? new QTreeWidgetItem(group, text) : new QTreeWidgetItem(this, text);
        item->setData(0, VideoSourceItem::KindRole, VideoSourceItem::SourceKind);
        item->setData(0, VideoSourceItem::BytesRole, bytes);
        setCurrentItem(item);
    };
    walk.run(list);
    expandAll();
}

QByteArray DecoderTree::currentSource() const
{
    return sourceOf(currentItem());
}

QMimeData* DecoderTree::mimeData(const QList<QTreeWidgetItem*> items) const
{
    QMimeData* data = QTreeWidget::mimeData(items);
    const QByteArray source = items.size() == 1 ? sourceOf(items.first()) : QByteArray();
    if (data && !source.isEmpty())
        data->setData(QLatin1String(SourceFormat), source);
    return data;
}

QByteArray DecoderTree::sourceOfDrag(const QDropEvent* event)
{
    const QMimeData* data = event->mimeData();
    if (!data || !data->hasFormat(QLatin1String(ItemModelFormat)))
        return QByteArray();
    return data->data(QLatin1String(SourceFormat));
}
