#pragma once

#include <QString>

namespace SystemPing {

// Sends one echo request with the system's ping command and waits for its answer.
// True as soon as the command's output shows an answered echo ("ttl=" in a reply line,
// compared case-insensitively); false when a wait of timeoutMs for more output fails.
// The address must be a dotted IPv4 address: anything else is refused without starting a
// process, and so is an address that the loopback guard refuses.
bool ping(const QString& ip, int timeoutMs);

// The argument list given to the ping command (never through a shell).
QStringList pingArguments(const QString& ip, int timeoutMs);

} // namespace SystemPing
