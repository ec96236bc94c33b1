#include "framework/ScreenMetrics.h"

int screenWidth = 0;
int screenHeight = 0;
