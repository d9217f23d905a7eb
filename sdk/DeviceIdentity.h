// The model table and the rule that maps a device ID to its model: only the ID's first character counts.
#pragma once

namespace calvox {

struct ModelInfo {
    const char* name;
    int channels;
    int playback;  // 1 when the model can play recorded calls back on a line
};

constexpr int kModelCount = 7;
constexpr int kMaxChannels = 64;
constexpr int kDeviceIdLength = 20;

const ModelInfo& Model(int index);  // index 0..kModelCount-1
// 0..6, or -1 for a null ID, a character outside "0123456789ABCD" (lower case included).
int ModelIndexOf(const char* id);

}  // namespace calvox
