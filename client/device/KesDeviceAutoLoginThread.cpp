#include "KesDeviceAutoLoginThread.h"

#include "KesDevice.h"
#include "LoginChain.h"

void KesDeviceAutoLoginThread::run()
{
    LoginStep failed = LoginStep::None;
    if (RunLoginChain(Device, &failed) == 0)
        Device->CreateHeartbeatThread();
}
