// Library start and end. Each subsystem with process-wide state has one step here, in this order:
//   Init: open the audio player. POSIX sockets need no library start.
//   Exit: end the monitor session (it feeds the player), remove this process's UPnP port mappings (the
//         gateway is only contacted when something was mapped), reset and close the audio output (which also
//         releases a writer waiting for a buffer).
// A step that fails leaves the others to run: both calls return 0 whatever happened, and nothing may leave
// them as an exception, since C programs call them.
#include "AudioPlayer.h"
#include "CalvoxSDK.h"
#include "MonitorSession.h"
#include "PortMapping.h"

namespace {

template <typename Step>
void RunStep(Step step) noexcept
{
    try {
        step();
    } catch (...) {
    }
}

}  // namespace

CALVOX_API int CalvoxAPI_Init(void)
{
    RunStep([] { calvox::AudioPlayer::Instance().Open(); });
    return 0;
}

CALVOX_API int CalvoxAPI_Exit(void)
{
    RunStep([] { calvox::MonitorSession::Instance().End(); });
    RunStep([] { calvox::RemoveAllPortMappings(); });
    RunStep([] { calvox::AudioPlayer::Instance().Close(); });
    return 0;
}
