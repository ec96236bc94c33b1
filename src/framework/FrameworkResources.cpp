#include "framework/FrameworkResources.h"

#include <QtGlobal>

// The macro declares a function, so it must be used outside any namespace.
static bool registerBundle()
{
    Q_INIT_RESOURCE(vexilo);
    return true;
}

void ensureFrameworkResources()
{
    static const bool registered = registerBundle();
    Q_UNUSED(registered);
}
