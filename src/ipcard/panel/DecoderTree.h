#pragma once

// The decoder page's tree of the card's video sources, one column: group items at top level,
// source items below them (or at top level for a group without a name). Only source items
// can be dragged; a pane of the video wall takes them.

#include "VideoSourceProto.pb.h"

#include <QByteArray>
#include <QTreeWidget>

class QDropEvent;
class QMimeData;

class DecoderTree : public QTreeWidget
{
    Q_OBJECT
public:
    explicit DecoderTree(QWidget* parent = nullptr);

    // Replaces every item by the groups and sources of list; the last item added is current.
    void fill(const com::kiv::protobuf::VideoSourceGroupManage& list);

    // The serialised source of the current item; empty for a group item or no item.
    QByteArray currentSource() const;

    // The serialised source a drag or drop carries: a source item of a DecoderTree in the item
    // model's format. Empty for anything else (a group item, a port from another list).
    static QByteArray sourceOfDrag(const QDropEvent* event);

protected:
    // The item model's drag data plus, for a source item, its source in a format of our own:
    // only a drag from this tree carries it.
    QMimeData* mimeData(const QList<QTreeWidgetItem*> items) const override;
};
