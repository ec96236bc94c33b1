#pragma once

// Names of video-source groups and sources: trimmed, not empty, at most 21 bytes of UTF-8
// (seven Chinese characters fit).

#include <QString>

namespace VideoSourceNameRule {

constexpr int MaxBytes = 21;

enum class Verdict { Ok, Empty, TooLong };

Verdict check(const QString& name);

} // namespace VideoSourceNameRule
