#include <gtest/gtest.h>

#include "HttpClient.h"

using namespace calvox;

TEST(ParseUrl, AcceptsAndSplits)
{
    struct Case {
        const char* text;
        const char* host;
        int port;
        const char* path;
    } cases[] = {
        {"127.0.0.1:8081/KES2204S/Version.json", "127.0.0.1", 8081, "KES2204S/Version.json"},
        {"http://update.example/a", "update.example", 80, "a"},
        {"   host:81/", "host", 81, ""},
        {"host//CalvoxClient/Version.json", "host", 80, "CalvoxClient/Version.json"},
        {"host:65535/x", "host", 65535, "x"},
    };
    for (const Case& c : cases) {
        HttpUrl url;
        ASSERT_TRUE(ParseUrl(c.text, &url)) << c.text;
        EXPECT_EQ(url.host, c.host) << c.text;
        EXPECT_EQ(url.port, c.port) << c.text;
        EXPECT_EQ(url.path, c.path) << c.text;
    }
}

TEST(ParseUrl, RejectsWhatCannotBeRequested)
{
    const char* cases[] = {
        "", "   ", "host-without-slash", "/path-without-host", "http:///x", "host:/x", "host:0/x",
        "host:65536/x", "host:8a/x", "host:123456/x",
        "host/a b",                         // a blank would end the request target
        "host/x\r\nX-Injected: 1",          // a line break would add a header
        "host/x\ty",
    };
    for (const char* text : cases) {
        HttpUrl url;
        EXPECT_FALSE(ParseUrl(text, &url)) << text;
    }
    HttpUrl url;
    EXPECT_FALSE(ParseUrl(nullptr, &url));
}
