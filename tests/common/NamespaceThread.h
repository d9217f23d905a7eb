#pragma once

// A thread that lives in a network namespace of its own, for tests that must broadcast: nothing they send can
// leave this machine.

#include <sched.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <condition_variable>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <functional>
#include <future>
#include <mutex>
#include <string>
#include <thread>

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
