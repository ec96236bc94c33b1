#pragma once

#include "platform/ConfigFiles.h"

#include <QString>

// data/ClientConfig.dat: the last user, the connection settings and what the login learnt of the
// device. Relative to the working directory (the program folder); every reader opens it afresh.
namespace ClientConfig {

inline QString path() { return ConfigFiles::clientConfig(); }

inline const QString DefaultUser = QStringLiteral("Admin");
inline const QString DefaultPassword = QStringLiteral("740261");
inline const QString DefaultAddress = QStringLiteral("192.168.0.178");
inline const QString DefaultSerialPort = QStringLiteral("COM1");
constexpr int DefaultTcpPort = 4001;

} // namespace ClientConfig
