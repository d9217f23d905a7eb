// Block transfer throughput of a file on loopback, download and upload, the SDK beside a floor that faces the
// same server: one recorder emulator answers both. The floor is a bare stop-and-wait client on one socket and
// one thread that sends the very datagrams the SDK sends (download: 14-byte block requests, 1034-byte answers;
// upload: blocks of 1366, 1366, 1364 bytes and their 14-byte acknowledgements) and checks every answer. What
// the server costs (the emulator logs every request; it writes and syncs an upload before it acknowledges the
// end) weighs on both; the ratio says what the SDK's threads and matchers cost on top.
//
//   bench_transfer [--size MiB] [--runs N] [--loss] [--time-scale factor]
// Runs are interleaved (floor download, SDK download, floor upload, SDK upload, then again). Every run must end
// with status 0 and a byte-identical file, or the bench stops with an error: a failed run is never a figure.
// --loss adds SDK runs at 0.1 % and 1 % loss both ways (no floor: it has no retries). The SDK's real waits
// (2 s per lost block) are kept unless --time-scale shortens them; with loss they decide the figure.
#include "CalvoxSDK.h"
#include "Device.h"
#include "EmuFiles.h"
#include "Emulator.h"
#include "HandleTable.h"
#include "Spread.h"
#include "TimeScale.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/time.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point since) { return std::chrono::duration<double>(Clock::now() - since).count(); }

double MiBps(size_t bytes, double seconds) { return bytes / (1024.0 * 1024.0) / seconds; }

[[noreturn]] void Fail(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    std::fprintf(stderr, "bench_transfer: ");
    std::vfprintf(stderr, format, args);
    std::fprintf(stderr, "\n");
    va_end(args);
    std::exit(1);
}

void PutU32(uint8_t* p, uint32_t v) { std::memcpy(p, &v, 4); }  // the protocol is little-endian, as is x86
uint32_t GetU32(const uint8_t* p)
{
    uint32_t v;
    std::memcpy(&v, p, 4);
    return v;
}

std::vector<uint8_t> ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

