#pragma once

#include <QString>

// QSettings guards every write of a settings file with "<file>.lock" (QLockFile), which names its
// owner (process, application, host) right after creating it. A lock file that names no owner was
// left by a writer that died in between (a kill, a power cut): nobody holds it, yet QLockFile
// takes it for held until it is 30 s old, and the next write would wait that long. Such a lock file
// is removed; one that names an owner is left to QLockFile, which knows when its owner is gone.
// True when a lock file was removed.
bool removeOwnerlessSettingsLock(const QString& settingsPath);
