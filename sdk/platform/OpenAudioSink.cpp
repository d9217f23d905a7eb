#include <cstdlib>
#include <string>

#include "AlsaAudioSink.h"
#include "AudioSink.h"
#include "CaptureAudioSink.h"
#include "NullAudioSink.h"

namespace calvox {

std::unique_ptr<AudioSink> OpenAudioSink()
{
    const char* sinkVariable = std::getenv("CALVOX_AUDIO_SINK");
    const std::string sink = sinkVariable ? sinkVariable : "";
    if (sink.empty() || sink == "alsa") {
        const char* device = std::getenv("CALVOX_AUDIO_DEVICE");
        if (auto alsa = AlsaAudioSink::Open(device && *device ? device : "default"))
            return alsa;
    } else if (sink == "memory") {
        return std::make_unique<MemoryAudioSink>();
    } else if (sink.compare(0, 4, "wav:") == 0) {
        if (auto wav = WavAudioSink::Create(sink.substr(4)))
            return wav;
    }
    return std::make_unique<NullAudioSink>();
}

}  // namespace calvox
