#pragma once

#include <QVariantHash>

struct AVDictionary;

namespace Media {

// Builds the option dictionary that avformat_open_input takes from a hash of names to values.
// Integers are written in decimal, doubles without a needless fraction ("3110400"), booleans as
// 1/0, everything else as text. The caller owns the result (av_dict_free).
AVDictionary* toAVDictionary(const QVariantHash& options);

} // namespace Media
