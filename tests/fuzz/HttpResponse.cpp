// An update server on 127.0.0.1 that answers HttpGet's request with the input: byte 0 picks the limits (a
// version document or a firmware image) and how many pieces the answer is written in, the rest is the
// response as it goes on the wire. The body pieces are checked against what HttpGet announced.
#include "FuzzEntries.h"

#include "HttpClient.h"

#include <arpa/inet.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

namespace calvox::fuzz {
namespace {

int Listen(uint16_t* port)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (fd < 0 || ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || ::listen(fd, 4) != 0 ||
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0)
        std::abort();
    *port = ntohs(address.sin_port);
    return fd;
}

// Reads the request to its blank line, then writes the response in `pieces` parts and closes.
void Serve(int listener, const uint8_t* data, size_t size, int pieces)
{
    const int fd = ::accept4(listener, nullptr, nullptr, SOCK_CLOEXEC);
    if (fd < 0)
        return;
    std::string request;
    char buffer[1024];
    while (request.find("\r\n\r\n") == std::string::npos) {
        const ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
        if (n <= 0)
            break;
        request.append(buffer, static_cast<size_t>(n));
    }
    const int one = 1;
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    size_t sent = 0;
    for (int p = 1; p <= pieces && sent < size; ++p) {
        const size_t end = p == pieces ? size : size * p / pieces;
        if (end > sent && ::send(fd, data + sent, end - sent, MSG_NOSIGNAL) < 0)
            break;
        sent = end;
        if (p < pieces)
            ::usleep(200);
    }
    ::shutdown(fd, SHUT_WR);
    // Lets the client read to the end before the socket goes, so it sees the close, not a reset.
    while (::recv(fd, buffer, sizeof buffer, 0) > 0) {
    }
    ::close(fd);
}

}  // namespace

int HttpResponse(const uint8_t* data, size_t size)
{
    if (size < 1)
        return 0;
    static uint16_t port = 0;
    static const int listener = Listen(&port);
    const uint8_t mode = data[0];
    const int pieces = 1 + (mode >> 1) % 4;

    HttpLimits limits;
    limits.maxContentLength = mode & 1 ? 128 * 1024 * 1024 : 64 * 1024;
    limits.connectTimeoutMs = 1000;
    limits.receiveTimeoutMs = 1000;
    std::thread server(Serve, listener, data + 1, size - 1, pieces);
    int64_t announced = -1;
    int64_t delivered = 0;
    unsigned sum = 0;
    const std::string url = "127.0.0.1:" + std::to_string(port) + "/model/Version.json";
    HttpGet(url.c_str(), [&](HttpEventType type, unsigned char* bytes, int length) {
        if (type == HttpEvent_ContentLength)
            announced = length;
        if (type == HttpEvent_Data) {
            for (int i = 0; i < length; ++i)
                sum += bytes[i];
            delivered += length;
            // Never more body than announced.
            if (announced < 0 || delivered > announced)
                std::abort();
        }
        return 0;
    }, limits);
    server.join();
    Keep(sum);
    return 0;
}

}  // namespace calvox::fuzz
