// The recorder's status, settings and line-control commands: one request/reply exchange each, under the
// connection's command mutex. Every function returns a Calvox_Result: 4 for an argument rejected before
// sending, 3 without reply, the recorder's status when nonzero, 2 for a reply too short (or announcing more
// than it holds) to read; 0 when the reply was taken into the connection object (or the caller's output).
//
// Replies are held to their fields: counts and lengths from the recorder never make the SDK read past the
// reply or write past a record.
#pragma once

#include "CalvoxSDK.h"

#include <cstdint>

struct Calvox_Device;

namespace calvox {

// Written before and after every settings record of a Set request, so the recorder can tell a whole record.
constexpr uint32_t kSettingMarker = 0x55AAAA55;

// Status.
int GetStorageStatus(Calvox_Device& device);                                     // 5
int GetNetStatus(Calvox_Device& device);                                         // 6
int GetChannelVoltage(Calvox_Device& device, int channel, int* voltage);         // 7
// 8: on a reply for this channel the entry's old line state becomes its last phone state and the entry is
// replaced (*stored true); a reply for another channel changes nothing (result 0, *stored false).
int RefreshChannelStatus(Calvox_Device& device, int channel, bool* stored = nullptr);
int RefreshOnlineUsers(Calvox_Device& device);                                   // 9, entries rewritten in place
int GetCurrentRecordInfo(Calvox_Device& device, int channel, Calvox_CurrentRecordInfo* out);  // 10
int GetTime(Calvox_Device& device);                                              // 11
int SetTime(Calvox_Device& device, const Calvox_DateTime* time);                 // 12
int GetPlayBackFileList(Calvox_Device& device);                                  // 13

// Settings groups that differ only in command codes, size and the checks before sending.
enum class SettingGroup { Base, KeyControl, Net, SMDR, RecordTime, ScheduledRestart };
int GetSetting(Calvox_Device& device, SettingGroup group);
// record: the group's record type. Limits are applied to it in place before it is sent; on success the
// connection's copy becomes the record sent.
int SetSetting(Calvox_Device& device, SettingGroup group, void* record);
int GetChannelSetting(Calvox_Device& device, int channel);                                   // 16
int SetChannelSetting(Calvox_Device& device, int channel, Calvox_ChannelSetting* record);    // 17

// Line control.
int Dial(Calvox_Device& device, int channel, const char* number, uint8_t length);      // 37
int GetSMDR(Calvox_Device& device, unsigned* length, const char** text);               // 38
int Reboot(Calvox_Device& device);                                                      // 39
int PlayAudioFile(Calvox_Device& device, int channel, const char* name);               // 42
int OffHook(Calvox_Device& device, int channel, int value);                             // 45

}  // namespace calvox
