#include "EmuRecords.h"

#include <cstring>

namespace calvox::emu {

DeviceRecords::DeviceRecords()
{
    for (int c = 0; c < kEmuMaxChannels; ++c) {
        voltage[c] = 48;
        channelStatus[c][0] = 1;  // on hook
        channel[c][902] = 3;      // rings before auto-answer
        channel[c][903] = 60;     // message time
    }
    dateTime = {26, 1, 1, 8, 0, 0, 4};
    const char* files[] = {"welcome.wav", "busy.wav"};
    playBackFiles[0] = 2;
    for (int k = 0; k < 2; ++k)
        std::memcpy(&playBackFiles[1 + 28 * k], files[k], std::strlen(files[k]));
    base[0] = 3;    // minimum recording time
    base[1] = 60;   // maximum recording time
    base[2] = 6;    // time between rings
    base[3] = 3;    // minimum caller ID length
    base[5] = 5;    // voice sensitivity
    base[7] = 10;   // reserved space
    net[18] = 6066 & 0xFF;
    net[19] = 6066 >> 8;
    scheduledRestart[1] = 3;
}

}  // namespace calvox::emu
