#pragma once

// The settings sections' tests share this rig: the real main window on a data folder of its own, the recorder
// emulator in this process on 127.0.0.1, the SDK's waits scaled down, and one registered recorder that the
// settings page shows. What a section sends is read back from the emulator's records.

#include "DeviceDialogFixture.h"
#include "DeviceTabBar.h"
#include "MainFormGlobals.h"
#include "MainFormRig.h"
#include "KesDevice.h"
#include "LoginChain.h"
#include "MainForm.h"
#include "MainFormUi.h"
#include "OnlineWait.h"
#include "ZComboBox.h"
#include "ZScrollPanel.h"

#include "EmuRecords.h"
#include "EmuSessions.h"
#include "Emulator.h"

#include <QGuiApplication>
#include <QScreen>
#include <QtTest>

#include <mutex>

namespace emu = calvox::emu;

// `count` copies of a text, for comparing the message boxes seen.
inline QStringList Repeated(int count, const QString& text)
{
    QStringList list;
    for (int i = 0; i < count; ++i)
        list << text;
    return list;
}

class SectionsRig : public MainFormRig
{
public:
    // A recorder of the model the ID names (its first character: '4' four channels with playback, 'C' eight
    // without), registered as "Box" with the account admin/admin and shown on the settings page. Not logged in.
    explicit SectionsRig(const char* id = "4A000000000000000001")
    {
        qputenv("CALVOX_UPDATE_SERVER", "127.0.0.1:1");
        Recorder = AddRecorder(id);
        Start();
        Device = Register(QStringLiteral("Box"), Recorder, id, false);
        // Through the page's device tab bar; without one, as the bar would report it.
        const int index = DeviceManage::IndexOfDevice(Device);
        if (g_SettingDeviceTabBar != nullptr)
            g_SettingDeviceTabBar->SetSelectedDeviceIndex(index);
        else
            Form->SettingPageSelectedDeviceChangedEvent(index);
    }

    template <class T>
    T* Page(const char* name) const
    {
        T* widget = Form->ui->SettingTabPage->findChild<T*>(QLatin1String(name));
        if (widget == nullptr)
            qFatal("no settings widget %s", name);
        return widget;
    }

    // Scrolls the settings page to a section, so that a tooltip at one of its fields lies on the screen.
    void ShowSection(int position) const { Page<ZScrollPanel>("SettingScrollPanel")->SetVScrollBarValue(position); }
    // Moves the window so that a field's tooltip point lies in the middle of the screen. The test screen
    // (800 x 600) is smaller than the window, and a tooltip asked for beyond its edge is moved onto it, away from
    // its field.
    void PutOnScreen(const char* name) const
    {
        const QPoint at = Page<QWidget>(name)->mapToGlobal(QPoint(2, -10));
        Form->move(Form->pos() + QGuiApplication::primaryScreen()->geometry().center() - at);
    }

    void Click(const char* name) const { QTest::mouseClick(Page<QWidget>(name), Qt::LeftButton); }

    // Runs f on the recorder's state of type T while its handlers wait.
    template <class T, class F>
    auto Edit(F f)
    {
        std::lock_guard<std::mutex> lock(Recorder->StateMutex());
        return f(Recorder->State<T>());
    }
    emu::DeviceRecords Records()
    {
        return Edit<emu::DeviceRecords>([](emu::DeviceRecords& r) { return r; });
    }

    // Logs in and reads every group as the login does, starts the heartbeat, waits until the device is online
    // and fills the sections.
    bool LogIn()
    {
        // The window refreshes the page when it handles the heartbeat's connection event: only after that may
        // a test type into the fields.
        OnlineWait online(Form, Device);
        LoginStep step = LoginStep::None;
        if (RunLoginChain(Device, &step) != 0)
            return false;
        Device->CreateHeartbeatThread();
        if (!online.Wait())
            return false;
        FillAll();
        return true;
    }
    // The page's refresh as a connection event has it run: every section, the first channel shown.
    void FillAll() { Form->RefreshSettingPage(Device); }

    // What a storage event has the page do: the announcement list into the file boxes, then the sections select
    // their files again.
    void ListFiles()
    {
        Form->FillPlayBackFiles(Device);
        Form->FillChannelFileCombos(Device, Page<ZComboBox>("ChannelSelectComboBox")->SelectedIndex());
        Form->FillKeyControlFileCombos(Device);
    }

    KesDevice* Device = nullptr;
    emu::Recorder* Recorder = nullptr;
};
