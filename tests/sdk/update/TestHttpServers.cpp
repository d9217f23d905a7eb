#include "TestHttpServers.h"

#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

namespace calvox::test {

namespace fs = std::filesystem;

PythonHttpServer::PythonHttpServer()
{
    char pattern[] = "/tmp/calvox-http-XXXXXX";
    if (!mkdtemp(pattern))
        return;
    root_ = pattern;
    int out[2];
    if (pipe2(out, O_CLOEXEC) != 0)
        return;
    pid_ = fork();
    if (pid_ == 0) {
        dup2(out[1], STDOUT_FILENO);
        const int devnull = open("/dev/null", O_WRONLY);
        if (devnull >= 0)
            dup2(devnull, STDERR_FILENO);  // the access log
        execlp("python3", "python3", "-u", "-m", "http.server", "0", "--bind", "127.0.0.1", "--directory",
               root_.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    close(out[1]);
    if (pid_ < 0) {
        close(out[0]);
        return;
    }
    // The server announces its port on its first line: "Serving HTTP on 127.0.0.1 port N (...".
    std::string line;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (line.find('\n') == std::string::npos && std::chrono::steady_clock::now() < deadline) {
        pollfd p{out[0], POLLIN, 0};
        if (poll(&p, 1, 200) <= 0)
            continue;
        char c[256];
        const ssize_t n = read(out[0], c, sizeof c);
        if (n <= 0)
            break;
        line.append(c, static_cast<size_t>(n));
    }
    close(out[0]);
    const size_t at = line.find(" port ");
    if (at != std::string::npos)
        port_ = std::atoi(line.c_str() + at + 6);
}

PythonHttpServer::~PythonHttpServer()
{
    if (pid_ > 0) {
        kill(pid_, SIGTERM);
        waitpid(pid_, nullptr, 0);
    }
    if (!root_.empty()) {
        std::error_code ec;
        fs::remove_all(root_, ec);
    }
}

void PythonHttpServer::WriteFile(const std::string& relativePath, const std::string& bytes) const
{
    const fs::path path = fs::path(root_) / relativePath;
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
}

ScriptedTcpServer::ScriptedTcpServer(std::vector<Step> script) : script_(std::move(script))
{
    listenFd_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in sa{};
    sa.sin_family = AF_INET;
    sa.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof sa;
    if (listenFd_ < 0 || bind(listenFd_, reinterpret_cast<sockaddr*>(&sa), sizeof sa) != 0 ||
        listen(listenFd_, 8) != 0 || getsockname(listenFd_, reinterpret_cast<sockaddr*>(&sa), &len) != 0)
        return;
    port_ = ntohs(sa.sin_port);
    thread_ = std::thread([this] { Serve(); });
}

ScriptedTcpServer::~ScriptedTcpServer()
{
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stop_ = true;
    }
    stopped_.notify_all();
    if (thread_.joinable())
        thread_.join();
    if (listenFd_ >= 0)
        close(listenFd_);
}

std::string ScriptedTcpServer::LastRequest() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return lastRequest_;
}

void ScriptedTcpServer::Serve()
{
    while (!stop_) {
        pollfd p{listenFd_, POLLIN, 0};
        if (poll(&p, 1, 50) <= 0)
            continue;
        const int fd = accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC);
        if (fd < 0)
            continue;
        ++connections_;
        PlayScript(fd);
        close(fd);
    }
}

void ScriptedTcpServer::PlayScript(int fd)
{
    const bool readRequest = script_.empty() || script_.front().kind != Step::Hang;
    if (readRequest) {
        std::string request;
        char buffer[1024];
        while (request.find("\r\n\r\n") == std::string::npos && !stop_) {
            pollfd p{fd, POLLIN, 0};
            if (poll(&p, 1, 50) <= 0)
                continue;
            const ssize_t n = recv(fd, buffer, sizeof buffer, 0);
            if (n <= 0)
                return;
            request.append(buffer, static_cast<size_t>(n));
        }
        std::lock_guard<std::mutex> lock(mutex_);
        lastRequest_ = request;
    }
    for (const Step& step : script_) {
        if (step.kind == Step::Send) {
            if (send(fd, step.bytes.data(), step.bytes.size(), MSG_NOSIGNAL) != static_cast<ssize_t>(step.bytes.size()))
                return;
        } else if (step.kind == Step::Pause) {
            std::unique_lock<std::mutex> lock(mutex_);
            stopped_.wait_for(lock, std::chrono::milliseconds(step.ms), [this] { return stop_.load(); });
        } else {
            std::unique_lock<std::mutex> lock(mutex_);
            stopped_.wait(lock, [this] { return stop_.load(); });
        }
    }
}

std::string HttpResponse(const std::string& status, const std::string& headers, const std::string& body)
{
    return "HTTP/1.0 " + status + "\r\n" + headers + "\r\n" + body;
}

ScopedEnv::ScopedEnv(const char* name, const std::string& value) : name_(name)
{
    if (const char* old = std::getenv(name)) {
        had_ = true;
        old_ = old;
    }
    setenv(name, value.c_str(), 1);
}

ScopedEnv::~ScopedEnv()
{
    if (had_)
        setenv(name_.c_str(), old_.c_str(), 1);
    else
        unsetenv(name_.c_str());
}

}  // namespace calvox::test
