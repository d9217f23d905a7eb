// The request exchanges with retries that every command is built on. None of them takes a lock: callers of
// the general matcher hold the connection's commandMutex; the heartbeat, audio and transfer matchers have one
// consumer at a time by construction.
//
// Buffers are kDatagramSize bytes. The caller puts the command at offset 3 and the payload from offset 6; the
// exchange fills in the rest of the header.
#pragma once

#include "CalvoxSDK.h"
#include "Datagram.h"
#include "platform/Socket.h"

#include <cstdint>

struct Calvox_Device;

namespace calvox {

class ReplyMatcher;

constexpr int kRequestTries = 5;
constexpr int kBlockTries = 10;
constexpr int kBlockPacketSize = 14;

// Sends the request (6 + payloadLength bytes) to the device up to 5 times; after each send takes datagrams
// from the matcher until the matcher's time-out, counted from that send, has passed (datagrams that are not
// the reply do not extend it). The first with "KW", origin 1 and the request's command is the reply: copied into reply (kDatagramSize bytes), its length returned. After five tries: reply's status byte 3,
// result -1. The matcher is cleared before the first send, so a late reply to an earlier request is never
// taken for this one.
int SendRequest(Calvox_Device& device, ReplyMatcher& matcher, uint8_t* request, int payloadLength, uint8_t* reply);

// Download block: packet is 14 bytes (command and payload bytes 6-9 set by the caller); the block index goes to
// offset 10. Up to 10 tries on the download matcher; the reply is the first datagram whose u32 at offset 6 is
// the index, or one with a whole header but too short to carry an index (the caller judges it by its status
// and length). After 10 tries: status byte 3, result -1.
int SendBlockRequest(Calvox_Device& device, uint8_t* packet, uint8_t* reply, uint32_t blockIndex);

// Cloud relay request to the configured cloud server (UDP 3478), general matcher, 5 tries; a datagram with
// "KW", origin 2 and the command replaces the request buffer. -1 with status 3 after five tries, or at once
// when no cloud server is configured.
int SendCloudRequest(Calvox_Device& device, uint8_t* request, int payloadLength);

// The cloud server's address: CALVOX_CLOUD_SERVER ("host" or "host:port") when set, else the build's default
// (Config.h), resolved on first use; 0 while the name does not resolve. SetCloudServer replaces it for the
// rest of the process (tests point it at a relay on 127.0.0.1).
net::Address CloudServer();
void SetCloudServer(const net::Address& address);

// One command on the general matcher (caller holds commandMutex). buffer holds the request (command at offset
// 3, payload from 6). Returns the Calvox_Result:
//  - no reply: 3 (also in buffer's status byte);
//  - a nonzero status: that status, copied into buffer's status byte only;
//  - status 0: the whole reply replaces buffer, *replyLength (when given) is its length, and the result is 0 -
//    unless the reply carries fewer than minReplyPayload payload bytes, then 2 and buffer is left as sent.
int RunCommand(Calvox_Device& device, uint8_t* buffer, int payloadLength, int minReplyPayload = 0,
               int* replyLength = nullptr);

// Advances a transfer or delete sequence byte: 0 -> 1, ..., 254 -> 255, 255 -> 1 (never 0 again).
inline uint8_t NextSequence(uint8_t s) { return s == 255 ? 1 : static_cast<uint8_t>(s + 1); }

}  // namespace calvox
