#include "CaptureAudioSink.h"

#include <cstring>
#include <limits>
#include <mutex>

#include <unistd.h>

namespace calvox {

namespace {

std::mutex g_captureMutex;
std::vector<int16_t> g_captured;

constexpr size_t kWavHeaderBytes = 44;

void PutU16(unsigned char* at, uint16_t v)
{
    at[0] = static_cast<unsigned char>(v);
    at[1] = static_cast<unsigned char>(v >> 8);
}

void PutU32(unsigned char* at, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        at[i] = static_cast<unsigned char>(v >> (8 * i));
}

void BuildWavHeader(unsigned char* h, uint32_t dataBytes)
{
    std::memcpy(h, "RIFF", 4);
    PutU32(h + 4, 36 + dataBytes);
    std::memcpy(h + 8, "WAVEfmt ", 8);
    PutU32(h + 16, 16);
    PutU16(h + 20, 1);  // PCM
    PutU16(h + 22, 1);  // mono
    PutU32(h + 24, AudioSink::kSampleRate);
    PutU32(h + 28, AudioSink::kSampleRate * 2);
    PutU16(h + 32, 2);
    PutU16(h + 34, 16);
    std::memcpy(h + 36, "data", 4);
    PutU32(h + 40, dataBytes);
}

}  // namespace

void MemoryAudioSink::Play(const int16_t* samples, size_t count, const AudioAbort&)
{
    std::lock_guard<std::mutex> lock(g_captureMutex);
    g_captured.insert(g_captured.end(), samples, samples + count);
}

std::vector<int16_t> CapturedAudio()
{
    std::lock_guard<std::mutex> lock(g_captureMutex);
    return g_captured;
}

size_t CapturedAudioSampleCount()
{
    std::lock_guard<std::mutex> lock(g_captureMutex);
    return g_captured.size();
}

void ClearCapturedAudio()
{
    std::lock_guard<std::mutex> lock(g_captureMutex);
    g_captured.clear();
}

std::unique_ptr<WavAudioSink> WavAudioSink::Create(const std::string& path)
{
    if (path.empty())
        return nullptr;
    std::FILE* file = std::fopen((path + ".part").c_str(), "wbe");
    if (!file)
        return nullptr;
    unsigned char header[kWavHeaderBytes];
    BuildWavHeader(header, 0);
    if (std::fwrite(header, 1, sizeof header, file) != sizeof header) {
        std::fclose(file);
        std::remove((path + ".part").c_str());
        return nullptr;
    }
    return std::unique_ptr<WavAudioSink>(new WavAudioSink(file, path));
}

WavAudioSink::WavAudioSink(std::FILE* file, std::string path) : file_(file), path_(std::move(path)) {}

WavAudioSink::~WavAudioSink()
{
    if (!Finish())
        std::remove((path_ + ".part").c_str());
}

void WavAudioSink::Play(const int16_t* samples, size_t count, const AudioAbort&)
{
    if (failed_)
        return;
    const size_t bytes = count * 2;
    // The RIFF sizes are 32-bit; stop before they would wrap rather than write a lying header.
    if (bytes > std::numeric_limits<uint32_t>::max() - 36 - dataBytes_) {
        failed_ = true;
        return;
    }
    unsigned char le[2];
    for (size_t i = 0; i < count && !failed_; ++i) {
        PutU16(le, static_cast<uint16_t>(samples[i]));
        failed_ = std::fwrite(le, 1, 2, file_) != 2;
    }
    if (!failed_)
        dataBytes_ += static_cast<uint32_t>(bytes);
}

bool WavAudioSink::Finish()
{
    unsigned char header[kWavHeaderBytes];
    BuildWavHeader(header, dataBytes_);
    bool ok = !failed_ && std::fseek(file_, 0, SEEK_SET) == 0 &&
              std::fwrite(header, 1, sizeof header, file_) == sizeof header && std::fflush(file_) == 0 &&
              fsync(fileno(file_)) == 0;
    ok = std::fclose(file_) == 0 && ok;
    return ok && std::rename((path_ + ".part").c_str(), path_.c_str()) == 0;
}

}  // namespace calvox
