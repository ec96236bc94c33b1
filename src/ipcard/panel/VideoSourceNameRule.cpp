#include "ipcard/panel/VideoSourceNameRule.h"

VideoSourceNameRule::Verdict VideoSourceNameRule::check(const QString& name)
{
    const QString trimmed = name.trimmed();
    if (trimmed.isEmpty())
        return Verdict::Empty;
    if (trimmed.toUtf8().size() > MaxBytes)
        return Verdict::TooLong;
    return Verdict::Ok;
}
