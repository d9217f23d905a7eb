#pragma once

// An HTTP/1.0 server on 127.0.0.1 (any free port) standing in for the update server in tests.

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <map>
#include <mutex>
#include <string>
#include <thread>

// An HTTP/1.0 server on 127.0.0.1 that answers each path with a fixed raw reply (status line, headers and
// body as given), 404 for other paths, from its own thread; counts the requests.
class LocalHttpServer
{
public:
    LocalHttpServer()
    {
        m_Socket = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        if (m_Socket < 0 || ::bind(m_Socket, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
            ::listen(m_Socket, 8) != 0 || ::getsockname(m_Socket, reinterpret_cast<sockaddr*>(&address), &length) != 0)
            return;
        m_Port = ntohs(address.sin_port);
        m_Thread = std::thread([this] { Loop(); });
    }
    ~LocalHttpServer()
    {
        m_Stop = true;
        if (m_Thread.joinable())
            m_Thread.join();
        if (m_Socket >= 0)
            ::close(m_Socket);
    }
    LocalHttpServer(const LocalHttpServer&) = delete;
    LocalHttpServer& operator=(const LocalHttpServer&) = delete;

    // 0 when the server could not start.
    int Port() const { return m_Port; }
    // A 200 reply with a correct Content-Length.
    void Serve(const std::string& path, const std::string& body)
    {
        ServeRaw(path, "HTTP/1.0 200 OK\r\nContent-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body);
    }
    void ServeRaw(const std::string& path, const std::string& reply)
    {
        std::lock_guard<std::mutex> lock(m_Mutex);
        m_Replies[path] = reply;
    }
    int Requests() const { return m_Requests; }
    // While silent, connections complete (the kernel queues them) but are neither accepted nor answered: a server
    // that never replies.
    void SetSilent(bool silent) { m_Silent = silent; }
    // True while a connection waits in the kernel's queue, unaccepted: a silent server's client is under way.
    bool HasWaitingConnection() const
    {
        pollfd p{m_Socket, POLLIN, 0};
        return ::poll(&p, 1, 0) > 0 && (p.revents & POLLIN) != 0;
    }
    // With an interval, a reply's header goes at once and its body one byte per interval (a slow server that
    // never falls silent); CutTrickle ends a trickling reply early by closing the connection.
    void SetTrickle(int intervalMs) { m_TrickleMs = intervalMs; }
    void CutTrickle() { m_CutTrickle = true; }

private:
    void Loop()
    {
        while (!m_Stop) {
            if (m_Silent) {
                ::usleep(20000);
                continue;
            }
            pollfd p{m_Socket, POLLIN, 0};
            // Silence may have begun during the poll: a connection made after SetSilent is never answered.
            if (::poll(&p, 1, 20) <= 0 || m_Silent)
                continue;
            const int client = ::accept(m_Socket, nullptr, nullptr);
            if (client < 0)
                continue;
            Answer(client);
            ::close(client);
        }
    }

    void Answer(int client)
    {
        std::string request;
        char buffer[1024];
        while (request.find("\r\n\r\n") == std::string::npos && request.size() < 8192) {
            pollfd p{client, POLLIN, 0};
            if (::poll(&p, 1, 2000) <= 0)
                return;
            const ssize_t n = ::recv(client, buffer, sizeof buffer, 0);
            if (n <= 0)
                return;
            request.append(buffer, static_cast<size_t>(n));
        }
        ++m_Requests;
        const size_t start = request.find(' ') + 1;
        const std::string path = request.substr(start, request.find(' ', start) - start);
        std::string reply = "HTTP/1.0 404 Not Found\r\nContent-Length: 9\r\n\r\nnot found";
        {
            std::lock_guard<std::mutex> lock(m_Mutex);
            const auto it = m_Replies.find(path);
            if (it != m_Replies.end())
                reply = it->second;
        }
        size_t sent = 0;
        while (sent < reply.size()) {
            const int trickle = m_TrickleMs;
            if (trickle > 0 && sent > 0) {
                if (m_Stop || m_CutTrickle)
                    return;  // the reply ends early
                ::usleep(static_cast<useconds_t>(trickle) * 1000);
            }
            const size_t piece = trickle > 0 ? (sent == 0 ? reply.find("\r\n\r\n") + 4 : 1) : reply.size() - sent;
            const ssize_t n = ::send(client, reply.data() + sent, std::min(piece, reply.size() - sent), MSG_NOSIGNAL);
            if (n <= 0)
                return;
            sent += static_cast<size_t>(n);
        }
    }

    int m_Socket = -1;
    int m_Port = 0;
    std::atomic<bool> m_Stop{false};
    std::atomic<bool> m_Silent{false};
    std::atomic<int> m_TrickleMs{0};
    std::atomic<bool> m_CutTrickle{false};
    std::atomic<int> m_Requests{0};
    std::mutex m_Mutex;
    std::map<std::string, std::string> m_Replies;
    std::thread m_Thread;
};
