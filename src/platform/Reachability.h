#pragma once

#include <QString>

// Is a device there? Both ask the loopback guard first; a refused host gives false at once.

// True when the system ping command sees an answered echo from ip within timeoutMs.
bool ping(const QString& ip, int timeoutMs);

// True when a TCP connection to host:port is established within timeoutMs.
bool checkTcpConnect(const QString& host, quint16 port, int timeoutMs);
