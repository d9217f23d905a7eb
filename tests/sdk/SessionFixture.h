// The rig of EmulatedDevice (one emulated recorder on 127.0.0.1, one SDK connection addressed to it, waits
// scaled down) with a fake UPnP gateway in place, so no test here can reach a real network, and helpers for
// logging in and reading what the recorder received.
#pragma once

#include "CalvoxSDK.h"
#include "Device.h"
#include "EmuSessions.h"
#include "EmulatedDevice.h"
#include "FakeUpnpGateway.h"
#include "HandleTable.h"
#include "Md5.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>

#include <cstring>
#include <string>

namespace calvox::test {

class SessionFixture : public ::testing::Test {
protected:
    // First character '4': model KES2204S with 4 channels.
    static constexpr const char* kId = "4B000000000000000007";
    static constexpr int kChannels = 4;

    void SetUp() override
    {
        ASSERT_TRUE(rig.Ready());
        ASSERT_EQ(CalvoxAPI_SetNetAddr(handle, "127.0.0.1", recorder->Port()), 0);
    }

    std::shared_ptr<Calvox_Device> Device() const { return FindDevice(handle); }

    // Adds an account to the recorder's user table.
    void AddUser(const std::string& name, const char* password, uint64_t channelMask = ~0ull,
                 uint32_t permission = 0x1F)
    {
        emu::UserAccount account;
        account.name = name;
        Md5OfText(password, account.passwordMd5.data());
        account.channelMask = channelMask;
        account.permission = permission;
        std::lock_guard<std::mutex> lock(recorder->StateMutex());
        recorder->State<emu::LoginState>().users.push_back(account);
    }

    int LoginAs(const char* user, const char* password, int remote = 0)
    {
        EXPECT_EQ(CalvoxAPI_SetUserPassword(handle, user, static_cast<int>(std::strlen(user)), password), 0);
        return CalvoxAPI_Login(handle, remote);
    }

    // Runs `f` on the recorder's state of type T while its handlers are held off.
    template <class T, class F>
    auto WithState(F f)
    {
        std::lock_guard<std::mutex> lock(recorder->StateMutex());
        return f(recorder->State<T>());
    }

    // The payload of the last request with this command that the recorder received.
    std::vector<uint8_t> LastPayload(uint8_t command) const
    {
        std::vector<uint8_t> payload;
        for (const emu::LoggedRequest& r : recorder->Log())
            if (r.command == command)
                payload = r.payload;
        return payload;
    }

    ScopedFakeGateway gateway;
    EmulatedDevice rig{kId};
    emu::Emulator& emulator = rig.emulator;
    emu::Recorder* recorder = rig.recorder;
    Calvox_DeviceHandle handle = rig.handle;
};

inline sockaddr_in Loopback(uint16_t port)
{
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    a.sin_port = htons(port);
    return a;
}

}  // namespace calvox::test
