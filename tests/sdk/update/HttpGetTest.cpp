#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "HttpClient.h"
#include "TestHttpServers.h"

using namespace calvox;
using namespace calvox::test;
using Srv = ScriptedTcpServer;

namespace {

struct Events {
    std::vector<std::string> order;  // "H200", "L12", "D5" ...
    int status = -1;
    long long contentLength = -1;
    std::string body;
    int pieces = 0;
};

HttpCallback Record(Events* e, int stopAtPiece = 0)
{
    return [e, stopAtPiece](HttpEventType type, unsigned char* data, int length) {
        if (type == HttpEvent_Header) {
            EXPECT_EQ(data, nullptr);
            e->status = length;
            e->order.push_back("H" + std::to_string(length));
        } else if (type == HttpEvent_ContentLength) {
            e->contentLength = length;
            e->order.push_back("L" + std::to_string(length));
        } else {
            e->body.append(reinterpret_cast<char*>(data), static_cast<size_t>(length));
            e->order.push_back("D" + std::to_string(length));
            if (++e->pieces == stopAtPiece)
                return 1;
        }
        return 0;
    };
}

HttpLimits FastLimits()
{
    HttpLimits l;
    l.connectTimeoutMs = 2000;
    l.receiveTimeoutMs = 300;
    return l;
}

}  // namespace

TEST(HttpGet, SendsTheRequestLineAndHeaders)
{
    Srv server({Srv::Send(HttpResponse("200 OK", "Content-Length: 2\r\n", "ok"))});
    Events e;
    ASSERT_EQ(HttpGet(server.Url("KES2204S/Version.json").c_str(), Record(&e), FastLimits()), 0);
    EXPECT_EQ(server.LastRequest(), "GET /KES2204S/Version.json HTTP/1.0\r\nAccept: */*\r\nHOST: 127.0.0.1:" +
                                        std::to_string(server.Port()) + "\r\nConnection: close\r\n\r\n");
    EXPECT_EQ(e.order, (std::vector<std::string>{"H200", "L2", "D2"}));
    EXPECT_EQ(e.body, "ok");
}

// Replies whose bytes arrive in one segment, in pieces, or carry more or less than they announce.
TEST(HttpGet, ResponseShapes)
{
    const std::string big(10000, 'x');
    struct Case {
        const char* name;
        std::vector<Srv::Step> script;
        int result;
        std::vector<std::string> order;
        std::string body;
    } cases[] = {
        {"body in the header's segment is one piece",
         {Srv::Send(HttpResponse("200 OK", "Content-Length: 5\r\n", "hello"))}, 0, {"H200", "L5", "D5"}, "hello"},
        {"body after the header arrives in its own pieces",
         {Srv::Send(HttpResponse("200 OK", "Content-Length: 5\r\n", "")), Srv::Pause(30), Srv::Send("hel"),
          Srv::Pause(30), Srv::Send("lo")},
         0, {"H200", "L5", "D3", "D2"}, "hello"},
        {"header split across segments, even inside its blank line",
         {Srv::Send("HTTP/1.0 200 OK\r\nContent-Len"), Srv::Pause(30), Srv::Send("gth: 3\r\n\r"), Srv::Pause(30),
          Srv::Send("\nabc")},
         0, {"H200", "L3", "D3"}, "abc"},
        {"no Content-Length: complete, nothing delivered",
         {Srv::Send(HttpResponse("200 OK", "Content-Type: text/plain\r\n", "ignored body"))}, 0, {"H200"}, ""},
        {"Content-Length 0: complete, nothing delivered",
         {Srv::Send(HttpResponse("200 OK", "Content-Length: 0\r\n", ""))}, 0, {"H200"}, ""},
        {"header names in any case", {Srv::Send(HttpResponse("200 OK", "content-LENGTH:2\r\n", "ab"))}, 0,
         {"H200", "L2", "D2"}, "ab"},
        {"body longer than announced is clamped in the header's segment",
         {Srv::Send(HttpResponse("200 OK", "Content-Length: 4\r\n", "abcdEXTRA"))}, 0, {"H200", "L4", "D4"}, "abcd"},
        {"a later segment never adds bytes past the announced length",
         {Srv::Send(HttpResponse("200 OK", "Content-Length: 4\r\n", "ab")), Srv::Pause(30), Srv::Send("cdEXTRA")},
         0, {"H200", "L4", "D2", "D2"}, "abcd"},
        {"a large body comes in pieces of at most 4096 bytes",
         {Srv::Send(HttpResponse("200 OK", "Content-Length: 10000\r\n", "")), Srv::Send(big)}, 0, {}, big},
        {"early close gives -1 after delivering what came",
         {Srv::Send(HttpResponse("200 OK", "Content-Length: 100\r\n", "partial"))}, -1, {"H200", "L100", "D7"},
         "partial"},
        {"status is reported, whatever it is",
         {Srv::Send(HttpResponse("404 Not Found", "Content-Length: 3\r\n", "nope"))}, 0, {"H404", "L3", "D3"},
         "nop"},
        {"no status line", {Srv::Send("SMTP ready\r\n\r\n")}, -1, {}, ""},
        {"status line without a code", {Srv::Send("HTTP/1.0 OK\r\nContent-Length: 1\r\n\r\nx")}, -1, {}, ""},
        {"closed before the header ended", {Srv::Send("HTTP/1.0 200 OK\r\nContent-Length: 1\r\n")}, -1, {}, ""},
        {"closed without a byte", {}, -1, {}, ""},
        {"header that fills the buffer without its blank line",
         {Srv::Send("HTTP/1.0 200 OK\r\nX-Pad: " + std::string(5000, 'p') + "\r\n\r\n")}, -1, {}, ""},
        {"announced length over the limit is refused before any body event",
         {Srv::Send(HttpResponse("200 OK", "Content-Length: 65537\r\n", "x"))}, -1, {"H200"}, ""},
        {"announced length past 64 bits is refused",
         {Srv::Send(HttpResponse("200 OK", "Content-Length: 99999999999999999999999\r\n", "x"))}, -1, {"H200"}, ""},
        {"malformed length reads as none",
         {Srv::Send(HttpResponse("200 OK", "Content-Length: -5\r\n", "x"))}, 0, {"H200"}, ""},
    };
    for (Case& c : cases) {
        SCOPED_TRACE(c.name);
        Srv server(c.script);
        Events e;
        EXPECT_EQ(HttpGet(server.Url("f").c_str(), Record(&e), FastLimits()), c.result);
        if (!c.order.empty()) {
            EXPECT_EQ(e.order, c.order);
        }
        EXPECT_EQ(e.body, c.body);
        for (const std::string& o : e.order) {
            if (o[0] == 'D') {
                EXPECT_LE(std::stoi(o.substr(1)), 4096);
            }
        }
    }
}

