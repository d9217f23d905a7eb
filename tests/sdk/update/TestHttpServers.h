#pragma once
// Two update servers for tests, both on 127.0.0.1 with a free port: Python's stock http.server serving a
// temporary folder (a real server with real replies), and a scripted TCP server that answers with exactly
// the bytes, pauses and closes a test asks for (the broken servers a real one never is).

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <string>
#include <sys/types.h>
#include <thread>
#include <vector>

namespace calvox::test {

class PythonHttpServer {
public:
    PythonHttpServer();  // starts the server; Port() is 0 when it could not start
    ~PythonHttpServer();
    PythonHttpServer(const PythonHttpServer&) = delete;
    PythonHttpServer& operator=(const PythonHttpServer&) = delete;

    int Port() const { return port_; }
    std::string Address() const { return "127.0.0.1:" + std::to_string(port_); }
    // Writes a file below the served folder, creating its folders.
    void WriteFile(const std::string& relativePath, const std::string& bytes) const;

private:
    std::string root_;
    pid_t pid_ = -1;
    int port_ = 0;
};

class ScriptedTcpServer {
public:
    struct Step {
        enum Kind { Send, Pause, Hang } kind;
        std::string bytes;  // Send
        int ms = 0;         // Pause
    };
    static Step Send(std::string bytes) { return {Step::Send, std::move(bytes), 0}; }
    static Step Pause(int ms) { return {Step::Pause, {}, ms}; }
    static Step Hang() { return {Step::Hang, {}, 0}; }  // keeps the connection open until the server ends

    // Every connection reads the request up to its blank line (unless the script begins with Hang), then
    // plays the script and closes.
    explicit ScriptedTcpServer(std::vector<Step> script);
    ~ScriptedTcpServer();
    ScriptedTcpServer(const ScriptedTcpServer&) = delete;
    ScriptedTcpServer& operator=(const ScriptedTcpServer&) = delete;

    int Port() const { return port_; }
    std::string Address() const { return "127.0.0.1:" + std::to_string(port_); }
    std::string Url(const std::string& path) const { return Address() + "/" + path; }
    std::string LastRequest() const;
    int Connections() const { return connections_; }

private:
    void Serve();
    void PlayScript(int fd);

    std::vector<Step> script_;
    int listenFd_ = -1;
    int port_ = 0;
    std::atomic<bool> stop_{false};
    std::atomic<int> connections_{0};
    mutable std::mutex mutex_;
    std::condition_variable stopped_;
    std::string lastRequest_;
    std::thread thread_;
};

// "HTTP/1.0 <status>\r\n" + headers + "\r\n" + body; headers are given whole, each ending in "\r\n".
std::string HttpResponse(const std::string& status, const std::string& headers, const std::string& body);

// Sets an environment variable for the lifetime of the object and restores the old value after.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const std::string& value);
    ~ScopedEnv();

private:
    std::string name_;
    bool had_ = false;
    std::string old_;
};

}  // namespace calvox::test
