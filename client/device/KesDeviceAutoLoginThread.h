#pragma once

#include "EndOfRun.h"

#include <QThread>

#include <climits>

class KesDevice;

// Logs a registered recorder in without the user's help when the program starts, off the GUI thread: login,
// one read of every status and settings group (so the SDK's records and the device's tables are filled before
// a page opens), the update server's newest firmware, then the heartbeat. A failing step up to the user list
// ends the run silently, without a heartbeat. Made by KesDevice::Create, started at most once by the device
// list, owned by the device, whose destructor waits for the run to end.
class KesDeviceAutoLoginThread : public QThread
{
    Q_OBJECT

public:
    KesDeviceAutoLoginThread() = default;

    KesDevice* Device = nullptr;

    // Waits up to ms for the run to end (at once when none runs); true when it has. What the run wrote to the
    // device is then ordered before the caller's next step in a way the thread sanitizer sees as well.
    bool WaitForEnd(unsigned long ms = ULONG_MAX);

protected:
    void run() override;

private:
    EndOfRun m_End;
};
