// Reaching a recorder and logging in: the direct address, the credentials, the cloud relay with hole punching
// and the login request itself. The heartbeat repeats Login() whenever it reconnects.
#pragma once

#include <cstdint>

struct Calvox_Device;

namespace calvox {

// Commands of the connection (cloud relay: 0 query, 1 punch; recorder: 0 punch answer, 3 login).
constexpr uint8_t kCmdCloudQuery = 0;
constexpr uint8_t kCmdPunch = 1;
constexpr uint8_t kCmdLogin = 3;

constexpr int kMaxUserNameLength = 19;
constexpr int kPunchRounds = 5;
constexpr uint16_t kFirstMappedPort = 6066;

// The device address becomes the first IPv4 address of `host` (dotted text or a name; 0 when unknown) and
// `port`. 4 for a null host, else 0.
int SetNetAddr(Calvox_Device& device, const char* host, uint16_t port);

// Keeps the first userLength bytes of the name (at most 19, else 4 and the old name stays) and the MD5 of the
// password's bytes up to its terminator (null counts as empty); the password itself is not kept.
int SetUserPassword(Calvox_Device& device, const char* user, int userLength, const char* password);

// Maps the connection's UDP port on the gateway (whatever the outcome), asks the cloud relay for the
// recorder's public address by device ID and, when the recorder sits behind NAT, punches a hole (up to five
// rounds). On 0 the device address is the recorder's reachable address; on failure (3, or the relay's status)
// the previous address stays.
int ConnectViaCloud(Calvox_Device& device);

// Command 3 with the ID, the SDK version, the password digest and the user name. On 0 the firmware version
// (number and text), the channel permissions and the permission word are stored; otherwise they keep their
// values. 101: wrong user name or password; 2: too many users online; 3: no reply.
int LoginRequest(Calvox_Device& device);

// The whole login as CalvoxAPI_Login and every reconnect run it: ConnectViaCloud first when the connection's
// via-cloud flag is set (its result does not matter: a failed relay leaves the old address to try), then
// LoginRequest, whose result is returned.
int Login(Calvox_Device& device);
inline int Login(Calvox_Device* device) { return Login(*device); }

}  // namespace calvox
