#pragma once

#include <QThread>

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

protected:
    void run() override;
};