TEST(HttpGet, HeaderThatJustFitsIsAccepted)
{
    // Status line and blank line around padding so the header is exactly 4095 bytes, the buffer less its
    // terminator.
    const std::string head = "HTTP/1.0 200 OK\r\nContent-Length: 1\r\nX-Pad: ";
    const std::string tail = "\r\n\r\n";
    const std::string header = head + std::string(4095 - head.size() - tail.size(), 'p') + tail;
    ASSERT_EQ(header.size(), 4095u);
    Srv server({Srv::Send(header), Srv::Pause(30), Srv::Send("z")});
    Events e;
    EXPECT_EQ(HttpGet(server.Url("f").c_str(), Record(&e), FastLimits()), 0);
    EXPECT_EQ(e.body, "z");
}

TEST(HttpGet, NonzeroAnswerStops)
{
    // A stop at the header, and at the first piece even when that piece came with the header.
    Srv server({Srv::Send(HttpResponse("200 OK", "Content-Length: 5\r\n", "hello"))});
    int calls = 0;
    EXPECT_EQ(HttpGet(server.Url("f").c_str(), [&](HttpEventType, unsigned char*, int) { return ++calls, 1; },
                      FastLimits()),
              -1);
    EXPECT_EQ(calls, 1);
    Events e;
    EXPECT_EQ(HttpGet(server.Url("f").c_str(), Record(&e, 1), FastLimits()), -1);
    EXPECT_EQ(e.order, (std::vector<std::string>{"H200", "L5", "D5"}));
}

TEST(HttpGet, SilentServerIsEndedByTheTimeOut)
{
    for (auto script : {std::vector<Srv::Step>{Srv::Hang()},  // never reads, never answers
                        std::vector<Srv::Step>{Srv::Send("HTTP/1.0 200 OK\r\n"), Srv::Hang()},
                        std::vector<Srv::Step>{Srv::Send(HttpResponse("200 OK", "Content-Length: 9\r\n", "abc")),
                                               Srv::Hang()}}) {
        Srv server(script);
        Events e;
        const auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(HttpGet(server.Url("f").c_str(), Record(&e), FastLimits()), -1);
        const auto took = std::chrono::steady_clock::now() - start;
        EXPECT_LT(took, std::chrono::seconds(3));
    }
}

TEST(HttpGet, UnreachableServers)
{
    Events e;
    // A port on which nobody listens: bind one, learn it, close it.
    int port;
    {
        Srv gone({});
        port = gone.Port();
    }
    EXPECT_EQ(HttpGet(("127.0.0.1:" + std::to_string(port) + "/f").c_str(), Record(&e), FastLimits()), -1);
    EXPECT_EQ(HttpGet("no-such-host.invalid/f", Record(&e), FastLimits()), -1);
    EXPECT_EQ(HttpGet("not a url", Record(&e), FastLimits()), -1);
    EXPECT_TRUE(e.order.empty());
}

TEST(HttpGet, AgainstPythonHttpServer)
{
    PythonHttpServer server;
    ASSERT_NE(server.Port(), 0) << "python3 -m http.server did not start";
    std::string image(300000, '\0');
    for (size_t i = 0; i < image.size(); ++i)
        image[i] = static_cast<char>(i * 7 + i / 251);
    server.WriteFile("KES2204S/KES2204S-2.1.0.5.bin", image);
    Events e;
    HttpLimits limits = FastLimits();
    limits.receiveTimeoutMs = 5000;
    limits.maxContentLength = 1 << 20;
    ASSERT_EQ(HttpGet((server.Address() + "/KES2204S/KES2204S-2.1.0.5.bin").c_str(), Record(&e), limits), 0);
    EXPECT_EQ(e.status, 200);
    EXPECT_EQ(e.contentLength, 300000);
    EXPECT_TRUE(e.body == image);

    Events missing;
    EXPECT_EQ(HttpGet((server.Address() + "/KES2204S/none.bin").c_str(), Record(&missing), limits), 0);
    EXPECT_EQ(missing.status, 404);
}
