#pragma once

#include <QString>

// Process-wide safety net for tests, benchmarks and demos: when the environment variable
// VEXILO_LOOPBACK_ONLY is "1", every connect, ping and stream open asks mayDial() first and
// gives up as a failed connection would when the answer is false. Without the variable the
// guard lets everything through (operators run the console on real networks).
namespace LoopbackGuard {

// True when the guard is active (read once from the environment; tests may override).
bool isActive();

// Overrides the environment for the rest of the process (tests only).
void setActiveForTesting(bool active);

// Tests only: refuse this one loopback host too, so that a test can show a path is guarded
// without anything dialling outside loopback. An empty host clears it.
void refuseAlsoForTesting(const QString& host);

// True when host is a loopback address (127.0.0.0/8, ::1) or a name that resolves to one
// without asking the network: a name whose /etc/hosts entries are all loopback ("localhost").
bool isLoopbackHost(const QString& host);

// True when host may be dialled. A refusal writes a critical log line naming the host and
// what wanted it ("matrix link", "ping", ...). Never sends a packet.
bool mayDial(const QString& host, const char* purpose);

} // namespace LoopbackGuard
