// Live audio of an emulated recorder: after command 36 names a channel, one datagram every 128 ms to the
// client that asked ("KW", origin 1, command 255; payload: sequence number, three zero bytes, 1024 A-law bytes)
// until command 36 with channel 255 (or another channel, or the recorder's end). The audio bytes carry a
// recognisable pattern: the first is the channel, the other 1023 the packet's sequence number.
//
// Knobs make the stream misbehave on purpose, packet by packet, so tests are deterministic.
#pragma once

#include "Emulator.h"

#include <cstdint>
#include <vector>

namespace calvox::emu {

constexpr uint8_t kCmdMonitorEmu = 36;
constexpr uint8_t kCmdLiveAudioEmu = 255;
constexpr int kLiveAudioBytes = 1024;

struct LiveAudioKnobs {
    int intervalMs = 128;
    uint8_t firstSequence = 0;
    // "Every Nth" counts packets from 1; 0 turns a knob off.
    int dropEvery = 0;       // the packet is never sent (a gap)
    int duplicateEvery = 0;  // the packet goes out twice
    int swapEvery = 0;       // the packet goes out right after the one that follows it
    int lateEvery = 0;       // the packet is held back and goes out lateBy packets later (too late to play)
    int lateBy = 10;
    int shortEvery = 0;      // the packet is cut to shortLength bytes
    int shortLength = 6 + 4 + 100;
};

// Knobs for the next stream this recorder starts.
void SetLiveAudioKnobs(Recorder& recorder, const LiveAudioKnobs& knobs);

struct LiveAudioStatus {
    bool streaming = false;
    uint8_t channel = 255;
    uint64_t packetsSent = 0;  // datagrams that left, duplicates and short ones included
};
LiveAudioStatus GetLiveAudioStatus(Recorder& recorder);

// The audio byte i (0..1023) of the packet with that sequence number on that channel.
inline uint8_t LiveAudioByte(uint8_t sequence, uint8_t channel, int i) { return i == 0 ? channel : sequence; }
// A whole audio datagram as the recorder sends it.
std::vector<uint8_t> LiveAudioDatagram(uint8_t sequence, uint8_t channel);

}  // namespace calvox::emu
