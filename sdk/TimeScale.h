// Test hook: scales every time-out and retry wait of the SDK, so that tests of the retry logic run fast.
// The factor is read once from the environment variable CALVOX_TIME_SCALE (for example 0.01); programs that
// load the shared library set it before the first SDK call. White-box tests may also call SetTimeScale.
#pragma once

namespace calvox {

double TimeScale();
void SetTimeScale(double factor);  // factor > 0; 1 restores the real constants
// A time in milliseconds after scaling; never below 1 ms when ms > 0.
int ScaledMs(int ms);

}  // namespace calvox
