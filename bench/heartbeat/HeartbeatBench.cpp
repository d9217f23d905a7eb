// One SDK process holding N logged-in 64-channel recorders (emulated in a child process) with their heartbeat
// threads running: its CPU time and memory, per recorder, beside two floors of the same traffic (one heartbeat
// exchange per recorder per second): one thread on one bare UDP socket (the least the traffic costs), and one
// bare thread and socket per recorder (the least the SDK's promised thread per connection costs: a pause, a
// send and a blocking receive per round). Windows of S seconds alternate: the SDK's whole process CPU while the
// floors rest, then each floor's own threads' CPU (the SDK's heartbeats go on beside them, uncounted);
// min/median/max of the runs and the ratios of medians.
//
//   bench_heartbeat [--recorders N] [--seconds S] [--runs N] [--busy]
// --busy: on every recorder one call is going on, so every round reports a talk-time change (one event per
// recorder per second) instead of an idle line.
#include "CalvoxSDK.h"
#include "EmuHeartbeat.h"
#include "Emulator.h"
#include "Spread.h"

#include <arpa/inet.h>
#include <dirent.h>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

struct Options {
    int recorders = 200;
    int seconds = 10;
    int runs = 5;
    bool busy = false;
};

double CpuSeconds(int who)
{
    rusage u{};
    getrusage(who, &u);
    return u.ru_utime.tv_sec + u.ru_utime.tv_usec / 1e6 + u.ru_stime.tv_sec + u.ru_stime.tv_usec / 1e6;
}

// Voluntary and involuntary context switches of all the process's threads so far.
long ContextSwitches()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_nvcsw + u.ru_nivcsw;
}

long StatusKb(const char* field)
{
    std::ifstream in("/proc/self/status");
    std::string line;
    const size_t n = std::strlen(field);
    while (std::getline(in, line))
        if (line.compare(0, n, field) == 0)
            return std::atol(line.c_str() + n + 1);
    return -1;
}

int CountThreads()
{
    int n = 0;
    if (DIR* d = opendir("/proc/self/task")) {
        while (dirent* e = readdir(d))
            n += e->d_name[0] != '.';
        closedir(d);
    }
    return n;
}

std::string RecorderId(int i)
{
    char id[21];
    std::snprintf(id, sizeof id, "A%019d", i);  // "A": a 64-channel model
    return id;
}

// The child: the recorders. Writes their ports to the pipe, then runs until the parent closes its end.
[[noreturn]] void RunRecorders(const Options& o, int portsOut, int stopIn)
{
    calvox::emu::Emulator emulator;
    std::vector<uint16_t> ports;
    for (int i = 0; i < o.recorders; ++i) {
        calvox::emu::RecorderConfig config;
        config.id = RecorderId(i);
        config.port = 0;
        calvox::emu::Recorder* r = emulator.Add(config);
        if (!r)
            _exit(2);
        if (o.busy)
            calvox::emu::StartTalking(*r, 0, "5550100");
        ports.push_back(r->Port());
    }
    if (write(portsOut, ports.data(), ports.size() * sizeof(uint16_t)) < 0)
        _exit(3);
    close(portsOut);
    char c;
    while (read(stopIn, &c, 1) > 0) {
    }
    emulator.Stop();
    _exit(0);
}

// The floor: the same exchanges (one heartbeat per recorder per second) from one thread and one socket.
double FloorCpuPerMinute(const std::vector<uint16_t>& ports, int seconds, int* answeredPerRound)
{
    const int s = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    sockaddr_in any{};
    any.sin_family = AF_INET;
    any.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(s, reinterpret_cast<sockaddr*>(&any), sizeof any);
    const int buffer = 4 << 20;  // a whole round of replies arrives at once
    setsockopt(s, SOL_SOCKET, SO_RCVBUF, &buffer, sizeof buffer);
    uint8_t request[12] = {'K', 'W', 0, 4, 0, 0};
    uint8_t reply[4096];
    const double before = CpuSeconds(RUSAGE_THREAD);
    long answered = 0;
    auto next = Clock::now();
    for (int round = 0; round < seconds; ++round) {
        for (uint16_t port : ports) {
            sockaddr_in to = any;
            to.sin_port = htons(port);
            sendto(s, request, sizeof request, 0, reinterpret_cast<sockaddr*>(&to), sizeof to);
        }
        size_t got = 0;
        const auto deadline = Clock::now() + std::chrono::milliseconds(900);
        while (got < ports.size() && Clock::now() < deadline) {
            pollfd p{s, POLLIN, 0};
            if (poll(&p, 1, 100) > 0)
                while (recv(s, reply, sizeof reply, MSG_DONTWAIT) > 0)
                    ++got;
        }
        answered += static_cast<long>(got);
        next += std::chrono::seconds(1);
        std::this_thread::sleep_until(next);
    }
    close(s);
    *answeredPerRound = seconds ? static_cast<int>(answered / seconds) : 0;
    return (CpuSeconds(RUSAGE_THREAD) - before) * 60.0 / seconds;
}

