#include "ipcard/panel/VideoSourceListWalk.h"

using namespace com::kiv::protobuf;

QString videoSourceText(const std::string& text)
{
    const std::size_t end = text.find('\0');
    return QString::fromUtf8(text.data(), int(end == std::string::npos ? text.size() : end));
}

QByteArray videoSourceBytes(const VideoSource& source)
{
    return QByteArray::fromStdString(source.SerializeAsString());
}

VideoSource videoSourceFromBytes(const QByteArray& bytes, bool* ok)
{
    VideoSource source;
    const bool parsed = source.ParseFromArray(bytes.constData(), bytes.size());
    if (!parsed)
        source.Clear();
    if (ok)
        *ok = parsed;
    return source;
}

void VideoSourceListWalk::run(const VideoSourceGroupManage& list) const
{
    for (const VideoSourceGroup& group : list.videosourcegroups()) {
        const QString name = videoSourceText(group.groupname());
        const bool named = !name.isEmpty();
        if (named && onGroup)
            onGroup(name);
        if (!onSource)
            continue;
        for (const VideoSource& source : group.videosources())
            onSource(source, videoSourceBytes(source), named);
    }
}

void VideoSourceListBuilder::startGroup(const QString& name)
{
    built.add_videosourcegroups()->set_groupname(name.toStdString());
}

void VideoSourceListBuilder::startLooseSource(const QByteArray& sourceBytes)
{
    built.add_videosourcegroups();
    addSource(sourceBytes);
}

void VideoSourceListBuilder::addSource(const QByteArray& sourceBytes)
{
    if (built.videosourcegroups_size() == 0)
        built.add_videosourcegroups();
    VideoSourceGroup* group = built.mutable_videosourcegroups(built.videosourcegroups_size() - 1);
    *group->add_videosources() = videoSourceFromBytes(sourceBytes);
}
