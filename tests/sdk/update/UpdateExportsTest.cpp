#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>
#include <unistd.h>

#include "CalvoxSDK.h"
#include "Device.h"
#include "HandleTable.h"
#include "TestHttpServers.h"
#include "TimeScale.h"

using namespace calvox;
using namespace calvox::test;
using Srv = ScriptedTcpServer;

namespace {

const char kKes2204sId[] = "4A000000000000000001";  // model index 2, "KES2204S"

struct Seen {
    int count = 0;
    Calvox_EventType type = Calvox_Event_Progress;
    int handle = -1;
    std::string data;
};

Calvox_EventCallback Collect(Seen* s)
{
    return [s](Calvox_EventType type, int handle, unsigned char* data, int length) {
        ++s->count;
        s->type = type;
        s->handle = handle;
        if (type == Calvox_Event_FileData)
            s->data.append(reinterpret_cast<char*>(data), static_cast<size_t>(length));
        return 0;
    };
}

class Device {
public:
    Device() : handle_(CalvoxAPI_CreateDevice(kKes2204sId)) {}
    ~Device() { CalvoxAPI_DeleteDevice(handle_); }
    int handle() const { return handle_; }

private:
    int handle_;
};

class TimeScaleGuard {
public:
    explicit TimeScaleGuard(double factor) : old_(TimeScale()) { SetTimeScale(factor); }
    ~TimeScaleGuard() { SetTimeScale(old_); }

private:
    double old_;
};

std::string WriteTemp(const std::string& bytes)
{
    char pattern[] = "/tmp/calvox-fw-XXXXXX";
    const int fd = mkstemp(pattern);
    close(fd);
    std::ofstream(pattern, std::ios::binary) << bytes;
    return pattern;
}

std::string Header(uint32_t model, uint32_t version, uint32_t minSdk, size_t size = 512)
{
    std::string b(size, '\0');
    const uint32_t words[3] = {model, version, minSdk};
    for (size_t i = 0; i < 12 && i < size; ++i)
        b[i] = static_cast<char>(words[i / 4] >> (8 * (i % 4)));
    return b;
}

}  // namespace

TEST(UpdateExports, VersionDocumentsFromTheConfiguredServer)
{
    PythonHttpServer server;
    ASSERT_NE(server.Port(), 0) << "python3 -m http.server did not start";
    server.WriteFile("KES2204S/Version.json", "{\"Version\":\"2.1.0.5\"}");
    server.WriteFile("CalvoxClient/Version.json", "{\"Version\":\"2.5.1.5\"}");
    ScopedEnv env("CALVOX_UPDATE_SERVER", server.Address());
    Device device;
    ASSERT_NE(device.handle(), 0);

    Seen model, client;
    const Calvox_EventCallback modelCallback = Collect(&model), clientCallback = Collect(&client);
    EXPECT_EQ(CalvoxAPI_GetNewVersionInfo(device.handle(), &modelCallback), 0);
    EXPECT_EQ(model.count, 1);
    EXPECT_EQ(model.type, Calvox_Event_FileData);
    EXPECT_EQ(model.handle, device.handle());
    EXPECT_EQ(model.data, "{\"Version\":\"2.1.0.5\"}");

    EXPECT_EQ(CalvoxAPI_GetClientVersionInfo(&clientCallback), 0);
    EXPECT_EQ(client.count, 1);
    EXPECT_EQ(client.handle, 0);
    EXPECT_EQ(client.data, "{\"Version\":\"2.5.1.5\"}");
}

TEST(UpdateExports, FirmwareDownload)
{
    PythonHttpServer server;
    ASSERT_NE(server.Port(), 0) << "python3 -m http.server did not start";
    const std::string image = Header(2, 0x02010005, 0x02000708, 5000);
    server.WriteFile("KES2204S/KES2204S-2.1.0.5.bin", image);
    ScopedEnv env("CALVOX_UPDATE_SERVER", server.Address());
    Device device;

    Seen ok;
    const Calvox_EventCallback okCallback = Collect(&ok);
    EXPECT_EQ(CalvoxAPI_DownloadFirmware(device.handle(), "KES2204S-2.1.0.5.bin", &okCallback), 0);
    EXPECT_TRUE(ok.data == image);
    EXPECT_EQ(ok.handle, device.handle());

    Seen missing;
    const Calvox_EventCallback missingCallback = Collect(&missing);
    EXPECT_EQ(CalvoxAPI_DownloadFirmware(device.handle(), "KES2204S-9.9.9.9.bin", &missingCallback), -1);
    EXPECT_EQ(missing.count, 0);
}

