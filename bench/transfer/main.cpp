// Transfer throughput of a 16 MiB file on loopback at 0 %, 0.1 % and 1 % loss (both ways), downloads and
// uploads through the SDK against the recorder emulator, printed beside a raw UDP stop-and-wait loop of
// 1024-byte blocks: a 14-byte request, a 1034-byte answer, one block in flight. That loop is the most this
// protocol can move on this machine; the ratio says what the SDK's threads and matchers cost on top.
//
//   bench_transfer [--size MiB] [--time-scale factor]
// The SDK's real waits (2 s per lost block) are kept unless --time-scale shortens them; with loss they decide
// the figure, which is the point of measuring it.
#include "CalvoxSDK.h"
#include "Device.h"
#include "EmuFiles.h"
#include "Emulator.h"
#include "HandleTable.h"
#include "TimeScale.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point since) { return std::chrono::duration<double>(Clock::now() - since).count(); }

double MiBps(size_t bytes, double seconds) { return bytes / (1024.0 * 1024.0) / seconds; }

int BoundSocket(sockaddr_in* address)
{
    const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a);
    socklen_t length = sizeof a;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&a), &length);
    *address = a;
    return fd;
}

// The floor: the same exchange with nothing but two sockets and two threads.
double RawStopAndWait(const std::vector<uint8_t>& file)
{
    sockaddr_in serverAddress{}, clientAddress{};
    const int server = BoundSocket(&serverAddress);
    const int client = BoundSocket(&clientAddress);
    std::atomic<bool> run{true};
    std::thread peer([&] {
        uint8_t request[64];
        uint8_t reply[1034];
        while (run) {
            sockaddr_in from{};
            socklen_t length = sizeof from;
            const ssize_t n = ::recvfrom(server, request, sizeof request, 0, reinterpret_cast<sockaddr*>(&from), &length);
            if (n < 14)
                continue;
            uint32_t index;
            std::memcpy(&index, request + 10, 4);
            const size_t offset = static_cast<size_t>(index) * 1024;
            const size_t count = offset < file.size() ? std::min<size_t>(1024, file.size() - offset) : 0;
            std::memcpy(reply, request, 10);
            std::memcpy(reply + 6, &index, 4);
            std::memcpy(reply + 10, file.data() + offset, count);
            ::sendto(server, reply, 10 + count, 0, reinterpret_cast<sockaddr*>(&from), length);
        }
    });
    const uint32_t blocks = static_cast<uint32_t>((file.size() + 1023) / 1024);
    uint8_t request[14] = {'K', 'W', 0, 29, 0, 0, 1, 1, 0, 0};
    uint8_t reply[4096];
    const auto start = Clock::now();
    for (uint32_t i = 0; i < blocks; ++i) {
        std::memcpy(request + 10, &i, 4);
        ::sendto(client, request, sizeof request, 0, reinterpret_cast<sockaddr*>(&serverAddress), sizeof serverAddress);
        ::recv(client, reply, sizeof reply, 0);
    }
    const double seconds = Seconds(start);
    run = false;
    uint8_t stop[14] = {};
    ::sendto(client, stop, sizeof stop, 0, reinterpret_cast<sockaddr*>(&serverAddress), sizeof serverAddress);
    peer.join();
    ::close(server);
    ::close(client);
    return MiBps(file.size(), seconds);
}

struct Result {
    int status;
    double mibps;
};

Result SdkDownload(Calvox_DeviceHandle handle, size_t size)
{
    size_t received = 0;
    Calvox_EventCallback callback = [&](Calvox_EventType type, int, unsigned char*, int length) {
        if (type == Calvox_Event_FileData)
            received += static_cast<size_t>(length);
        return 0;
    };
    const auto start = Clock::now();
    const int status = CalvoxAPI_DownloadFile(handle, "/bench.bin", &callback);
    const double seconds = Seconds(start);
    return {status == 0 && received == size ? 0 : (status ? status : -1), MiBps(size, seconds)};
}

Result SdkUpload(Calvox_DeviceHandle handle, const std::string& localFile, size_t size)
{
    const auto start = Clock::now();
    const int status = CalvoxAPI_UploadFile(handle, localFile.c_str(), "/upload", nullptr, nullptr);
    return {status, MiBps(size, Seconds(start))};
}

}  // namespace

int main(int argc, char** argv)
{
    double mib = 16;
    double timeScale = 1;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--size") == 0)
            mib = std::atof(argv[i + 1]);
        else if (std::strcmp(argv[i], "--time-scale") == 0)
            timeScale = std::atof(argv[i + 1]);
    }
    calvox::SetTimeScale(timeScale);

    const size_t size = static_cast<size_t>(mib * 1024 * 1024);
    std::vector<uint8_t> file(size);
    std::mt19937 random(1);
    for (uint8_t& b : file)
        b = static_cast<uint8_t>(random());

    std::string folder = (std::filesystem::temp_directory_path() / "calvox-bench-XXXXXX").string();
    if (!mkdtemp(folder.data())) {
        std::perror("mkdtemp");
        return 1;
    }
    const std::string storage = folder + "/storage";
    const std::string localFile = folder + "/bench.bin";
    std::filesystem::create_directories(storage);
    for (const std::string& path : {storage + "/bench.bin", localFile}) {
        std::ofstream out(path, std::ios::binary);
        out.write(reinterpret_cast<const char*>(file.data()), static_cast<std::streamsize>(file.size()));
    }

    // This machine may be busy with other work: the lossless figures are the best of three runs each, so the
    // ratio compares like with like.
    double raw = 0;
    for (int run = 0; run < 3; ++run)
        raw = std::max(raw, RawStopAndWait(file));
    std::printf("file %.1f MiB, loopback, SDK waits x%g\n", mib, timeScale);
    std::printf("raw UDP stop-and-wait, 1024-byte blocks, no loss: %8.2f MiB/s (the limit of this protocol here)\n\n",
                raw);
    std::printf("%-9s %-6s %12s %10s %8s\n", "direction", "loss", "MiB/s", "of raw", "result");

    for (const char* direction : {"download", "upload"}) {
        for (const double loss : {0.0, 0.001, 0.01}) {
            calvox::emu::Emulator emulator;
            calvox::emu::RecorderConfig config;
            config.id = "4F000000000000000005";
            config.port = 0;
            config.faults.seed = 42;
            config.faults.dropRequests = loss;
            config.faults.dropReplies = loss;
            calvox::emu::Recorder* recorder = emulator.Add(config);
            if (!recorder) {
                std::fprintf(stderr, "cannot bind the emulator on 127.0.0.1\n");
                return 1;
            }
            calvox::emu::ServeFiles(*recorder, storage);
            const Calvox_DeviceHandle handle = CalvoxAPI_CreateDevice(config.id.c_str());
            calvox::FindDevice(handle)->SetDeviceAddress(recorder->Address());
            Result r{0, 0};
            for (int run = 0; run < (loss == 0 ? 3 : 1); ++run) {
                const Result one = std::strcmp(direction, "download") == 0 ? SdkDownload(handle, size)
                                                                           : SdkUpload(handle, localFile, size);
                r.status = r.status ? r.status : one.status;
                r.mibps = std::max(r.mibps, one.mibps);
            }
            std::printf("%-9s %5.1f%% %12.2f %9.1f%% %8d\n", direction, loss * 100, r.mibps, 100 * r.mibps / raw,
                        r.status);
            std::fflush(stdout);
            CalvoxAPI_DeleteDevice(handle);
            emulator.Stop();
        }
    }
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
    return 0;
}
