#pragma once
// A minimal HTTP/1.0 GET client for the update server. It streams the body to a callback in pieces and
// holds every size the server announces to a limit given by the caller, so a hostile or broken server can
// neither make it allocate without bound nor keep it waiting for ever.

#include <cstdint>
#include <functional>
#include <string>

#include "CalvoxSDK.h"  // HttpEventType

namespace calvox {

struct HttpUrl {
    std::string host;
    int port = 80;
    std::string path;  // without the leading '/'
};

// "[http://]host[:port]/path": leading blanks are skipped, the host part ends at the first '/', any further
// '/' that follow it are skipped. Fails on empty text, a missing '/', an empty host, a port outside 1..65535,
// and on control characters or blanks anywhere (they would break the request line).
bool ParseUrl(const char* text, HttpUrl* url);

// Events: HttpEvent_Header with null data and the status code as length; HttpEvent_ContentLength with the
// announced length; HttpEvent_Data with a piece of the body. A nonzero answer stops the transfer.
using HttpCallback = std::function<int(HttpEventType type, unsigned char* data, int length)>;

struct HttpLimits {
    int64_t maxContentLength = 64 * 1024;  // a larger announced body fails before any byte is delivered
    int connectTimeoutMs = 5000;
    int receiveTimeoutMs = 10000;          // longest silence between two pieces of the reply
};

// Size of the buffer that must hold the whole response header; a longer header fails.
constexpr int kHttpBufferSize = 4096;

// Fetches the URL. 0 when the response was complete (whatever its status code; also when it announced no
// body), -1 on any failure, on a stop by the callback or when the body ended before its announced length.
// Body pieces delivered before a failure are not taken back.
int HttpGet(const char* url, const HttpCallback& callback, const HttpLimits& limits = HttpLimits());

}  // namespace calvox
