#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TestHttpServers.h"
#include "Config.h"
#include "UpdateClient.h"

using namespace calvox;
using namespace calvox::test;
using Srv = ScriptedTcpServer;

namespace {

struct ProgramEvents {
    std::vector<std::string> order;  // "S0", "S12", "D5" ...
    std::vector<int> handles;
    std::string data;
};

Calvox_EventCallback Record(ProgramEvents* e, int answer = 0)
{
    return [e, answer](Calvox_EventType type, int handle, unsigned char* data, int length) {
        e->handles.push_back(handle);
        if (type == Calvox_Event_FileSize) {
            e->order.push_back("S" + std::to_string(length));
        } else if (type == Calvox_Event_FileData) {
            e->order.push_back("D" + std::to_string(length));
            e->data.append(reinterpret_cast<char*>(data), static_cast<size_t>(length));
        } else {
            e->order.push_back("?" + std::to_string(type));
        }
        return answer;
    };
}

const char kVersionJson[] =
    "{\"Version\": \"2.1.0.5\", \"Updates-English\": [\"x\", 3, \"y\"], \"Updates-Chinese\": []}";

}  // namespace

TEST(UpdateClient, VersionDocumentFromPythonServerArrivesWhole)
{
    PythonHttpServer server;
    ASSERT_NE(server.Port(), 0) << "python3 -m http.server did not start";
    server.WriteFile("KES2204S/Version.json", kVersionJson);
    server.WriteFile("CalvoxClient/Version.json", "{\"Version\": \"2.5.1.5\"}");
    ScopedEnv env("CALVOX_UPDATE_SERVER", server.Address());

    ProgramEvents device, client;
    EXPECT_EQ(FetchVersionDocument("KES2204S", 17, Record(&device, 1)), 0);  // the answer is not used
    EXPECT_EQ(device.order, (std::vector<std::string>{"D" + std::to_string(sizeof kVersionJson - 1)}));
    EXPECT_EQ(device.data, kVersionJson);
    EXPECT_EQ(device.handles, (std::vector<int>{17}));

    EXPECT_EQ(FetchVersionDocument("CalvoxClient", 0, Record(&client)), 0);
    EXPECT_EQ(client.data, "{\"Version\": \"2.5.1.5\"}");
    EXPECT_EQ(client.handles, (std::vector<int>{0}));
}

TEST(UpdateClient, VersionDocumentOutcomes)
{
    struct Case {
        const char* name;
        std::vector<Srv::Step> script;
        int result;
        std::string delivered;  // the one FileData event, or none when empty
    } cases[] = {
        {"pieces are gathered into one event",
         {Srv::Send(HttpResponse("200 OK", "Content-Length: 7\r\n", "{\"a\"")), Srv::Pause(20), Srv::Send(":1}")},
         0, "{\"a\":1}"},
        {"no Content-Length: success without an event",
         {Srv::Send(HttpResponse("200 OK", "", "{\"Version\":\"9\"}"))}, 0, ""},
        {"early close: failure, the partial body still delivered",
         {Srv::Send(HttpResponse("200 OK", "Content-Length: 50\r\n", "{\"Vers"))}, 3, "{\"Vers"},
        {"no server answer at all", {}, 3, ""},
        {"a document over 64 KiB is refused unread",
         {Srv::Send(HttpResponse("200 OK", "Content-Length: 65537\r\n", "{"))}, 3, ""},
    };
    for (Case& c : cases) {
        SCOPED_TRACE(c.name);
        Srv server(c.script);
        ScopedEnv env("CALVOX_UPDATE_SERVER", server.Address());
        ProgramEvents e;
        EXPECT_EQ(FetchVersionDocument("KES2204S", 5, Record(&e)), c.result);
        if (c.delivered.empty()) {
            EXPECT_TRUE(e.order.empty());
        } else {
            EXPECT_EQ(e.order, (std::vector<std::string>{"D" + std::to_string(c.delivered.size())}));
            EXPECT_EQ(e.data, c.delivered);
        }
        EXPECT_NE(server.LastRequest().find("GET /KES2204S/Version.json HTTP/1.0\r\n"), std::string::npos)
            << server.LastRequest();
    }
}

