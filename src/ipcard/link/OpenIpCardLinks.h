#pragma once

#include <QList>

class DeviceToHisilicon;

// The IP card links that are logged in (not owning). The configuration panel appends its link
// after a successful login; a link removes itself when it closes or is destroyed. GUI thread only.
extern QList<DeviceToHisilicon*> openIpCardLinks;
