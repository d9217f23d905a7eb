#include "TimeScale.h"

#include <atomic>
#include <cmath>
#include <cstdlib>

namespace calvox {
namespace {

double ReadEnvironment()
{
    const char* text = std::getenv("CALVOX_TIME_SCALE");
    if (!text || !*text)
        return 1.0;
    char* end = nullptr;
    double value = std::strtod(text, &end);
    if (end == text || !std::isfinite(value) || value <= 0)
        return 1.0;
    return value;
}

std::atomic<double>& Factor()
{
    static std::atomic<double> factor{ReadEnvironment()};
    return factor;
}

}  // namespace

double TimeScale() { return Factor().load(std::memory_order_relaxed); }

void SetTimeScale(double factor)
{
    if (factor > 0 && std::isfinite(factor))
        Factor().store(factor, std::memory_order_relaxed);
}

int ScaledMs(int ms)
{
    if (ms <= 0)
        return ms;
    double scaled = ms * TimeScale();
    if (scaled < 1)
        return 1;
    if (scaled > 1e9)
        return 1000000000;
    return static_cast<int>(scaled);
}

}  // namespace calvox
