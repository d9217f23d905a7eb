#pragma once

// The client's own waits (retry pauses, shutdown bounds) scaled by CALVOX_TIME_SCALE, the factor the SDK applies
// to its time-outs, so that tests of retries and shutdown run fast and the client's waits keep their proportion
// to the SDK's. The factor is read once; a missing, non-positive or unreadable value means 1.
int ScaledWaitMs(int ms);
