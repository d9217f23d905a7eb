#pragma once

// The client's own waits (the backup's pause between tries of a file, ...) scaled like the SDK's time-outs:
// by the factor in CALVOX_TIME_SCALE, read once, under the same rule as the SDK (sdk/TimeScale.cpp), so that
// tests which shorten the SDK's waits shorten these alike. Never below 1 ms when ms > 0.
int ScaledWaitMs(int ms);