// The floor of the threads the SDK promises: one thread per recorder with its own socket, each round a timed
// pause to the round's start, a send and a blocking receive of the answer (no comparison, no events). The
// rounds' starts are spread over the second as logins spread the SDK's. The threads' own CPU, summed, as % of
// one core; thread start and end are not counted.
double ThreadPerRecorderFloorPercent(const std::vector<uint16_t>& ports, int seconds, int* answeredPerRound)
{
    const size_t n = ports.size();
    std::vector<double> cpu(n, 0.0);
    std::vector<int> answered(n, 0);
    std::vector<std::thread> threads;
    const auto start = Clock::now() + std::chrono::milliseconds(100);
    for (size_t i = 0; i < n; ++i) {
        threads.emplace_back([&, i] {
            const int s = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
            sockaddr_in to{};
            to.sin_family = AF_INET;
            to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
            const timeval timeout{2, 0};
            setsockopt(s, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
            to.sin_port = htons(ports[i]);
            uint8_t request[12] = {'K', 'W', 0, 4, 0, 0};
            uint8_t reply[4096];
            auto next = start + std::chrono::microseconds(1000000 * static_cast<long>(i) / static_cast<long>(n));
            std::this_thread::sleep_until(next);
            const double before = CpuSeconds(RUSAGE_THREAD);
            for (int round = 0; round < seconds; ++round) {
                sendto(s, request, sizeof request, 0, reinterpret_cast<sockaddr*>(&to), sizeof to);
                answered[i] += recv(s, reply, sizeof reply, 0) > 0;
                next += std::chrono::seconds(1);
                std::this_thread::sleep_until(next);
            }
            cpu[i] = CpuSeconds(RUSAGE_THREAD) - before;
            close(s);
        });
    }
    for (std::thread& t : threads)
        t.join();
    double total = 0;
    long got = 0;
    for (size_t i = 0; i < n; ++i) {
        total += cpu[i];
        got += answered[i];
    }
    *answeredPerRound = seconds ? static_cast<int>(got / seconds) : 0;
    return seconds ? total / seconds * 100.0 : 0;
}

}  // namespace

