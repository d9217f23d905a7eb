// Device list changes and device events reach the window here, on the GUI thread.
#include "MainForm.h"

#include "DevicePopups.h"
#include "DialForm.h"
#include "KesDevice.h"

#include <cstdint>

void MainForm::DeviceListChangedEvent(DeviceManageEvent Event, KesDevice* Device, int DeviceIndex)
{
    Q_UNUSED(Event);
    Q_UNUSED(Device);
    Q_UNUSED(DeviceIndex);
}

void MainForm::DeviceEventDispose(KesDevice* Device, Calvox_EventType Event, unsigned char* Data, int Length)
{
    // The pointer argument carries the channel index, not an address.
    const int channel = static_cast<int>(reinterpret_cast<intptr_t>(Data));
    if (m_Popups)
        m_Popups->DeviceEventDispose(Device, Event, channel, Length);
    if (g_DialForm)
        g_DialForm->DeviceEventDispose(Device, Event, channel, Length);
}
