#pragma once

// The main window's tests share this rig: the real MainForm on a data folder and program folder of its own, the
// recorder emulator in this process on 127.0.0.1, and the SDK's waits scaled down. Devices are registered the way
// the device page registers them; what the window does is read back from the emulator and the files it writes.

#include "DataFolder.h"
#include "DeviceManage.h"
#include "KesDevice.h"
#include "MainForm.h"
#include "ProgramFolder.h"

#include "Emulator.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>
#include <vector>

namespace emu = calvox::emu;

class MainFormRig
{
public:
    MainFormRig()
    {
        if (qEnvironmentVariableIsEmpty("CALVOX_TIME_SCALE"))
            qputenv("CALVOX_TIME_SCALE", "0.05");
        // Not Qt's test mode: it puts every test's data below one shared ~/.qttest.
        qputenv("XDG_DATA_HOME", m_Folder.filePath("data").toUtf8());
        SetProgramFolder(m_Folder.path());
    }
    ~MainFormRig()
    {
        delete Form;
        SetProgramFolder(QString());
    }

    // Starts an emulated recorder of the model its ID names (first character) on a free port.
    emu::Recorder* AddRecorder(const char* id)
    {
        emu::RecorderConfig config;
        config.id = id;
        config.port = 0;
        return m_Emulator.Add(config);
    }

    // Registers a device for the recorder with the account admin/admin; with autoLogin it logs in by itself.
    static KesDevice* Register(const QString& name, emu::Recorder* recorder, const char* id, bool autoLogin)
    {
        KesDevice* device = KesDevice::Create(name, QString::fromLatin1(id));
        device->SetNetAddr(QStringLiteral("127.0.0.1"), recorder->Port());
        device->UserName = device->Password = QStringLiteral("admin");
        device->SavePassword = true;
        device->AutoLogin = autoLogin;
        if (!DeviceManage::AddDevice(device))
            qFatal("device not registered");
        return device;
    }

    MainForm* Start()
    {
        Form = new MainForm();
        if (Form->Started())
            Form->show(true);
        return Form;
    }

    // Destroys the window as the program's end does.
    void Stop()
    {
        delete Form;
        Form = nullptr;
    }

    QString DataFile(const QString& name) const { return m_Folder.filePath("data/CalvoxClient/" + name); }
    QString ProgramFile(const QString& name) const { return m_Folder.filePath(name); }

    bool WriteDataFile(const QString& name, const QByteArray& bytes) const
    {
        QDir().mkpath(m_Folder.filePath("data/CalvoxClient"));
        QFile file(DataFile(name));
        return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
    }

    QByteArray ReadDataFile(const QString& name) const
    {
        QFile file(DataFile(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    MainForm* Form = nullptr;

private:
    QTemporaryDir m_Folder;
    emu::Emulator m_Emulator;
};
