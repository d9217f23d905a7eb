// The real broadcast path: two private network namespaces joined by a veth pair, created and removed by this
// test. The recorder listens on 0.0.0.0:6066 in one; the search runs in the other over its real adapter list
// (getifaddrs) and sends to 255.255.255.255, which leaves through the veth only. Nothing reaches this
// machine's own network. Skipped where namespaces cannot be made (no privilege).
#include "CalvoxSDK.h"
#include "Search.h"

#include "EmuSearch.h"
#include "Emulator.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <sched.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <condition_variable>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <functional>
#include <future>
#include <mutex>
#include <string>
#include <thread>

using namespace calvox;

namespace {

// A thread that lives in a network namespace of its own, created at start and gone with the thread; work is
// run on it, and so are the commands it starts (a child process inherits the thread's namespace).
class NamespaceThread {
public:
    NamespaceThread()
    {
        std::promise<std::string> started;
        auto ready = started.get_future();
        thread_ = std::thread([this, &started] {
            if (::unshare(CLONE_NEWNET) != 0) {
                started.set_value(std::string("unshare(CLONE_NEWNET): ") + std::strerror(errno));
                return;
            }
            tid_ = static_cast<pid_t>(::syscall(SYS_gettid));
            started.set_value("");
            Loop();
        });
        error_ = ready.get();
        if (!error_.empty())
            thread_.join();
    }
    ~NamespaceThread()
    {
        if (thread_.joinable()) {
            Run([this] { stop_ = true; });
            thread_.join();
        }
    }
    const std::string& Error() const { return error_; }
    pid_t Tid() const { return tid_; }

    void Run(std::function<void()> work)
    {
        std::promise<void> done;
        auto finished = done.get_future();
        {
            std::lock_guard<std::mutex> lock(mutex_);
            queue_.push_back([&] {
                work();
                done.set_value();
            });
        }
        wake_.notify_one();
        finished.get();
    }

    // A shell command inside the namespace; its exit status.
    int Shell(const std::string& command)
    {
        int status = -1;
        Run([&] { status = std::system((command + " >/dev/null 2>&1").c_str()); });
        return status;
    }

private:
    void Loop()
    {
        while (!stop_) {
            std::function<void()> work;
            {
                std::unique_lock<std::mutex> lock(mutex_);
                wake_.wait(lock, [this] { return !queue_.empty(); });
                work = std::move(queue_.front());
                queue_.pop_front();
            }
            work();
        }
    }

    std::thread thread_;
    std::string error_;
    pid_t tid_ = 0;
    bool stop_ = false;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<std::function<void()>> queue_;
};

TEST(SearchNamespaceTest, FindsARecorderAcrossAVethPair)
{
    NamespaceThread recorderSide;
    if (!recorderSide.Error().empty())
        GTEST_SKIP() << "network namespaces cannot be made here (" << recorderSide.Error() << ")";
    NamespaceThread searcherSide;
    ASSERT_TRUE(searcherSide.Error().empty()) << searcherSide.Error();

    const std::string path = "PATH=/usr/sbin:/sbin:/usr/bin:/bin ";
    if (recorderSide.Shell(path + "ip link add cvxrec type veth peer name cvxsrch netns " +
                           std::to_string(searcherSide.Tid())) != 0)
        GTEST_SKIP() << "a veth pair cannot be made here (ip link add ... type veth failed)";
    ASSERT_EQ(recorderSide.Shell(path + "ip link set lo up && ip addr add 10.213.7.1/24 dev cvxrec && "
                                        "ip link set cvxrec up"),
              0);
    // The limited broadcast needs a route: the default one leads out of the veth.
    ASSERT_EQ(searcherSide.Shell(path + "ip link set lo up && ip addr add 10.213.7.2/24 dev cvxsrch && "
                                        "ip link set cvxsrch up && ip route add default dev cvxsrch"),
              0);

    emu::Emulator emulator;
    emu::Recorder* recorder = nullptr;
    recorderSide.Run([&] {
        emu::RecorderConfig config;
        config.id = "8B000000000000000123";  // KES32xxH, 64 channels
        config.bindAddress = "0.0.0.0";      // broadcasts arrive for the any-address only
        config.port = 6066;
        recorder = emulator.Add(config);
    });
    ASSERT_NE(recorder, nullptr);
    {
        std::lock_guard<std::mutex> lock(recorder->StateMutex());
        recorder->State<emu::SearchIdentity>().advertisedAddress = inet_addr("10.213.7.1");
    }

    std::vector<Calvox_FoundDeviceInfo> found;
    std::vector<int> progress;
    ClearSearchOverride();  // the real adapter list and the broadcast address
    searcherSide.Run([&] {
        Calvox_EventCallback callback = [&](Calvox_EventType type, int, unsigned char* data, int length) {
            if (type == Calvox_Event_FoundDevice) {
                Calvox_FoundDeviceInfo info;
                std::memcpy(&info, data, sizeof info);
                found.push_back(info);
            } else if (type == Calvox_Event_Progress) {
                progress.push_back(length);
            }
            return 0;
        };
        CalvoxAPI_SearchDevice(&callback);
    });
    emulator.Stop();

    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(std::string(found[0].ID, 20), "8B000000000000000123");
    EXPECT_STREQ(found[0].Model, "KES32xxH");
    EXPECT_STREQ(found[0].Address, "10.213.7.1");
    EXPECT_EQ(found[0].Port, 6066);
    // One local address (loopback is skipped): five rounds of 20.
    EXPECT_EQ(progress, (std::vector<int>{20, 40, 60, 80, 100}));
    const auto log = recorder->Log();
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log[0].from.sin_addr.s_addr, inet_addr("10.213.7.2"));
}

}  // namespace