int main(int argc, char** argv)
{
    Options o;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--recorders" && i + 1 < argc)
            o.recorders = std::atoi(argv[++i]);
        else if (a == "--seconds" && i + 1 < argc)
            o.seconds = std::atoi(argv[++i]);
        else if (a == "--runs" && i + 1 < argc)
            o.runs = std::max(5, std::atoi(argv[++i]));
        else if (a == "--busy")
            o.busy = true;
        else {
            std::fprintf(stderr, "usage: bench_heartbeat [--recorders N] [--seconds S] [--runs N>=5] [--busy]\n");
            return 2;
        }
    }

    // The recorders run in their own process (started before this one has threads), so what is measured
    // here is the SDK alone.
    int portsPipe[2], stopPipe[2];
    if (pipe(portsPipe) != 0 || pipe(stopPipe) != 0)
        return 1;
    const pid_t child = fork();
    if (child == 0) {
        close(portsPipe[0]);
        close(stopPipe[1]);
        RunRecorders(o, portsPipe[1], stopPipe[0]);
    }
    close(portsPipe[1]);
    close(stopPipe[0]);
    std::vector<uint16_t> ports(static_cast<size_t>(o.recorders));
    size_t got = 0;
    while (got < ports.size() * sizeof(uint16_t)) {
        const ssize_t n = read(portsPipe[0], reinterpret_cast<char*>(ports.data()) + got, ports.size() * 2 - got);
        if (n <= 0) {
            std::fprintf(stderr, "the recorders did not start\n");
            return 1;
        }
        got += static_cast<size_t>(n);
    }

    CalvoxAPI_Init();
    const long rssBefore = StatusKb("VmRSS:");
    const int threadsBefore = CountThreads();

    std::atomic<long> events{0};
    const Calvox_EventCallback callback = [&events](Calvox_EventType, int, unsigned char*, int) {
        ++events;
        return 0;
    };
    std::vector<Calvox_DeviceHandle> handles;
    const auto setupStart = Clock::now();
    for (int i = 0; i < o.recorders; ++i) {
        const std::string id = RecorderId(i);
        const Calvox_DeviceHandle h = CalvoxAPI_CreateDevice(id.c_str());
        CalvoxAPI_SetNetAddr(h, "127.0.0.1", ports[static_cast<size_t>(i)]);
        CalvoxAPI_SetUserPassword(h, "admin", 5, "admin");  // the emulated recorders' default account
        if (CalvoxAPI_Login(h, 0) != 0) {
            std::fprintf(stderr, "login to recorder %d failed\n", i);
            return 1;
        }
        CalvoxAPI_CreateHeartbeatThread(h, &callback);
        handles.push_back(h);
    }
    int online = 0;
    for (int tries = 0; tries < 300 && online < o.recorders; ++tries) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        online = 0;
        for (Calvox_DeviceHandle h : handles)
            online += CalvoxAPI_ConnectStatus(h) == Calvox_Connect_Online;
    }
    const double setupSeconds = std::chrono::duration<double>(Clock::now() - setupStart).count();
    std::this_thread::sleep_for(std::chrono::seconds(2));  // the first rounds' detail reads are over

    const long eventsBefore = events.load();
    const auto measuredStart = Clock::now();
    std::vector<double> sdkPercent, floorPercent, threadFloorPercent, sdkSwitches;
    int threadFloorAnswered = 0;
    int floorAnswered = 0;
    for (int run = 0; run < o.runs; ++run) {
        const double cpuBefore = CpuSeconds(RUSAGE_SELF);
        const long switchesBefore = ContextSwitches();
        const auto start = Clock::now();
        std::this_thread::sleep_for(std::chrono::seconds(o.seconds));
        const double wall = std::chrono::duration<double>(Clock::now() - start).count();
        sdkPercent.push_back((CpuSeconds(RUSAGE_SELF) - cpuBefore) / wall * 100.0);
        // This thread's own sleep is one of them.
        sdkSwitches.push_back(static_cast<double>(ContextSwitches() - switchesBefore - 1) / wall / o.recorders);
        floorPercent.push_back(FloorCpuPerMinute(ports, o.seconds, &floorAnswered) / 60.0 * 100.0);
        threadFloorPercent.push_back(ThreadPerRecorderFloorPercent(ports, o.seconds, &threadFloorAnswered));
    }
    const double measured = std::chrono::duration<double>(Clock::now() - measuredStart).count();
    const long eventsInWindow = events.load() - eventsBefore;
    const long rssAfter = StatusKb("VmRSS:");
    const int threadsAfter = CountThreads();
    int stillOnline = 0;
    for (Calvox_DeviceHandle h : handles)
        stillOnline += CalvoxAPI_ConnectStatus(h) == Calvox_Connect_Online;

    const auto stopStart = Clock::now();
    for (Calvox_DeviceHandle h : handles) {
        CalvoxAPI_Logout(h);
        CalvoxAPI_DeleteDevice(h);
    }
    const double stopSeconds = std::chrono::duration<double>(Clock::now() - stopStart).count();
    CalvoxAPI_Exit();

    close(stopPipe[1]);
    int status = 0;
    waitpid(child, &status, 0);
    const double recorderCpu = CpuSeconds(RUSAGE_CHILDREN);

    const double n = o.recorders;
    std::printf("heartbeat benchmark: %d recorders x 64 channels, %s, %d runs of %d s each side\n", o.recorders,
                o.busy ? "one call per recorder (talk time ticking)" : "all lines idle", o.runs, o.seconds);
    std::printf("  online: %d after setup (%.1f s), %d at the end; events: %.2f per recorder per s; the floor got"
                " %d of %d answers per round\n",
                online, setupSeconds, stillOnline, eventsInWindow / n / measured, floorAnswered, o.recorders);
    bench::PrintSpread("  CPU, % of one core: SDK process", sdkPercent, "%", 50);
    bench::PrintSpread("  CPU, % of one core: floor (1 thread, 1 socket)", floorPercent, "%", 50);
    bench::PrintSpread("  CPU, % of one core: floor (a thread per recorder)", threadFloorPercent, "%", 50);
    std::printf("  SDK / thread-per-recorder floor, ratio of medians: %.1fx (that floor got %d of %d answers per"
                " round)\n",
                bench::RatioOfMedians(sdkPercent, threadFloorPercent), threadFloorAnswered, o.recorders);
    std::printf("  SDK / floor CPU, ratio of medians: %.1fx; SDK median per heartbeat round %.1f us\n",
                bench::RatioOfMedians(sdkPercent, floorPercent),
                bench::SpreadOf(sdkPercent).median / 100.0 / n * 1e6);
    bench::PrintSpread("  SDK context switches per heartbeat round", sdkSwitches, "", 50);
    // What a connection must hold for its heartbeat: the channel status records programs read (the heartbeat
    // refreshes them when a line changes), the per-channel values each round is compared with (line state,
    // playback, talk time, record counter, last phone state: 8 bytes a channel) and one reply of a 64-channel
    // summary with its request. Channel settings are not read by the heartbeat and are not part of it; the
    // kernel's socket buffers are not in the process's RSS.
    const size_t must = 64 * sizeof(Calvox_ChannelStatus) + 64 * 8 + (6 + 4 + 6 * 64) + (6 + 6);
    std::printf("  memory: RSS %ld KiB before, %ld KiB with the recorders: %.1f KiB per recorder;\n"
                "          floor %zu bytes per recorder (64 channel status records, 8 bytes of comparison values per\n"
                "          channel, a 394-byte summary reply and its request)\n",
                rssBefore, rssAfter, (rssAfter - rssBefore) / n, must);
    std::printf("  threads: %d before, %d with the recorders (%.1f per recorder); logout and delete of all: %.2f s\n",
                threadsBefore, threadsAfter, (threadsAfter - threadsBefore) / n, stopSeconds);
    std::printf("  (the emulated recorders, another process, used %.1f s CPU in all)\n", recorderCpu);
    return stillOnline == o.recorders ? 0 : 1;
}
