// recorder-emulator: virtual recorders on UDP for trying the SDK by hand or from scripts.
//   recorder-emulator [--bind ADDR] [--port PORT] [--id ID]... [--seed N] [--drop-requests P] [--drop-replies P]
//                     [--duplicate P] [--delay MS] [--reorder P] [--storage DIR] [--verbose]
// Each --id starts one recorder on the --bind and --port given before it (defaults 127.0.0.1, 6066); without
// --id one recorder with the default ID starts. --storage serves DIR as every recorder's storage (its record
// tree is DIR/RecordFiles). Runs until SIGINT or SIGTERM.
#include "EmuFiles.h"
#include "Emulator.h"

#include <arpa/inet.h>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>

namespace {

volatile std::sig_atomic_t g_stop = 0;
void OnSignal(int) { g_stop = 1; }

int Usage()
{
    std::fprintf(stderr,
                 "usage: recorder-emulator [--bind ADDR] [--port PORT] [--id ID]... [--seed N] [--drop-requests P]\n"
                 "                         [--drop-replies P] [--duplicate P] [--delay MS] [--reorder P] [--storage DIR]\n"
                 "                         [--verbose]\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv)
{
    using namespace calvox::emu;
    std::string bind = "127.0.0.1";
    int port = kDevicePort;
    Faults faults;
    bool verbose = false;
    std::string storage;
    std::vector<RecorderConfig> configs;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        auto value = [&]() -> const char* { return i + 1 < argc ? argv[++i] : nullptr; };
        const char* v = nullptr;
        if (arg == "--verbose") {
            verbose = true;
            continue;
        }
        if (arg == "--help" || arg == "-h") {
            Usage();
            return 0;
        }
        if (!(v = value()))
            return Usage();
        if (arg == "--bind")
            bind = v;
        else if (arg == "--port")
            port = std::atoi(v);
        else if (arg == "--id")
            configs.push_back(RecorderConfig{v, bind, static_cast<uint16_t>(port), {}});
        else if (arg == "--seed")
            faults.seed = static_cast<uint32_t>(std::strtoul(v, nullptr, 10));
        else if (arg == "--drop-requests")
            faults.dropRequests = std::atof(v);
        else if (arg == "--drop-replies")
            faults.dropReplies = std::atof(v);
        else if (arg == "--duplicate")
            faults.duplicateReplies = std::atof(v);
        else if (arg == "--delay")
            faults.delayMs = std::atoi(v);
        else if (arg == "--reorder")
            faults.reorderReplies = std::atof(v);
        else if (arg == "--storage")
            storage = v;
        else
            return Usage();
    }
    if (configs.empty())
        configs.push_back(RecorderConfig{kDefaultId, bind, static_cast<uint16_t>(port), {}});

    std::signal(SIGINT, OnSignal);
    std::signal(SIGTERM, OnSignal);
    Emulator emulator;
    for (RecorderConfig& c : configs) {
        c.faults = faults;
        Recorder* r = emulator.Add(c);
        if (!r) {
            std::fprintf(stderr, "recorder-emulator: cannot bind %s:%u for %s\n", c.bindAddress.c_str(), c.port,
                         c.id.c_str());
            return 1;
        }
        if (!storage.empty())
            ServeFiles(*r, storage);
        std::printf("recorder %s (%d channels) on %s:%u\n", r->Id().c_str(), r->Channels(), c.bindAddress.c_str(),
                    r->Port());
    }
    std::fflush(stdout);

    std::vector<size_t> shown(emulator.Recorders().size(), 0);
    while (!g_stop) {
        usleep(100 * 1000);
        if (!verbose)
            continue;
        for (size_t i = 0; i < emulator.Recorders().size(); ++i) {
            const auto log = emulator.Recorders()[i]->Log();
            for (; shown[i] < log.size(); ++shown[i]) {
                const LoggedRequest& r = log[shown[i]];
                char from[INET_ADDRSTRLEN] = {};
                inet_ntop(AF_INET, &r.from.sin_addr, from, sizeof from);
                std::printf("%s: command %u, %zu payload bytes from %s:%u%s\n", r.recorderId.c_str(), r.command,
                            r.payload.size(), from, ntohs(r.from.sin_port), r.dropped ? " (dropped)" : "");
            }
        }
        std::fflush(stdout);
    }
    emulator.Stop();
    return 0;
}
