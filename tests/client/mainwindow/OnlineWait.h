#pragma once

// The main window's rigs log a device in and then wait for it through this: until the device is online and the
// window's handling of its latest connection event saw it online. The window refreshes its pages then (the
// settings page, the record page's device box); a test that acted before would find them stale, or see what it
// typed overwritten by the refresh. On a busy machine the connection may drop and come back meanwhile: the
// wait goes on until a refresh saw it online.

#include "DeviceManage.h"
#include "KesDevice.h"

#include <QObject>
#include <QtTest>

class OnlineWait
{
public:
    // Made before the login starts, so that no event is missed. The window connected its own handling when it
    // was built, so this connection runs after it.
    OnlineWait(QObject* window, KesDevice* device) : m_Device(device)
    {
        m_Seen = QObject::connect(
            g_DeviceManage, &DeviceManage::DeviceEventSignal, window,
            [this](KesDevice* from, Calvox_EventType event, unsigned char*, int) {
                if (from == m_Device && event == Calvox_Event_ConnectStatus)
                    m_RefreshedOnline = Online();
            });
    }
    ~OnlineWait() { QObject::disconnect(m_Seen); }
    OnlineWait(const OnlineWait&) = delete;
    OnlineWait& operator=(const OnlineWait&) = delete;

    bool Wait(int timeoutMs = 10000)
    {
        return QTest::qWaitFor([this] { return m_RefreshedOnline && Online(); }, timeoutMs);
    }

private:
    bool Online() const { return CalvoxAPI_ConnectStatus(m_Device->Handle) == Calvox_Connect_Online; }

    KesDevice* m_Device;
    bool m_RefreshedOnline = false;
    QMetaObject::Connection m_Seen;
};
