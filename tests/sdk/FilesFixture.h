// One emulated recorder on 127.0.0.1 (any free port) with a storage root in a fresh temporary folder, and one
// SDK connection addressed to it directly (no login: the emulator's file commands need no session), with the
// SDK's waits scaled down.
#pragma once

#include "CalvoxSDK.h"
#include "Device.h"
#include "EmuFiles.h"
#include "Emulator.h"
#include "HandleTable.h"
#include "TimeScale.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace calvox::test {

// A folder below the system's temporary folder, removed with everything in it.
class TemporaryFolder {
public:
    TemporaryFolder()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "calvox-files-XXXXXX").string();
        if (mkdtemp(pattern.data()))
            path_ = pattern;
    }
    ~TemporaryFolder()
    {
        if (!path_.empty()) {
            std::error_code ignored;
            std::filesystem::remove_all(path_, ignored);
        }
    }
    const std::string& Path() const { return path_; }

private:
    std::string path_;
};

inline std::vector<uint8_t> RandomBytes(size_t size, uint32_t seed)
{
    std::mt19937 random(seed);
    std::vector<uint8_t> bytes(size);
    for (uint8_t& b : bytes)
        b = static_cast<uint8_t>(random());
    return bytes;
}

inline void WriteFile(const std::string& path, const std::vector<uint8_t>& bytes)
{
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

inline std::vector<uint8_t> ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class FilesFixture : public ::testing::Test {
protected:
    // First character '4': model KES2204S with 4 channels.
    static constexpr const char* kId = "4F000000000000000005";

    void SetUp() override
    {
        ASSERT_FALSE(storage.Path().empty());
        ASSERT_FALSE(local.Path().empty());
        SetTimeScale(0.05);
        emu::RecorderConfig config;
        config.id = kId;
        config.port = 0;
        recorder = emulator.Add(config);
        ASSERT_NE(recorder, nullptr);
        emu::ServeFiles(*recorder, storage.Path());
        handle = CalvoxAPI_CreateDevice(kId);
        ASSERT_NE(handle, 0);
        FindDevice(handle)->SetDeviceAddress(recorder->Address());
    }

    void TearDown() override
    {
        CalvoxAPI_DeleteDevice(handle);
        emulator.Stop();
        SetTimeScale(1);
    }

    // Runs f on the recorder's state of type T while its handlers are held off.
    template <class T, class F>
    auto WithState(F f)
    {
        std::lock_guard<std::mutex> lock(recorder->StateMutex());
        return f(recorder->State<T>());
    }

    // Payloads of the requests with this command, in the order received (dropped ones included).
    std::vector<std::vector<uint8_t>> Payloads(uint8_t command) const
    {
        std::vector<std::vector<uint8_t>> payloads;
        for (const emu::LoggedRequest& r : recorder->Log())
            if (r.command == command)
                payloads.push_back(r.payload);
        return payloads;
    }

    TemporaryFolder storage;  // the recorder's storage root
    TemporaryFolder local;    // the program's side
    emu::Emulator emulator;
    emu::Recorder* recorder = nullptr;
    Calvox_DeviceHandle handle = 0;
};

}  // namespace calvox::test
