#pragma once

#include <QLatin1String>
#include <QString>

namespace MatrixReply {

// The matrix says a command failed with "error" or "fail" in its answer, in any letter case.
inline bool reportsFailure(const QString& text)
{
    return text.contains(QLatin1String("error"), Qt::CaseInsensitive)
           || text.contains(QLatin1String("fail"), Qt::CaseInsensitive);
}

} // namespace MatrixReply