TEST(UpdateExports, InvalidArgumentsGiveFourAndSendNothing)
{
    Srv server({Srv::Send(HttpResponse("200 OK", "Content-Length: 2\r\n", "{}"))});
    ScopedEnv env("CALVOX_UPDATE_SERVER", server.Address());
    Device device;
    Seen seen;
    const Calvox_EventCallback callback = Collect(&seen);
    const Calvox_EventCallback empty;
    const int stale = device.handle() + 1000;

    EXPECT_EQ(CalvoxAPI_GetNewVersionInfo(device.handle(), nullptr), 4);
    EXPECT_EQ(CalvoxAPI_GetNewVersionInfo(device.handle(), &empty), 4);
    EXPECT_EQ(CalvoxAPI_GetNewVersionInfo(0, &callback), 4);
    EXPECT_EQ(CalvoxAPI_GetNewVersionInfo(stale, &callback), 4);
    EXPECT_EQ(CalvoxAPI_GetClientVersionInfo(nullptr), 4);
    EXPECT_EQ(CalvoxAPI_GetClientVersionInfo(&empty), 4);
    EXPECT_EQ(CalvoxAPI_DownloadFirmware(device.handle(), "x.bin", nullptr), 4);
    EXPECT_EQ(CalvoxAPI_DownloadFirmware(device.handle(), "x.bin", &empty), 4);
    EXPECT_EQ(CalvoxAPI_DownloadFirmware(device.handle(), nullptr, &callback), 4);
    EXPECT_EQ(CalvoxAPI_DownloadFirmware(device.handle(), "", &callback), 4);
    EXPECT_EQ(CalvoxAPI_DownloadFirmware(0, "x.bin", &callback), 4);
    EXPECT_EQ(seen.count, 0);
    EXPECT_EQ(server.Connections(), 0);
}

TEST(UpdateExports, SilentServerEndsTheRequestScaled)
{
    TimeScaleGuard fast(0.01);  // 10 s receive time-out becomes 100 ms
    Srv server({Srv::Hang()});
    ScopedEnv env("CALVOX_UPDATE_SERVER", server.Address());
    Seen seen;
    const Calvox_EventCallback callback = Collect(&seen);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(CalvoxAPI_GetClientVersionInfo(&callback), 3);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
    EXPECT_EQ(seen.count, 0);
}

TEST(UpdateExports, SilentServerEndsTheRequestAtTheRealTimeOut)
{
    TimeScaleGuard real(1.0);
    Srv server({Srv::Send("HTTP/1.0 200 OK\r\nContent-Length: 10\r\n\r\n{\"Ver"), Srv::Hang()});
    ScopedEnv env("CALVOX_UPDATE_SERVER", server.Address());
    Device device;
    Seen seen;
    const Calvox_EventCallback callback = Collect(&seen);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(CalvoxAPI_GetNewVersionInfo(device.handle(), &callback), 3);
    const auto took = std::chrono::steady_clock::now() - start;
    EXPECT_GE(took, std::chrono::milliseconds(9500));
    EXPECT_LT(took, std::chrono::seconds(13));
    EXPECT_EQ(seen.data, "{\"Ver");  // what came is still delivered
}

TEST(UpdateExports, CheckFirmwareTable)
{
    Device device;
    // The recorder runs 2.0.8.0, as a login would have set it.
    FindDevice(device.handle())->firmwareVersion = 0x02000800;
    struct Case {
        const char* name;
        std::string bytes;
        int expected;
    } cases[] = {
        {"newer, this SDK suffices", Header(2, 0x02000801, 0x02000708), 0},
        {"short file", Header(2, 0x02000801, 0, 511), 20},
        {"empty file", "", 20},
        {"other model", Header(3, 0x02000801, 0), 20},
        {"2.0.7.9 is not newer than 2.0.8.0", Header(2, 0x02000709, 0), 40},
        {"equal is not newer", Header(2, 0x02000800, 0), 40},
        {"needs a newer SDK", Header(2, 0x02000801, 0x02000709), 41},
    };
    for (const Case& c : cases) {
        const std::string path = WriteTemp(c.bytes);
        EXPECT_EQ(CalvoxAPI_CheckFirmware(device.handle(), path.c_str()), c.expected) << c.name;
        std::remove(path.c_str());
    }
    const std::string good = WriteTemp(Header(2, 0x02000801, 0));
    EXPECT_EQ(CalvoxAPI_CheckFirmware(device.handle(), "/nonexistent/firmware.bin"), 20);
    EXPECT_EQ(CalvoxAPI_CheckFirmware(0, good.c_str()), 4);
    EXPECT_EQ(CalvoxAPI_CheckFirmware(device.handle() + 1000, good.c_str()), 4);
    EXPECT_EQ(CalvoxAPI_CheckFirmware(device.handle(), nullptr), 4);
    std::remove(good.c_str());
}
