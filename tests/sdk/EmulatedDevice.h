// Test rig for white-box SDK tests (link calvoxsdk_internal and recorder_emulator): one virtual recorder on
// 127.0.0.1 (any free port) and a connection object created through the export, pointed at the recorder.
// Waits are scaled while the rig lives (SetTimeScale); pass 1 for the real constants.
#pragma once

#include "CalvoxSDK.h"
#include "Device.h"
#include "Emulator.h"
#include "HandleTable.h"
#include "TimeScale.h"

#include <gtest/gtest.h>

#include <memory>

namespace calvox::test {

struct EmulatedDevice {
    explicit EmulatedDevice(const char* id = emu::kDefaultId, double timeScale = 0.05,
                            const char* bindAddress = "127.0.0.1")
    {
        SetTimeScale(timeScale);
        emu::RecorderConfig config;
        config.id = id;
        config.bindAddress = bindAddress;
        config.port = 0;
        recorder = emulator.Add(config);
        handle = CalvoxAPI_CreateDevice(id);
        device = FindDevice(handle);
        if (recorder && device)
            device->SetDeviceAddress(recorder->Address());
    }
    ~EmulatedDevice()
    {
        device.reset();
        CalvoxAPI_DeleteDevice(handle);
        emulator.Stop();
        SetTimeScale(1);
    }
    bool Ready() const { return recorder && device; }

    emu::Emulator emulator;
    emu::Recorder* recorder = nullptr;
    Calvox_DeviceHandle handle = 0;
    std::shared_ptr<Calvox_Device> device;
};

}  // namespace calvox::test
