#pragma once

#include <QMap>

// A user's rights on one side: 0-based port -> permitted. A port without an entry is
// permitted, so a new user with empty maps may use every port.
inline bool isPortAllowed(const QMap<int, bool>& rights, int port)
{
    return rights.value(port, true);
}
