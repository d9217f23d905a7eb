#pragma once

// The settings page's tests share this rig: the real main window on a data folder of its own, the recorder
// emulator in this process on 127.0.0.1 (its storage in a temporary folder), the SDK's waits scaled down, and
// one registered device selected on the settings page. What the page sends is read back from the emulator's
// state and files.

#include "DataFolder.h"
#include "DeviceManage.h"
#include "DeviceTabBar.h"
#include "KesDevice.h"
#include "MainForm.h"
#include "MainFormGlobals.h"
#include "ModalTestHelpers.h"
#include "OnlineWait.h"
#include "ProgramFolder.h"
#include "TipForm.h"

#include "ZBase.h"
#include "ZLabel.h"

#include "EmuFiles.h"
#include "EmuRecords.h"
#include "EmuSessions.h"
#include "Emulator.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QPointer>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolTip>
#include <QtTest>

#include <functional>
#include <memory>
#include <mutex>

namespace emu = calvox::emu;

// The text of the visible tooltip, empty when none.
inline QString ShownToolTip()
{
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->inherits("QTipLabel") && w->isVisible())
            return w->property("text").toString();
    }
    return QString();
}

class SettingsPageRig
{
public:
    // A recorder of the model the ID names (its first character), registered as "Box" with the emulator's
    // address and the account admin/admin, and selected on the settings page. Not logged in.
    explicit SettingsPageRig(const char* id = "6B000000000000000002")
    {
        if (qEnvironmentVariableIsEmpty("CALVOX_TIME_SCALE"))
            qputenv("CALVOX_TIME_SCALE", "0.05");
        // A login asks the update server for new firmware: never beyond this machine.
        if (qEnvironmentVariableIsEmpty("CALVOX_UPDATE_SERVER"))
            qputenv("CALVOX_UPDATE_SERVER", "127.0.0.1:9");
        // Not Qt's test mode: it puts every test's data below one shared ~/.qttest.
        qputenv("XDG_DATA_HOME", m_Folder.filePath("data").toUtf8());
        SetProgramFolder(m_Folder.path());
        emu::RecorderConfig config;
        config.id = id;
        config.port = 0;
        Recorder = m_Emulator.Add(config);
        emu::ServeFiles(*Recorder, m_Storage.path().toStdString());

        Form = new MainForm();
        Form->show();
        Device = KesDevice::Create(QStringLiteral("Box"), QString::fromLatin1(id));
        Device->SetNetAddr(QStringLiteral("127.0.0.1"), Recorder->Port());
        Device->UserName = Device->Password = QStringLiteral("admin");
        if (!DeviceManage::AddDevice(Device))
            qFatal("device not registered");
        Select(DeviceManage::IndexOfDevice(Device));
    }
    ~SettingsPageRig()
    {
        delete Form;
        SetProgramFolder(QString());
    }

    // Through the page's device tab bar; without one, as the bar would report it.
    void Select(int index)
    {
        if (g_SettingDeviceTabBar != nullptr)
            g_SettingDeviceTabBar->SetSelectedDeviceIndex(index);
        else
            Form->SettingPageSelectedDeviceChangedEvent(index);
    }

    template <class T>
    T* Page(const char* name) const
    {
        T* widget = Form->findChild<QWidget*>(QStringLiteral("SettingTabPage"))->template findChild<T*>(QLatin1String(name));
        if (widget == nullptr)
            qFatal("no settings widget %s", name);
        return widget;
    }

    template <class T, class F>
    auto Edit(F f)
    {
        std::lock_guard<std::mutex> lock(Recorder->StateMutex());
        return f(Recorder->template State<T>());
    }

    // Logs the device in from the page as the operator does and waits until the page shows it online.
    bool LogIn()
    {
        OnlineWait online(Form, Device);
        QTest::mouseClick(Page<QWidget>("LoginButton"), Qt::LeftButton);
        return online.Wait() && Page<ZBase>("LoginButton")->Tag == 1;
    }

    QString StoragePath(const QString& devicePath) const { return m_Storage.path() + devicePath; }

    MainForm* Form = nullptr;
    KesDevice* Device = nullptr;
    emu::Recorder* Recorder = nullptr;

private:
    QTemporaryDir m_Folder;
    QTemporaryDir m_Storage;
    emu::Emulator m_Emulator;
};
