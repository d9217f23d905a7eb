#pragma once

class KesDevice;

// The steps of a login, in the order they run. Each read fills the SDK's record of its group, so every page has
// the recorder's values when the heartbeat starts.
enum class LoginStep {
    None,              // every step passed
    Login,
    StorageStatus,
    NetStatus,
    Time,
    PlayBackFileList,
    BaseSetting,
    ChannelSetting,    // one read per channel, in order; the first failing channel ends the chain
    KeyControlSetting,
    NetSetting,
    SMDRSetting,
    UserList,
};

// Logs the device in and reads every status and settings group; then, without looking at their answers (older
// recorders may not know them), the record-time and scheduled-restart groups and the update server's newest
// firmware. Stops at the first step whose result is nonzero and returns that result, with the step in *failed;
// 0 and LoginStep::None when all passed. Starts no heartbeat. Blocks: runs off the GUI thread.
int RunLoginChain(KesDevice* device, LoginStep* failed);
