#include "ipcard/panel/StreamUrlTemplates.h"

#include "VideoSourceProto.pb.h"

using com::kiv::protobuf::VideoSource;

bool StreamUrlInputs::operator==(const StreamUrlInputs& other) const
{
    return type == other.type && address == other.address && channel == other.channel && user == other.user
           && password == other.password && mediaPort == other.mediaPort;
}

namespace {

struct Templates
{
    int type;
    const char* main;
    const char* sub;
};

const Templates kTemplates[] = {
    {VideoSource::RTSP, "rtsp://%3:%4@%1:%5/h264/ch%2/main/av_stream", "rtsp://%3:%4@%1:%5/h264/ch%2/sub/av_stream"},
    {VideoSource::DAHUA, "rtsp://%3:%4@%1:%5/cam/realmonitor?channel=%2&subtype=0",
     "rtsp://%3:%4@%1:%5/cam/realmonitor?channel=%2&subtype=1"},
    {VideoSource::HUAWEI, "rtsp://%3:%4@%1:%5/LiveMedia/ch%2/Media1", "rtsp://%3:%4@%1:%5/LiveMedia/ch%2/Media2"},
    {VideoSource::XIONGMAI, "rtsp://%1:%5/user=%3&password=%4&channel=%2&stream=0.sdp?real_stream",
     "rtsp://%1:%5/user=%3&password=%4&channel=%2&stream=1.sdp?real_stream"},
    {VideoSource::SUNELL, "rtsp://%3:%4@%1:%5/snl/live/%2/1", "rtsp://%3:%4@%1:%5/snl/live/%2/2"},
    {VideoSource::TOPSEE, "rtsp://%3:%4@%1:%5/mpeg4", "rtsp://%3:%4@%1:%5/mpeg4cif"},
    {VideoSource::SAMSUNG, "rtsp://%3:%4@%1:%5/profile2/media.smp", nullptr},
    {VideoSource::SONY, "rtsp://%3:%4@%1:%5/media/video1", "rtsp://%3:%4@%1:%5/media/video2"},
};

const Templates* templatesOf(int type)
{
    for (const Templates& t : kTemplates) {
        if (t.type == type)
            return &t;
    }
    return nullptr;
}

} // namespace

QString StreamUrlTemplates::mainTemplate(int type)
{
    const Templates* t = templatesOf(type);
    return t && t->main ? QString::fromLatin1(t->main) : QString();
}

QString StreamUrlTemplates::subTemplate(int type)
{
    const Templates* t = templatesOf(type);
    return t && t->sub ? QString::fromLatin1(t->sub) : QString();
}

QString StreamUrlTemplates::fill(const QString& pattern, const StreamUrlInputs& inputs)
{
    const QString values[5] = {inputs.address, QString::number(inputs.channel), inputs.user, inputs.password,
                               QString::number(inputs.mediaPort)};
    QString text;
    text.reserve(pattern.size() + 64);
    for (int i = 0; i < pattern.size(); ++i) {
        const QChar c = pattern.at(i);
        if (c == QLatin1Char('%') && i + 1 < pattern.size()) {
            const int number = pattern.at(i + 1).unicode() - '0';
            if (number >= 1 && number <= 5) {
                text += values[number - 1];
                ++i;
                continue;
            }
        }
        text += c;
    }
    return text;
}