TEST(UpdateClient, FirmwareFromPythonServer)
{
    PythonHttpServer server;
    ASSERT_NE(server.Port(), 0) << "python3 -m http.server did not start";
    std::string image(10000, '\0');
    for (size_t i = 0; i < image.size(); ++i)
        image[i] = static_cast<char>(i % 253);
    server.WriteFile("KES2204S/KES2204S-2.1.0.5.bin", image);
    ScopedEnv env("CALVOX_UPDATE_SERVER", server.Address());

    ProgramEvents ok;
    ASSERT_EQ(DownloadFirmwareImage("KES2204S", "KES2204S-2.1.0.5.bin", 9, Record(&ok)), 0);
    ASSERT_GE(ok.order.size(), 3u);
    EXPECT_EQ(ok.order[0], "S0");
    EXPECT_EQ(ok.order[1], "S10000");
    EXPECT_TRUE(ok.data == image);

    // A missing image: the server's 404 page must not be delivered as firmware.
    ProgramEvents missing;
    EXPECT_EQ(DownloadFirmwareImage("KES2204S", "KES2204S-9.9.9.9.bin", 9, Record(&missing)), -1);
    EXPECT_TRUE(missing.order.empty());

    // The program cancels at its first event.
    ProgramEvents cancelled;
    EXPECT_EQ(DownloadFirmwareImage("KES2204S", "KES2204S-2.1.0.5.bin", 9, Record(&cancelled, 1)), -1);
    EXPECT_EQ(cancelled.order, (std::vector<std::string>{"S0"}));
}

TEST(UpdateClient, FirmwareOutcomes)
{
    struct Case {
        const char* name;
        std::vector<Srv::Step> script;
        int result;
        std::vector<std::string> order;
    } cases[] = {
        {"body with the header", {Srv::Send(HttpResponse("200 OK", "Content-Length: 3\r\n", "abc"))}, 0,
         {"S0", "S3", "D3"}},
        {"redirect is not followed and nothing is delivered",
         {Srv::Send(HttpResponse("302 Found", "Location: /x\r\nContent-Length: 3\r\n", "abc"))}, -1, {}},
        {"server error", {Srv::Send(HttpResponse("500 Oops", "Content-Length: 3\r\n", "abc"))}, -1, {}},
        {"200 without a body is no image", {Srv::Send(HttpResponse("200 OK", "", "abc"))}, -1, {"S0"}},
        {"early close", {Srv::Send(HttpResponse("200 OK", "Content-Length: 9\r\n", "abc"))}, -1,
         {"S0", "S9", "D3"}},
    };
    for (Case& c : cases) {
        SCOPED_TRACE(c.name);
        Srv server(c.script);
        ScopedEnv env("CALVOX_UPDATE_SERVER", server.Address());
        ProgramEvents e;
        EXPECT_EQ(DownloadFirmwareImage("KES2204S", "KES2204S-2.1.0.5.bin", 1, Record(&e)), c.result);
        EXPECT_EQ(e.order, c.order);
        EXPECT_NE(server.LastRequest().find("GET /KES2204S/KES2204S-2.1.0.5.bin HTTP/1.0\r\n"), std::string::npos);
    }
}

TEST(UpdateClient, ServerNameThatDoesNotResolveFails)
{
    ScopedEnv env("CALVOX_UPDATE_SERVER", "no-such-host.invalid:8081");
    ProgramEvents e;
    EXPECT_EQ(FetchVersionDocument("KES2204S", 1, Record(&e)), 3);
    EXPECT_EQ(DownloadFirmwareImage("KES2204S", "x.bin", 1, Record(&e)), -1);
    EXPECT_TRUE(e.order.empty());
}

TEST(UpdateClient, ServerSettingFollowsTheEnvironment)
{
    {
        ScopedEnv env("CALVOX_UPDATE_SERVER", "127.0.0.1:4567");
        const ServerAddress a = UpdateServerSetting();
        EXPECT_EQ(a.host, "127.0.0.1");
        EXPECT_EQ(a.port, 4567);
    }
    {
        ScopedEnv env("CALVOX_UPDATE_SERVER", "updates.example");
        const ServerAddress a = UpdateServerSetting();
        EXPECT_EQ(a.host, "updates.example");
        EXPECT_EQ(a.port, 81);
    }
    ScopedEnv env("CALVOX_UPDATE_SERVER", "");
    const ServerAddress a = UpdateServerSetting();
    EXPECT_FALSE(a.host.empty());
    EXPECT_EQ(a.port, 81);
}
