#include "media/FormatOptions.h"

extern "C" {
#include <libavutil/dict.h>
}

#include <cmath>

namespace Media {

namespace {

QByteArray valueText(const QVariant& value)
{
    switch (static_cast<QMetaType::Type>(value.userType())) {
    case QMetaType::Bool:
        return value.toBool() ? "1" : "0";
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
        return value.toString().toLatin1();
    case QMetaType::Double:
    case QMetaType::Float: {
        const double d = value.toDouble();
        // The library reads integer options from "3110400" but refuses "3.1104e+06".
        if (std::isfinite(d) && d == std::floor(d) && std::fabs(d) < 9.0e15)
            return QByteArray::number(static_cast<qlonglong>(d));
        return QByteArray::number(d, 'g', 17);
    }
    default:
        return value.toString().toUtf8();
    }
}

} // namespace

AVDictionary* toAVDictionary(const QVariantHash& options)
{
    AVDictionary* dict = nullptr;
    for (auto it = options.cbegin(); it != options.cend(); ++it) {
        if (it.key().isEmpty())
            continue;
        av_dict_set(&dict, it.key().toUtf8().constData(), valueText(it.value()).constData(), 0);
    }
    return dict;
}

} // namespace Media
