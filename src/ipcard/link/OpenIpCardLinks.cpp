#include "ipcard/link/OpenIpCardLinks.h"

QList<DeviceToHisilicon*> openIpCardLinks;
