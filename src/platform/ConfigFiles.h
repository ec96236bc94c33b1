#pragma once

#include <QString>

// The settings files beside the executable and the groups inside them. Relative to the working
// directory, which the start-up makes the program folder.
namespace ConfigFiles {

inline QString clientConfig() { return QStringLiteral("data/ClientConfig.dat"); }
inline QString mainConfig() { return QStringLiteral("data/MainConfig.dat"); }
inline QString cardConfig() { return QStringLiteral("data/CardConfig.dat"); }
inline QString userConfig() { return QStringLiteral("data/UserConfig.dat"); }

// Groups of ClientConfig.dat.
inline QString clientInfoGroup() { return QStringLiteral("CLIENT_INFO"); }
inline QString deviceInfoGroup() { return QStringLiteral("DEVICE_INFO"); }
inline QString sceneArray() { return QStringLiteral("SCENE_INFO"); }

// Groups of MainConfig.dat.
inline QString mainWindowGroup() { return QStringLiteral("MainWindow"); }
inline QString skinFileKey() { return QStringLiteral("Skin/FileName"); }

} // namespace ConfigFiles
