#include "OpenIpCardLinks.h"

QList<DeviceToHisilicon*> openIpCardLinks;
