// The commands of other families that the heartbeat runs: the login (when it reconnects) and the status
// reads of commands 5, 8 and 9. They are defined with the connection and status commands; each takes the
// command mutex itself and returns a Calvox_Result.
#pragma once

struct Calvox_Device;

namespace calvox {

// ConnectViaCloud first when the connection's via-cloud flag is set, then the login request (command 3).
int Login(Calvox_Device& device);
// Command 5 into the storage record.
int GetStorageStatus(Calvox_Device& device);
// Command 8; *stored is false when the recorder answered for another channel (nothing was stored then).
int RefreshChannelStatus(Calvox_Device& device, int channel, bool* stored);
// Command 9 into the online-user list.
int RefreshOnlineUsers(Calvox_Device& device);

}  // namespace calvox
