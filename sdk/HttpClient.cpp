#include "HttpClient.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>

#include "platform/Socket.h"
#include "platform/TcpSocket.h"

namespace calvox {

namespace {

bool IsUnsafeUrlChar(unsigned char c) { return c <= 0x20 || c == 0x7f; }

// Case-insensitive match of an ASCII prefix.
bool StartsWithNoCase(const std::string& text, size_t at, const char* prefix)
{
    const size_t n = std::strlen(prefix);
    if (text.size() - at < n)
        return false;
    for (size_t i = 0; i < n; ++i)
        if (std::tolower(static_cast<unsigned char>(text[at + i])) != std::tolower(static_cast<unsigned char>(prefix[i])))
            return false;
    return true;
}

// Status code of "HTTP/x.y NNN ...": -1 when the text does not begin with a status line.
int ParseStatusCode(const std::string& header)
{
    if (header.compare(0, 5, "HTTP/") != 0)
        return -1;
    const size_t space = header.find(' ');
    const size_t lineEnd = header.find("\r\n");
    if (space == std::string::npos || space > lineEnd)
        return -1;
    size_t i = space;
    while (i < lineEnd && header[i] == ' ')
        ++i;
    int code = 0, digits = 0;
    while (i < lineEnd && digits < 3 && std::isdigit(static_cast<unsigned char>(header[i]))) {
        code = code * 10 + (header[i] - '0');
        ++i;
        ++digits;
    }
    return digits == 3 ? code : -1;
}

// The value of the Content-Length header line. Header names are case-insensitive, and only a name at the
// start of a line counts. Returns -1 when the header is missing or its value is not a plain decimal number;
// a value too large for 64 bits reads as INT64_MAX so that any limit rejects it.
int64_t ParseContentLength(const std::string& header)
{
    size_t line = header.find("\r\n");
    while (line != std::string::npos) {
        line += 2;
        if (StartsWithNoCase(header, line, "Content-Length:")) {
            size_t i = line + std::strlen("Content-Length:");
            while (i < header.size() && (header[i] == ' ' || header[i] == '\t'))
                ++i;
            int64_t value = 0;
            size_t digits = 0;
            while (i < header.size() && std::isdigit(static_cast<unsigned char>(header[i]))) {
                if (value <= (INT64_MAX - 9) / 10)
                    value = value * 10 + (header[i] - '0');
                else
                    value = INT64_MAX;
                ++i;
                ++digits;
            }
            while (i < header.size() && (header[i] == ' ' || header[i] == '\t'))
                ++i;
            if (digits == 0 || header.compare(i, 2, "\r\n") != 0)
                return -1;
            return value;
        }
        line = header.find("\r\n", line);
    }
    return -1;
}

}  // namespace

bool ParseUrl(const char* text, HttpUrl* url)
{
    if (!text || !url)
        return false;
    while (*text == ' ')
        ++text;
    if (!*text)
        return false;
    std::string s(text);
    if (s.compare(0, 7, "http://") == 0)
        s.erase(0, 7);
    for (unsigned char c : s)
        if (IsUnsafeUrlChar(c))
            return false;
    const size_t slash = s.find('/');
    if (slash == std::string::npos)
        return false;
    std::string host = s.substr(0, slash);
    size_t p = slash;
    while (p < s.size() && s[p] == '/')
        ++p;
    int port = 80;
    const size_t colon = host.find(':');
    if (colon != std::string::npos) {
        const std::string digits = host.substr(colon + 1);
        host.erase(colon);
        if (digits.empty() || digits.size() > 5 ||
            !std::all_of(digits.begin(), digits.end(), [](unsigned char c) { return std::isdigit(c); }))
            return false;
        port = std::stoi(digits);
        if (port < 1 || port > 65535)
            return false;
    }
    if (host.empty())
        return false;
    url->host = host;
    url->port = port;
    url->path = s.substr(p);
    return true;
}

int HttpGet(const char* urlText, const HttpCallback& callback, const HttpLimits& limits)
{
    HttpUrl url;
    if (!callback || !ParseUrl(urlText, &url))
        return -1;
    const uint32_t address = net::Resolve(url.host.c_str());
    if (address == 0)
        return -1;
    TcpSocket socket;
    if (!socket.Connect(address, static_cast<uint16_t>(url.port), limits.connectTimeoutMs))
        return -1;

    const std::string request = "GET /" + url.path + " HTTP/1.0\r\nAccept: */*\r\nHOST: " + url.host + ":" +
                                std::to_string(url.port) + "\r\nConnection: close\r\n\r\n";
    if (!socket.SendAll(request.data(), request.size(), limits.receiveTimeoutMs))
        return -1;

    // The header must fit the buffer; one byte stays free for the terminator that ends every search.
    unsigned char buffer[kHttpBufferSize];
    int filled = 0;
    size_t headerLength = 0;
    for (;;) {
        const int n = socket.Receive(buffer + filled, kHttpBufferSize - 1 - filled, limits.receiveTimeoutMs);
        if (n <= 0)
            return -1;
        const int searchFrom = std::max(0, filled - 3);
        filled += n;
        buffer[filled] = 0;
        const unsigned char* end = static_cast<const unsigned char*>(
            memmem(buffer + searchFrom, static_cast<size_t>(filled - searchFrom), "\r\n\r\n", 4));
        if (end) {
            headerLength = static_cast<size_t>(end - buffer) + 4;
            break;
        }
        if (filled == kHttpBufferSize - 1)
            return -1;  // a header that fills the buffer without its blank line
    }
    const std::string header(reinterpret_cast<const char*>(buffer), headerLength);

    const int status = ParseStatusCode(header);
    if (status < 0)
        return -1;
    if (callback(HttpEvent_Header, nullptr, status) != 0)
        return -1;

    const int64_t contentLength = ParseContentLength(header);
    if (contentLength <= 0)
        return 0;  // no body announced: nothing is delivered
    if (contentLength > limits.maxContentLength || contentLength > INT32_MAX)
        return -1;
    if (callback(HttpEvent_ContentLength, nullptr, static_cast<int>(contentLength)) != 0)
        return -1;

    // Bytes that came with the header, clamped to the announced length: anything beyond it is not body.
    int64_t remaining = contentLength;
    const int64_t early = std::min<int64_t>(filled - static_cast<int64_t>(headerLength), remaining);
    if (early > 0) {
        if (callback(HttpEvent_Data, buffer + headerLength, static_cast<int>(early)) != 0)
            return -1;
        remaining -= early;
    }
    while (remaining > 0) {
        const int want = static_cast<int>(std::min<int64_t>(remaining, kHttpBufferSize));
        const int n = socket.Receive(buffer, want, limits.receiveTimeoutMs);
        if (n <= 0)
            return -1;
        if (callback(HttpEvent_Data, buffer, n) != 0)
            return -1;
        remaining -= n;
    }
    return 0;
}

}  // namespace calvox
