#include "KesDeviceAutoLoginThread.h"

#include "KesDevice.h"
#include "LoginChain.h"

bool KesDeviceAutoLoginThread::WaitForEnd(unsigned long ms)
{
    if (!wait(ms))
        return false;
    m_End.Seen();
    return true;
}

void KesDeviceAutoLoginThread::run()
{
    const EndOfRun::AtExit end{m_End};
    LoginStep failed = LoginStep::None;
    if (RunLoginChain(Device, &failed) == 0)
        Device->CreateHeartbeatThread();
}
