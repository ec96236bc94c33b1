#pragma once

// The video-source tab's tree ("VideoSourceTree"): groups at top level with their sources below,
// sources of unnamed groups at top level, each source item holding its serialisation. Keeps the
// channel numbers in use so that a new source can be given the next one.

#include "VideoSourceProto.pb.h"

#include <QList>

class QTreeWidget;
class QTreeWidgetItem;

class VideoSourceTree
{
public:
    enum Column { Name, DeviceType, Address, User, Channel, MediaPort, SaveState, ColumnCount };

    // Sets up the tree's look; the header texts are set by retranslate().
    explicit VideoSourceTree(QTreeWidget* tree);
    void retranslate();

    // Replaces the tree and the channels in use with the list's content, column 6 included.
    void fill(const com::kiv::protobuf::VideoSourceGroupManage& list);
    // The tree as a list, from the items' stored bytes (never the column texts).
    com::kiv::protobuf::VideoSourceGroupManage build() const;

    // A group at top level, made current.
    QTreeWidgetItem* addGroup(const QString& name);
    // A source placed by the current item: into a current group, beside a current source (into
    // its group, or at top level), at top level without a current item. Made current; its
    // channel joins the channels in use.
    QTreeWidgetItem* addSource(const com::kiv::protobuf::VideoSource& source);
    // Columns 0-5 and the bytes from source; column 6 and the channels in use stay.
    void replaceSource(QTreeWidgetItem* item, const com::kiv::protobuf::VideoSource& source);
    // Deletes the current item with its children; the channel of a source item (0 for a group)
    // loses its first entry in the channels in use. False when there is no current item.
    bool removeCurrent();
    void clear();

    static bool isSource(const QTreeWidgetItem* item);
    static com::kiv::protobuf::VideoSource sourceOf(const QTreeWidgetItem* item);

    QList<int> usedChannels() const { return channels; }
    // The channel for a new source, from 0 to highest: 1 when no channel is in use, else the
    // largest in use + 1; past highest, the lowest from 1 that is not in use (highest when all
    // are).
    int nextChannel(int highest) const;

    QTreeWidget* widget() const { return tree; }

private:
    QTreeWidgetItem* newSourceItem(const com::kiv::protobuf::VideoSource& source, bool withSaveState) const;
    static void setSourceColumns(QTreeWidgetItem* item, const com::kiv::protobuf::VideoSource& source);

    QTreeWidget* tree;
    QList<int> channels;
};
