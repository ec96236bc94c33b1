#include "AvPlayerControl.h"

AvPlayerControl* AvPlayerControl::instance()
{
    return ProcessSingleton<AvPlayerControl>::instance();
}

void AvPlayerControl::startPreview()
{
}
