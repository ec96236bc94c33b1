#include "media/AVError.h"

extern "C" {
#include <libavutil/error.h>
}

namespace Media {

AVError::AVError(ErrorCode code, int ffmpegCode, const QString& detail)
    : code(code), ffmpegCode(ffmpegCode), detail(detail)
{
}

QString AVError::string() const
{
    static const char* const names[] = {
        "no error", "open error", "open timed out", "stream parse error", "no video stream",
        "no video decoder", "decoder open error", "read error", "read timed out"};
    QString text = QString::fromLatin1(names[code]);
    if (ffmpegCode != 0) {
        char buf[AV_ERROR_MAX_STRING_SIZE] = {};
        av_strerror(ffmpegCode, buf, sizeof buf);
        text += QStringLiteral(": ") + QString::fromLocal8Bit(buf);
    }
    if (!detail.isEmpty())
        text += QStringLiteral(" (") + detail + QLatin1Char(')');
    return text;
}

} // namespace Media
