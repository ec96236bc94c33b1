#include "media/MediaLog.h"

extern "C" {
#include <libavutil/log.h>
}

namespace Media {

void setLogLevel(LogLevel level)
{
    switch (level) {
    case LogOff: av_log_set_level(AV_LOG_QUIET); break;
    case LogWarning: av_log_set_level(AV_LOG_WARNING); break;
    case LogAll: av_log_set_level(AV_LOG_DEBUG); break;
    }
}

} // namespace Media
