// Library start and end. Subsystems with process-wide state (audio player, monitor session, UPnP mappings)
// add their start and end steps here.
#include "CalvoxSDK.h"
#include "PortMapping.h"

CALVOX_API int CalvoxAPI_Init(void) { return 0; }

CALVOX_API int CalvoxAPI_Exit(void)
{
    // Gives back the gateway ports that remote logins mapped (no discovery when there are none).
    calvox::RemoveAllPortMappings();
    return 0;
}
