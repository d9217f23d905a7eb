// Library start and end. Subsystems with process-wide state (audio player, monitor session, UPnP mappings)
// add their start and end steps here.
#include "AudioPlayer.h"
#include "CalvoxSDK.h"
#include "MonitorSession.h"
#include "PortMapping.h"

CALVOX_API int CalvoxAPI_Init(void)
{
    calvox::AudioPlayer::Instance().Open();
    return 0;
}

CALVOX_API int CalvoxAPI_Exit(void)
{
    calvox::MonitorSession::Instance().End();
    // Gives back the gateway ports that remote logins mapped (no discovery when there are none).
    calvox::RemoveAllPortMappings();
    calvox::AudioPlayer::Instance().Close();  // also releases a writer waiting for a buffer
    return 0;
}
