#include "store/DeviceRecordSource.h"

#include "store/RecordPaths.h"

#include <cstring>
#include <memory>

namespace {

constexpr int ChannelNameOffset = 908;  // NUL-terminated name in the channel settings record

}  // namespace

DeviceRecordSource::DeviceRecordSource(Calvox_DeviceHandle handle)
    : m_handle(handle)
{
}

bool DeviceRecordSource::LatestRecordDate(unsigned char* year, unsigned char* month, unsigned char* day)
{
    return CalvoxAPI_GetLatestRecordTime(m_handle, year, month, day) == 0;
}

bool DeviceRecordSource::DayList(unsigned char year, unsigned char month, unsigned char days[32])
{
    return CalvoxAPI_GetDayListFromMonthDir(m_handle, year, month, days) == 0;
}

bool DeviceRecordSource::ChannelVisible(int channel)
{
    return CalvoxAPI_Permission_Channel(m_handle, channel) != 0;
}

QString DeviceRecordSource::ChannelName(int channel)
{
    const Calvox_ChannelSetting* setting = CalvoxAPI_ChannelSetting(m_handle, channel);
    if (!setting)
        return QString();
    const char* name = reinterpret_cast<const char*>(setting->Bytes) + ChannelNameOffset;
    const std::size_t room = sizeof(setting->Bytes) - ChannelNameOffset;
    const void* nul = std::memchr(name, 0, room);
    const std::size_t length = nul ? static_cast<std::size_t>(static_cast<const char*>(nul) - name) : room;
    return QString::fromUtf8(name, static_cast<int>(length));
}

int DeviceRecordSource::DownloadToBuffer(Calvox_DeviceHandle handle, const char* devicePath,
                                         unsigned char** buffer, int* size)
{
    *buffer = nullptr;
    *size = 0;
    std::unique_ptr<unsigned char[]> data;
    int announced = -1;
    int received = 0;
    bool overrun = false;
    // Never more than the announced size is kept: anything beyond it cancels the transfer.
    const Calvox_EventCallback callback = [&](Calvox_EventType event, int, unsigned char* bytes, int length) {
        if (event == Calvox_Event_FileSize) {
            if (length < 0 || announced >= 0) {
                overrun = true;
                return 1;
            }
            announced = length;
            data.reset(length > 0 ? new unsigned char[static_cast<std::size_t>(length)] : nullptr);
        } else if (event == Calvox_Event_FileData) {
            if (announced < 0 || length < 0 || length > announced - received) {
                overrun = true;
                return 1;
            }
            std::memcpy(data.get() + received, bytes, static_cast<std::size_t>(length));
            received += length;
        }
        return 0;
    };
    const int result = CalvoxAPI_DownloadFile(handle, devicePath, &callback);
    if (result != 0)
        return overrun ? 2 : result;
    if (overrun || announced < 0 || received != announced)
        return 2;
    *buffer = data.release();
    *size = received;
    return 0;
}

RecordSearchSource::IndexResult DeviceRecordSource::ReadIndex(unsigned char year, unsigned char month,
                                                              unsigned char day, int channel,
                                                              unsigned char** buffer, int* size)
{
    const QByteArray path = DeviceIndexPath(year, month, day, channel).toLatin1();
    const int result = DownloadToBuffer(m_handle, path.constData(), buffer, size);
    if (result == 0)
        return IndexResult::Read;
    return result == 2 || result == 3 ? IndexResult::Failed : IndexResult::Missing;
}

char DeviceCircuitOutNum(Calvox_DeviceHandle handle)
{
    const Calvox_BaseSetting* setting = CalvoxAPI_BaseSetting(handle);
    return setting ? static_cast<char>(setting->Bytes[4]) : 0;
}

bool MakeDeviceRecordStore(Calvox_DeviceHandle handle, ZGridListData* table, int channels,
                           const bool channelFlags[64], RecordSearchStore* store)
{
    if (!table || CalvoxAPI_ConnectStatus(handle) != Calvox_Connect_Online)
        return false;
    store->Source = std::make_unique<DeviceRecordSource>(handle);
    store->Table = table;
    store->Prefix = DeviceCircuitOutNum(handle);
    store->Channels = channels;
    std::memcpy(store->ChannelFlags, channelFlags, sizeof store->ChannelFlags);
    return true;
}
