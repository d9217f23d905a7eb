#include "StatusIcons.h"

QImage* g_StatusIcons[kStatusIconCount] = {};
