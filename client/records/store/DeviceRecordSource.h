#pragma once

#include "store/RecordSearch.h"

#include "CalvoxSDK.h"

// A connected recorder as a search store, through its SDK connection: the newest day and the month's day list
// from the record commands, the index files by block download, the channel's visibility from the logged-in
// user's channel permissions and its name from the channel settings the connection holds.
//
// A download that got no reply (3) or was refused (2) counts as a failed channel; any other status is the
// recorder saying the file is not there, which is normal for a channel that recorded nothing that day.
class DeviceRecordSource : public RecordSearchSource
{
public:
    explicit DeviceRecordSource(Calvox_DeviceHandle handle);

    bool LatestRecordDate(unsigned char* year, unsigned char* month, unsigned char* day) override;
    bool DayList(unsigned char year, unsigned char month, unsigned char days[32]) override;
    bool ChannelVisible(int channel) override;
    QString ChannelName(int channel) override;
    IndexResult ReadIndex(unsigned char year, unsigned char month, unsigned char day, int channel,
                          unsigned char** buffer, int* size) override;

    // Downloads a device file into a new[] buffer of exactly the announced size (the caller frees it; null for
    // an empty file). Returns the SDK's result; a recorder that sends more than it announced gives 2.
    static int DownloadToBuffer(Calvox_DeviceHandle handle, const char* devicePath, unsigned char** buffer,
                                int* size);

private:
    Calvox_DeviceHandle m_handle;
};

// The outside-line digit of a connected recorder (byte 4 of its base settings), 0 when unknown.
char DeviceCircuitOutNum(Calvox_DeviceHandle handle);

// Describes a recorder as a search store over its own record table: its connection, outside-line digit,
// channel count and channel selection. False (store unchanged) when the connection is not online.
bool MakeDeviceRecordStore(Calvox_DeviceHandle handle, ZGridListData* table, int channels,
                           const bool channelFlags[64], RecordSearchStore* store);
