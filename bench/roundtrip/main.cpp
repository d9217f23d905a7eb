// What one status read costs on loopback: CalvoxAPI_GetStorageStatus (the request, its reply passing the SDK's
// matchers, the record stored) beside the floor, a bare socket that sends the same 6-byte request and blocks in
// one receive for the reply. One emulated recorder answers both; runs are interleaved (floor, SDK, floor, ...).
// A run is many reads back to back; its figure is the mean time of one read.
//
//   bench_roundtrip [--reads N] [--runs N]
#include "CalvoxSDK.h"
#include "Device.h"
#include "Emulator.h"
#include "HandleTable.h"
#include "Spread.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

[[noreturn]] void Fail(const char* what)
{
    std::fprintf(stderr, "bench_roundtrip: %s\n", what);
    std::exit(1);
}

double MicrosecondsEach(Clock::time_point start, int reads)
{
    return std::chrono::duration<double, std::micro>(Clock::now() - start).count() / reads;
}

double FloorRun(const sockaddr_in& server, int reads)
{
    const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (fd < 0 || ::bind(fd, reinterpret_cast<sockaddr*>(&local), sizeof local) != 0)
        Fail("cannot open the floor's socket");
    const timeval wait{2, 0};
    ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &wait, sizeof wait);
    const uint8_t request[6] = {'K', 'W', 0, 5, 0, 0};
    uint8_t reply[4096];
    const auto start = Clock::now();
    for (int i = 0; i < reads; ++i) {
        ::sendto(fd, request, sizeof request, 0, reinterpret_cast<const sockaddr*>(&server), sizeof server);
        const ssize_t n = ::recv(fd, reply, sizeof reply, 0);
        if (n < 18 || reply[2] != 1 || reply[3] != 5 || reply[4] != 0)
            Fail("the floor got no whole storage status");
    }
    const double each = MicrosecondsEach(start, reads);
    ::close(fd);
    return each;
}

double SdkRun(Calvox_DeviceHandle handle, int reads)
{
    const auto start = Clock::now();
    for (int i = 0; i < reads; ++i)
        if (CalvoxAPI_GetStorageStatus(handle) != 0)
            Fail("the SDK's status read failed");
    return MicrosecondsEach(start, reads);
}

}  // namespace

int main(int argc, char** argv)
{
    int reads = 5000;
    int runs = 7;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--reads") == 0 && i + 1 < argc)
            reads = std::max(1, std::atoi(argv[++i]));
        else if (std::strcmp(argv[i], "--runs") == 0 && i + 1 < argc)
            runs = std::max(5, std::atoi(argv[++i]));
        else
            Fail("usage: bench_roundtrip [--reads N] [--runs N>=5]");
    }

    calvox::emu::Emulator emulator;
    calvox::emu::RecorderConfig config;
    config.id = "4F000000000000000005";
    config.port = 0;
    calvox::emu::Recorder* recorder = emulator.Add(config);
    if (!recorder)
        Fail("cannot bind the emulator on 127.0.0.1 (run inside unshare -n with lo up)");
    const Calvox_DeviceHandle handle = CalvoxAPI_CreateDevice(config.id.c_str());
    calvox::FindDevice(handle)->SetDeviceAddress(recorder->Address());
    const sockaddr_in address = recorder->Address();

    std::printf("status read on loopback, %d reads a run, %d interleaved runs, one emulated recorder answering both\n"
                "(microseconds a read; the machine is shared, so the spread of the runs is part of the figure)\n\n",
                reads, runs);
    std::vector<double> floor, sdk;
    for (int run = 0; run < runs; ++run) {
        floor.push_back(FloorRun(address, reads));
        recorder->ClearLog();
        sdk.push_back(SdkRun(handle, reads));
        recorder->ClearLog();
    }
    bench::PrintSpread("status read, floor (bare socket)", floor, "us");
    bench::PrintSpread("status read, SDK (GetStorageStatus)", sdk, "us");
    std::printf("SDK / floor, ratio of medians %.2fx\n", bench::RatioOfMedians(sdk, floor));
    CalvoxAPI_DeleteDevice(handle);
    emulator.Stop();
    return 0;
}
