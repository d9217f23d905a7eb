// What an emulated recorder reports through the heartbeat (command 4), and how tests script it: line states,
// calls with ticking talk time, hang-ups that finish a record, playback, storage, the cloud link, online users,
// the monitored channel (set by command 36), and a recorder that goes silent for a while.
//
// Per recorder through Recorder::State<HeartbeatState>(); the scripting functions below take
// Recorder::StateMutex() themselves, so tests call them from any thread.
#pragma once

#include "Emulator.h"

#include <array>
#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

namespace calvox::emu {

constexpr int kHeartbeatMaxChannels = 64;
constexpr uint8_t kNoChannel = 255;

// Line states as the recorder reports them.
enum LineState : uint8_t { kLineLost = 0, kLineOnHook = 1, kLineOffHook = 2, kLineRing = 3, kLineInComing = 4,
                           kLineOutComing = 5, kLineAutoReply = 6 };

struct HeartbeatState {
    struct Channel {
        uint16_t talkTime = 0;  // seconds; while talking it grows with the clock from talkStart
        bool talking = false;
        std::chrono::steady_clock::time_point talkStart{};
        uint16_t recordCounter = 0;
    };
    uint8_t cloudFlag = 0;
    uint8_t onlineUserCounter = 0;
    uint8_t monitoredChannel = kNoChannel;
    std::array<Channel, kHeartbeatMaxChannels> channels{};
    // The next N heartbeat replies are cut after the four device bytes (too short for the channels).
    int shortReplies = 0;
};

// The 4 + 6N byte summary of command 4 for the recorder's current state.
std::vector<uint8_t> HeartbeatSummary(Recorder& recorder);

// Scripting. Channels outside the recorder's range are ignored.
void SetLine(Recorder& recorder, int channel, uint8_t state, const std::string& number = {}, uint8_t rings = 0);
// A call is answered: the line goes off hook and the talk time starts ticking from 0.
void StartTalking(Recorder& recorder, int channel, const std::string& number = {});
void SetTalkTime(Recorder& recorder, int channel, uint16_t seconds);  // stops the ticking
// The call ends: on hook, talk time 0, the record counter advances and the channel's current record (command
// 10) describes the new record (today's date, index = counter, the record type and the number).
void HangUp(Recorder& recorder, int channel, uint8_t recordType = 0);
void SetRecordCounter(Recorder& recorder, int channel, uint16_t counter);
void SetPlayback(Recorder& recorder, int channel, uint8_t state);
void SetStorageState(Recorder& recorder, uint32_t state);
void SetCloudFlag(Recorder& recorder, uint8_t flag);
// Another user logged in or out somewhere: the online-user counter advances.
void BumpOnlineUsers(Recorder& recorder);
void SetMonitoredChannel(Recorder& recorder, uint8_t channel);
void SetShortHeartbeatReplies(Recorder& recorder, int count);

// The recorder answers nothing at all (no command, no login) for the given time; 0 ends the silence at once.
void GoSilent(Recorder& recorder, int milliseconds);
bool IsSilent(Recorder& recorder);

// The status records (DeviceRecords) that commands 5, 8 and 10 serve and the heartbeat summary reflects (the
// line state and playback byte of the channel status; the storage state). Callers hold Recorder::StateMutex().
std::array<uint8_t, 24>& ChannelStatusRecord(Recorder& recorder, int channel);
std::array<uint8_t, 30>& CurrentRecordRecord(Recorder& recorder, int channel);
uint32_t& StorageStateField(Recorder& recorder);

}  // namespace calvox::emu