// The floor's client: one socket, one exchange at a time, no retries (a lost datagram on loopback is an error).
class RawClient {
public:
    explicit RawClient(const sockaddr_in& server) : server_(server)
    {
        fd_ = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        if (fd_ < 0 || ::bind(fd_, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0)
            Fail("cannot open the floor's socket");
        // A blocking receive with a time-out: one system call per answer.
        const timeval wait{2, 0};
        ::setsockopt(fd_, SOL_SOCKET, SO_RCVTIMEO, &wait, sizeof wait);
    }
    ~RawClient() { ::close(fd_); }

    // Sends header + payload with command; returns the answer's length (its bytes in reply_).
    int Exchange(uint8_t command, const uint8_t* payload, size_t length)
    {
        request_[0] = 'K';
        request_[1] = 'W';
        request_[2] = 0;
        request_[3] = command;
        request_[4] = request_[5] = 0;
        std::memcpy(request_ + 6, payload, length);
        ::sendto(fd_, request_, 6 + length, 0, reinterpret_cast<const sockaddr*>(&server_), sizeof server_);
        const ssize_t n = ::recv(fd_, reply_, sizeof reply_, 0);
        if (n < 0)
            Fail("the floor got no answer to command %d", command);
        if (n < 6 || reply_[0] != 'K' || reply_[1] != 'W' || reply_[2] != 1 || reply_[3] != command)
            Fail("the floor got a broken answer to command %d", command);
        if (reply_[4] != 0)
            Fail("the server answered status %d to the floor's command %d", reply_[4], command);
        return static_cast<int>(n);
    }
    const uint8_t* Reply() const { return reply_; }

private:
    int fd_ = -1;
    sockaddr_in server_;
    uint8_t request_[4096] = {};
    uint8_t reply_[4096] = {};
};

double FloorDownload(const sockaddr_in& server, const std::vector<uint8_t>& file)
{
    RawClient client(server);
    std::vector<uint8_t> got;
    got.reserve(file.size());
    const auto start = Clock::now();
    uint8_t payload[64] = {0, 1};
    std::memcpy(payload + 2, "/bench.bin", 11);
    if (client.Exchange(29, payload, 13) != 10 || GetU32(client.Reply() + 6) != file.size())
        Fail("the floor's download began with a wrong size");
    const uint32_t blocks = static_cast<uint32_t>((file.size() + 1023) / 1024);
    uint8_t block[8] = {1, 1, 0, 0};
    for (uint32_t i = 0; i < blocks; ++i) {
        PutU32(block + 4, i);
        const int n = client.Exchange(29, block, sizeof block);
        if (n < 10 || GetU32(client.Reply() + 6) != i)
            Fail("the floor's block %u came back as another", i);
        got.insert(got.end(), client.Reply() + 10, client.Reply() + n);
    }
    const uint8_t end[1] = {2};
    client.Exchange(29, end, 1);
    const double seconds = Seconds(start);
    if (got != file)
        Fail("the floor's download is not the file");
    return MiBps(file.size(), seconds);
}

double FloorUpload(const sockaddr_in& server, const std::vector<uint8_t>& file, const std::string& stored)
{
    RawClient client(server);
    const auto start = Clock::now();
    const char path[] = "/upload/floor.bin";
    uint8_t payload[2 + 12 + 1366] = {0, static_cast<uint8_t>(sizeof path - 1)};
    std::memcpy(payload + 2, path, sizeof path - 1);
    client.Exchange(28, payload, 2 + sizeof path - 1);
    size_t sent = 0;
    for (uint32_t k = 0; sent < file.size(); ++k) {
        const size_t count = std::min<size_t>(file.size() - sent, k % 3 == 2 ? 1364 : 1366);
        std::memset(payload, 0, 12);
        payload[0] = 1;
        PutU32(payload + 4, k);
        PutU32(payload + 8, static_cast<uint32_t>(count));
        std::memcpy(payload + 12, file.data() + sent, count);
        if (client.Exchange(28, payload, 12 + count) < 14 || GetU32(client.Reply() + 10) != k)
            Fail("the floor's upload block %u was acknowledged as another", k);
        sent += count;
    }
    const uint8_t end[1] = {2};
    client.Exchange(28, end, 1);
    const double seconds = Seconds(start);
    if (ReadFile(stored) != file)
        Fail("the floor's upload did not arrive whole");
    std::filesystem::remove(stored);
    return MiBps(file.size(), seconds);
}

double SdkDownload(Calvox_DeviceHandle handle, const std::vector<uint8_t>& file)
{
    std::vector<uint8_t> got;
    got.reserve(file.size());
    Calvox_EventCallback callback = [&](Calvox_EventType type, int, unsigned char* data, int length) {
        if (type == Calvox_Event_FileData)
            got.insert(got.end(), data, data + length);
        return 0;
    };
    const auto start = Clock::now();
    const int status = CalvoxAPI_DownloadFile(handle, "/bench.bin", &callback);
    const double seconds = Seconds(start);
    if (status != 0)
        Fail("the SDK's download ended with status %d", status);
    if (got != file)
        Fail("the SDK's download is not the file (%zu of %zu bytes)", got.size(), file.size());
    return MiBps(file.size(), seconds);
}

double SdkUpload(Calvox_DeviceHandle handle, const std::string& localFile, const std::vector<uint8_t>& file,
                 const std::string& stored)
{
    int lastPercent = -1;
    Calvox_EventCallback progress = [&](Calvox_EventType type, int, unsigned char*, int percent) {
        if (type == Calvox_Event_Progress)
            lastPercent = percent;
        return 0;
    };
    const auto start = Clock::now();
    const int status = CalvoxAPI_UploadFile(handle, localFile.c_str(), "/upload", nullptr, &progress);
    const double seconds = Seconds(start);
    if (status != 0)
        Fail("the SDK's upload ended with status %d", status);
    if (lastPercent != 100)
        Fail("the SDK's upload reported %d %% at its end", lastPercent);
    if (ReadFile(stored) != file)
        Fail("the SDK's upload did not arrive whole");
    std::filesystem::remove(stored);
    return MiBps(file.size(), seconds);
}

struct Server {
    calvox::emu::Emulator emulator;
    calvox::emu::Recorder* recorder = nullptr;
    Calvox_DeviceHandle handle = 0;

    Server(const std::string& storage, double loss)
    {
        calvox::emu::RecorderConfig config;
        config.id = "4F000000000000000005";
        config.port = 0;
        config.faults.seed = 42;
        config.faults.dropRequests = loss;
        config.faults.dropReplies = loss;
        recorder = emulator.Add(config);
        if (!recorder)
            Fail("cannot bind the emulator on 127.0.0.1 (run inside unshare -n with lo up)");
        calvox::emu::ServeFiles(*recorder, storage);
        handle = CalvoxAPI_CreateDevice(config.id.c_str());
        calvox::FindDevice(handle)->SetDeviceAddress(recorder->Address());
    }
    ~Server()
    {
        CalvoxAPI_DeleteDevice(handle);
        emulator.Stop();
    }
};

}  // namespace

