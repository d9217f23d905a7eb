#include "ClientTimeScale.h"

#include <cmath>
#include <cstdlib>

namespace {

double Factor()
{
    static const double factor = [] {
        const char* text = std::getenv("CALVOX_TIME_SCALE");
        const double value = text != nullptr ? std::atof(text) : 1.0;
        return value > 0 && std::isfinite(value) ? value : 1.0;
    }();
    return factor;
}

}  // namespace

int ScaledWaitMs(int ms)
{
    if (ms <= 0)
        return ms;
    const double scaled = ms * Factor();
    if (scaled < 1)
        return 1;
    return scaled > 1e9 ? 1000000000 : static_cast<int>(scaled);
}
