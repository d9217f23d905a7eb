#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "Firmware.h"

using namespace calvox;

namespace {

std::string HeaderBytes(uint32_t model, uint32_t version, uint32_t minSdk, size_t size = 512)
{
    std::string b(size, '\xAA');
    const uint32_t words[3] = {model, version, minSdk};
    for (int w = 0; w < 3; ++w)
        for (int i = 0; i < 4; ++i)
            if (static_cast<size_t>(w * 4 + i) < size)
                b[w * 4 + i] = static_cast<char>(words[w] >> (8 * i));
    return b;
}

struct TempFile {
    std::string path;
    explicit TempFile(const std::string& bytes)
    {
        char pattern[] = "/tmp/calvox-fw-XXXXXX";
        const int fd = mkstemp(pattern);
        close(fd);
        path = pattern;
        std::ofstream(path, std::ios::binary) << bytes;
    }
    ~TempFile() { std::remove(path.c_str()); }
};

}  // namespace

TEST(FirmwareHeader, DecodesLittleEndianWords)
{
    const std::string bytes = HeaderBytes(2, 0x02010005, 0x02000708, 600);
    TempFile f(bytes);
    FirmwareHeader h{};
    ASSERT_TRUE(ReadFirmwareHeader(f.path.c_str(), &h));
    EXPECT_EQ(h.modelIndex, 2u);
    EXPECT_EQ(h.firmwareVersion, 0x02010005u);
    EXPECT_EQ(h.minSdkVersion, 0x02000708u);
}

TEST(FirmwareHeader, MissingShortOrUnreadableFilesFail)
{
    FirmwareHeader h{};
    TempFile shortFile(HeaderBytes(2, 0x02010005, 0, 511));
    TempFile empty("");
    EXPECT_FALSE(ReadFirmwareHeader(shortFile.path.c_str(), &h));
    EXPECT_FALSE(ReadFirmwareHeader(empty.path.c_str(), &h));
    EXPECT_FALSE(ReadFirmwareHeader("/nonexistent/firmware.bin", &h));
    EXPECT_FALSE(ReadFirmwareHeader(std::filesystem::temp_directory_path().c_str(), &h));  // a folder
    EXPECT_FALSE(ReadFirmwareHeader(nullptr, &h));
}

TEST(FirmwareHeader, Verdicts)
{
    // Recorder: model index 2 (KES2204S) running 2.0.8.0.
    const uint32_t running = 0x02000800;
    struct Case {
        uint32_t model, version, minSdk;
        int expected;
    } cases[] = {
        {2, 0x02000801, 0x02000708, 0},   // newer, this SDK is enough
        {2, 0x03000000, 0, 0},
        {3, 0x02000801, 0, 20},           // another model
        {0xFFFFFFFF, 0x02000801, 0, 20},
        {2, 0x02000709, 0, 40},           // 2.0.7.9 is older than 2.0.8.0
        {2, running, 0, 40},              // equal is not newer
        {2, 0x02000801, 0x02000709, 41},  // needs an SDK newer than 2.0.7.8
        {2, 0x02000801, 0xFFFFFFFF, 41},
        {3, running, 0xFFFFFFFF, 20},     // the model is judged first, then the version
        {2, running, 0xFFFFFFFF, 40},
    };
    for (const Case& c : cases) {
        FirmwareHeader h{};
        h.modelIndex = c.model;
        h.firmwareVersion = c.version;
        h.minSdkVersion = c.minSdk;
        EXPECT_EQ(JudgeFirmware(h, 2, running), c.expected) << std::hex << c.model << " " << c.version << " " << c.minSdk;
    }
    FirmwareHeader h{};
    EXPECT_EQ(JudgeFirmware(h, -1, 0), 20);  // unknown model never matches
}
