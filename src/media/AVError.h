#pragma once

#include <QMetaType>
#include <QString>

namespace Media {

// A player failure: our own code, the library's error number when one caused it, and a text.
class AVError
{
public:
    enum ErrorCode {
        NoError = 0,
        OpenError,          // the stream could not be opened (refused, unreachable, bad URL)
        OpenTimedout,       // opening took longer than the interrupt time-out
        ParseStreamError,   // the stream's contents could not be read
        StreamNotFound,     // no video in the stream
        VideoCodecNotFound, // no usable decoder in the priority list
        OpenCodecError,
        ReadError,
        ReadTimedout
    };

    AVError() = default;
    AVError(ErrorCode code, int ffmpegCode = 0, const QString& detail = QString());

    ErrorCode error() const { return code; }
    int ffmpegErrorCode() const { return ffmpegCode; }
    // A readable text: what failed, and the library's reason when there is one.
    QString string() const;

private:
    ErrorCode code = NoError;
    int ffmpegCode = 0;
    QString detail;
};

} // namespace Media

Q_DECLARE_METATYPE(Media::AVError)
