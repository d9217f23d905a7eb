#include "FuzzEntries.h"

#include <atomic>
#include <cstring>

namespace calvox::fuzz {

void Keep(unsigned value)
{
    static std::atomic<unsigned> sink{0};
    sink += value;
}

const std::vector<Target>& Targets()
{
    static const std::vector<Target> targets = {
        {"sdk_replies", SdkReplies},     {"live_audio", LiveAudio},     {"http_response", HttpResponse},
        {"firmware_header", FirmwareHeader}, {"record_index", RecordIndex}, {"wav_record", WavRecord},
        {"workbook", Workbook},          {"contacts_book", ContactsBook},
    };
    return targets;
}

const Target* FindTarget(const char* name)
{
    for (const Target& t : Targets())
        if (std::strcmp(t.name, name) == 0)
            return &t;
    return nullptr;
}

}  // namespace calvox::fuzz
