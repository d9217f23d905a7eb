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
#include "settings/SectionDevice.h"
#include "ZComboBox.h"
#include "ZScrollPanel.h"

#include "EmuRecords.h"
#include "EmuSessions.h"
#include "Emulator.h"

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
        g_SettingSectionDeviceIndex = DeviceManage::IndexOfDevice(Device);
        if (g_SettingDeviceTabBar != nullptr)
            g_SettingDeviceTabBar->SetSelectedDeviceIndex(g_SettingSectionDeviceIndex);
    }
    ~SectionsRig() { g_SettingSectionDeviceIndex = -1; }

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
        LoginStep step = LoginStep::None;
        if (RunLoginChain(Device, &step) != 0)
            return false;
        Device->CreateHeartbeatThread();
        if (!QTest::qWaitFor([this] { return CalvoxAPI_ConnectStatus(Device->Handle) == 2; }, 10000))
            return false;
        FillAll();
        return true;
    }
    // What the page's refresh does for these sections, the channel selector last (its first channel shown).
    void FillAll()
    {
        Form->FillDeviceTime(Device);
        Form->FillChannelStatus(Device);
        Form->FillBaseSetting(Device);
        Form->FillKeyControlSetting(Device);
        Form->FillNetSetting(Device);
        Form->FillSMDRSetting(Device);
        Form->FillUserList(Device);
        Form->FillRecordTimeSetting(Device);
        Form->FillScheduledRestartSetting(Device);
        auto* channels = Page<ZComboBox>("ChannelSelectComboBox");
        if (CalvoxAPI_ConnectStatus(Device->Handle) != 2) {
            channels->SetSelectedIndex(-1);
            return;
        }
        channels->Tag = 1;
        channels->SetSelectedIndex(-1);
        QStringList items;
        for (int n = 1; n <= Device->Channels; ++n)
            items << QStringLiteral("Channel %1").arg(n);
        channels->SetItems(items);
        channels->Tag = 0;
        channels->SetSelectedIndex(0);
    }

    // The recorder's announcement list as the page's file boxes list it (the announcement list's own fill),
    // then the sections select their files again.
    void ListFiles()
    {
        QStringList names;
        const Calvox_PlayBackFileList* list = CalvoxAPI_PlayBackFileList(Device->Handle);
        for (int i = 0; i < qMin<int>(list->Count, 20); ++i)
            names << QString::fromLatin1(list->Names[i], static_cast<int>(qstrnlen(list->Names[i], 28)));
        for (ZComboBox* box : Form->ui->SettingTabPage->findChildren<ZComboBox*>()) {
            const QString name = box->objectName();
            if (name == QLatin1String("AnnouncementComboBox") || name.startsWith(QLatin1String("AllDayLongReplyComboBox")) ||
                name.startsWith(QLatin1String("ReplyTimeSlotComboBox")) || name.startsWith(QLatin1String("GroupComboBox")))
                box->SetItems(names);
        }
        Form->FillKeyControlFileCombos(Device);
        Form->FillChannelFileCombos(Device, Page<ZComboBox>("ChannelSelectComboBox")->SelectedIndex());
    }

    KesDevice* Device = nullptr;
    emu::Recorder* Recorder = nullptr;
};
