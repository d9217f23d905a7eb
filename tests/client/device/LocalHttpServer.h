#pragma once

// A small HTTP/1.0 file server on 127.0.0.1 (any free port) for the update-server requests: serves bodies by
// path from its own thread, 404 for anything else, and counts the requests.

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <map>
#include <mutex>
#include <string>
#include <thread>

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
    void Serve(const std::string& path, const std::string& body)
    {
        std::lock_guard<std::mutex> lock(m_Mutex);
        m_Files[path] = body;
    }
    int Requests() const { return m_Requests; }

private:
    void Loop()
    {
        while (!m_Stop) {
            pollfd p{m_Socket, POLLIN, 0};
            if (::poll(&p, 1, 20) <= 0)
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
        std::string reply;
        {
            std::lock_guard<std::mutex> lock(m_Mutex);
            const auto it = m_Files.find(path);
            const std::string body = it != m_Files.end() ? it->second : std::string("not found");
            reply = std::string(it != m_Files.end() ? "HTTP/1.0 200 OK" : "HTTP/1.0 404 Not Found") +
                    "\r\nContent-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body;
        }
        ::send(client, reply.data(), reply.size(), MSG_NOSIGNAL);
    }

    int m_Socket = -1;
    int m_Port = 0;
    std::atomic<bool> m_Stop{false};
    std::atomic<int> m_Requests{0};
    std::mutex m_Mutex;
    std::map<std::string, std::string> m_Files;
    std::thread m_Thread;
};
