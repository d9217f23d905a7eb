// Library start and end. Subsystems with process-wide state (audio player, monitor session, UPnP mappings)
// add their start and end steps here.
#include "CalvoxSDK.h"

CALVOX_API int CalvoxAPI_Init(void) { return 0; }

CALVOX_API int CalvoxAPI_Exit(void) { return 0; }
