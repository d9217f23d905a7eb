// Checks and limits that a settings record passes before it is sent. The limits change the caller's record in
// place, so the caller sees what was sent; a check that fails rejects the whole record (result 4, nothing sent).
#pragma once

#include "CalvoxSDK.h"

namespace calvox {

// Outside-line digit [4] must be 0, '#', '*' or '0'..'9' (else false). Then: ring interval [2] at most 25,
// reserved space [7] at most 30 percent, hot-key lengths [10] and [11] at most 10.
bool CheckBaseSetting(Calvox_BaseSetting& record);

// Rings before auto-answer [902] from 1 to 10, message time [903] at most 200 seconds.
void LimitChannelSetting(Calvox_ChannelSetting& record);

// Every key length (byte 1 of each of the ten entries, and [400]) at most 10, else false.
bool CheckKeyControlSetting(const Calvox_KeyControlSetting& record);

// An hour [1] above 23 or a minute [2] of 60 or more becomes 0.
void LimitScheduledRestartSetting(Calvox_ScheduledRestartSetting& record);

}  // namespace calvox
