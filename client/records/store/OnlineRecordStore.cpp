// Lets the record search reach a connected recorder of DeviceManage's list by its name. The search runs on the
// wait panel's thread while the GUI may remove the device, so the store holds the device for as long as the
// search uses it.
#include "store/OnlineRecordStore.h"

#include "DeviceManage.h"
#include "KesDevice.h"
#include "store/DeviceRecordSource.h"
#include "store/RecordSearch.h"

#include <memory>
#include <utility>

namespace {

// The recorder's own source, with a hold on its device: the device (its connection and record table) lives
// until the search drops the store.
class HeldDeviceRecordSource : public RecordSearchSource
{
public:
    HeldDeviceRecordSource(DeviceHold hold, std::unique_ptr<RecordSearchSource> source)
        : m_Hold(std::move(hold)), m_Source(std::move(source))
    {
    }

    bool LatestRecordDate(unsigned char* year, unsigned char* month, unsigned char* day) override
    {
        return m_Source->LatestRecordDate(year, month, day);
    }
    bool DayList(unsigned char year, unsigned char month, unsigned char days[32]) override
    {
        return m_Source->DayList(year, month, days);
    }
    bool ChannelVisible(int channel) override { return m_Source->ChannelVisible(channel); }
    QString ChannelName(int channel) override { return m_Source->ChannelName(channel); }
    IndexResult ReadIndex(unsigned char year, unsigned char month, unsigned char day, int channel,
                          unsigned char** buffer, int* size) override
    {
        return m_Source->ReadIndex(year, month, day, channel, buffer, size);
    }

private:
    DeviceHold m_Hold;  // declared first: released after the source that uses the device's connection
    std::unique_ptr<RecordSearchSource> m_Source;
};

}  // namespace

bool FindDeviceListRecordStore(const QString& name, RecordSearchStore* store)
{
    DeviceHold hold = DeviceManage::HoldDevice(name);
    if (!hold)
        return false;
    KesDevice* device = hold.Device();
    if (!MakeDeviceRecordStore(device->Handle, device->RecordData, device->Channels, device->ChannelFlags, store))
        return false;
    store->Source = std::make_unique<HeldDeviceRecordSource>(std::move(hold), std::move(store->Source));
    return true;
}
