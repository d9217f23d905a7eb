#include "ScaledWait.h"

#include "TimeScale.h"  // the SDK's rule, compiled into this library too (CMakeLists.txt)

int ScaledWaitMs(int ms)
{
    return calvox::ScaledMs(ms);
}
