#pragma once

namespace Media {

enum LogLevel { LogOff = 0, LogWarning = 1, LogAll = 2 };

// Sets how much the decoding libraries write to stderr (process-wide).
void setLogLevel(LogLevel level);

} // namespace Media