int main(int argc, char** argv)
{
    double mib = 16;
    double timeScale = 1;
    int runs = 5;
    bool withLoss = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--size") == 0 && i + 1 < argc)
            mib = std::atof(argv[++i]);
        else if (std::strcmp(argv[i], "--time-scale") == 0 && i + 1 < argc)
            timeScale = std::atof(argv[++i]);
        else if (std::strcmp(argv[i], "--runs") == 0 && i + 1 < argc)
            runs = std::max(5, std::atoi(argv[++i]));
        else if (std::strcmp(argv[i], "--loss") == 0)
            withLoss = true;
        else
            Fail("usage: bench_transfer [--size MiB] [--runs N>=5] [--loss] [--time-scale factor]");
    }
    calvox::SetTimeScale(timeScale);

    const size_t size = static_cast<size_t>(mib * 1024 * 1024);
    std::vector<uint8_t> file(size);
    std::mt19937 random(1);
    for (uint8_t& b : file)
        b = static_cast<uint8_t>(random());

    std::string folder = (std::filesystem::temp_directory_path() / "calvox-bench-XXXXXX").string();
    if (!mkdtemp(folder.data()))
        Fail("mkdtemp failed");
    const std::string storage = folder + "/storage";
    const std::string localFile = folder + "/bench.bin";
    std::filesystem::create_directories(storage + "/upload");
    for (const std::string& path : {storage + "/bench.bin", localFile}) {
        std::ofstream out(path, std::ios::binary);
        out.write(reinterpret_cast<const char*>(file.data()), static_cast<std::streamsize>(file.size()));
    }

    std::printf("file %.1f MiB on loopback, one emulated recorder serving the SDK and the floor; %d interleaved runs\n"
                "(MiB/s; the machine is shared, so the spread of the runs is part of the figure)\n\n",
                mib, runs);
    std::vector<double> floorDown, sdkDown, floorUp, sdkUp;
    {
        Server server(storage, 0);
        const sockaddr_in address = server.recorder->Address();
        for (int run = 0; run < runs; ++run) {
            floorDown.push_back(FloorDownload(address, file));
            server.recorder->ClearLog();
            sdkDown.push_back(SdkDownload(server.handle, file));
            server.recorder->ClearLog();
            floorUp.push_back(FloorUpload(address, file, storage + "/upload/floor.bin"));
            server.recorder->ClearLog();
            sdkUp.push_back(SdkUpload(server.handle, localFile, file, storage + "/upload/bench.bin"));
            server.recorder->ClearLog();
        }
    }
    bench::PrintSpread("download, floor (1024-byte blocks)", floorDown, "MiB/s");
    bench::PrintSpread("download, SDK", sdkDown, "MiB/s");
    std::printf("download: SDK / floor, ratio of medians %.2fx\n\n", bench::RatioOfMedians(sdkDown, floorDown));
    bench::PrintSpread("upload, floor (1366/1366/1364-byte blocks)", floorUp, "MiB/s");
    bench::PrintSpread("upload, SDK", sdkUp, "MiB/s");
    std::printf("upload: SDK / floor, ratio of medians %.2fx\n", bench::RatioOfMedians(sdkUp, floorUp));
    std::fflush(stdout);

    if (withLoss) {
        std::printf("\nwith loss (SDK only, waits x%g):\n", timeScale);
        for (const double loss : {0.001, 0.01}) {
            Server server(storage, loss);
            std::vector<double> down, up;
            for (int run = 0; run < runs; ++run) {
                down.push_back(SdkDownload(server.handle, file));
                server.recorder->ClearLog();
                up.push_back(SdkUpload(server.handle, localFile, file, storage + "/upload/bench.bin"));
                server.recorder->ClearLog();
            }
            char label[64];
            std::snprintf(label, sizeof label, "download, SDK, %.1f %% loss", loss * 100);
            bench::PrintSpread(label, down, "MiB/s");
            std::snprintf(label, sizeof label, "upload, SDK, %.1f %% loss", loss * 100);
            bench::PrintSpread(label, up, "MiB/s");
            std::fflush(stdout);
        }
    }
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
    return 0;
}
