// The recorder datagram: a 6-byte header ("KW", origin, command, status, reserved) and a command payload.
// All multi-byte protocol integers are little-endian; IPv4 addresses travel in network order.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace calvox {

constexpr int kHeaderSize = 6;
constexpr int kDatagramSize = 4006;  // header included: receive buffer and matcher slot size
constexpr int kMaxPayload = kDatagramSize - kHeaderSize;
constexpr uint16_t kDevicePort = 6066;
constexpr uint16_t kCloudPort = 3478;

enum Origin : uint8_t { kOriginClient = 0, kOriginRecorder = 1, kOriginCloud = 2 };

// Header offsets.
constexpr int kOffMagic = 0;
constexpr int kOffOrigin = 2;
constexpr int kOffCommand = 3;
constexpr int kOffStatus = 4;
constexpr int kOffReserved = 5;

// Command codes that the channel layer itself knows.
enum Command : uint8_t {
    kCmdHeartbeat = 4,
    kCmdUpload = 28,
    kCmdDownload = 29,
    kCmdLiveAudio = 255,
};

inline void WriteHeader(uint8_t* p, uint8_t origin, uint8_t command, uint8_t status = 0)
{
    p[0] = 'K';
    p[1] = 'W';
    p[kOffOrigin] = origin;
    p[kOffCommand] = command;
    p[kOffStatus] = status;
    p[kOffReserved] = 0;
}

// True when the datagram holds a whole header with the magic, the origin and the command given.
inline bool IsReply(const uint8_t* p, int length, uint8_t origin, uint8_t command)
{
    return length >= kHeaderSize && p[0] == 'K' && p[1] == 'W' && p[kOffOrigin] == origin &&
           p[kOffCommand] == command;
}

inline uint16_t GetU16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
inline uint32_t GetU32(const uint8_t* p)
{
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[2]) << 16) |
           (static_cast<uint32_t>(p[3]) << 24);
}
inline void PutU16(uint8_t* p, uint16_t v)
{
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
}
inline void PutU32(uint8_t* p, uint32_t v)
{
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
    p[2] = static_cast<uint8_t>(v >> 16);
    p[3] = static_cast<uint8_t>(v >> 24);
}

}  // namespace calvox
