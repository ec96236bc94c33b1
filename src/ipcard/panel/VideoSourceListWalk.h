#pragma once

// A card's video-source list (one VideoSourceGroupManage) seen as the two-level tree the console
// shows it in: named groups at top level with their sources below, and the sources of an unnamed
// group standing at top level themselves. No widgets here: the trees that show the list build
// their items from the walk and hand their items back to the builder.

#include "VideoSourceProto.pb.h"

#include <QByteArray>
#include <QString>

#include <functional>

// Item data of a source tree, column 0.
namespace VideoSourceItem {
constexpr int KindRole = 256;    // Qt::UserRole: GroupKind or SourceKind
constexpr int BytesRole = 257;   // Qt::UserRole + 1: the source's serialisation, the item's content
constexpr int GroupKind = 0;
constexpr int SourceKind = 1;
} // namespace VideoSourceItem

// A name field as text: UTF-8 up to its first NUL byte.
QString videoSourceText(const std::string& text);

// The serialisation a source item holds.
QByteArray videoSourceBytes(const com::kiv::protobuf::VideoSource& source);
// Parses an item's bytes; an empty or unreadable text gives a source with every field at its
// default (false in *ok).
com::kiv::protobuf::VideoSource videoSourceFromBytes(const QByteArray& bytes, bool* ok = nullptr);

// Visits the list in tree order: for a group with a name, onGroup and then its sources with
// inGroup true; for a group without a name only its sources, with inGroup false.
struct VideoSourceListWalk
{
    std::function<void(const QString& groupName)> onGroup;
    std::function<void(const com::kiv::protobuf::VideoSource& source, const QByteArray& bytes, bool inGroup)>
        onSource;

    void run(const com::kiv::protobuf::VideoSourceGroupManage& list) const;
};

// Builds a list back from a tree, top-level item by top-level item: a group item starts a named
// group, a top-level source starts an unnamed group holding it, and each child is added to the
// group started last.
class VideoSourceListBuilder
{
public:
    void startGroup(const QString& name);
    void startLooseSource(const QByteArray& sourceBytes);
    void addSource(const QByteArray& sourceBytes);

    const com::kiv::protobuf::VideoSourceGroupManage& list() const { return built; }

private:
    com::kiv::protobuf::VideoSourceGroupManage built;
};
