// The real main window on a real X display with two emulated recorders in calls (ringing, talking, dialling
// out, one line listened to) and ten more registered recorders, so that the device tab bar overflows; writes
// screenshots into the folder given as the first argument, for review (scripts/screenshots-monitor runs it under
// Xvfb with a compositor): the monitor page on all devices, the tab bar scrolled, one recorder's page, and the
// online-user page.
#include "DeviceManage.h"
#include "DeviceTabBar.h"
#include "FontSetup.h"
#include "KesDevice.h"
#include "MainForm.h"
#include "MainFormGlobals.h"
#include "MainFormUi.h"
#include "ProgramFolder.h"
#include "ZButton.h"
#include "contacts/Contacts.h"

#include "EmuHeartbeat.h"
#include "Emulator.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QScreen>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>
#include <functional>
#include <vector>

namespace emu = calvox::emu;

namespace {

KesDevice* Register(const QString& name, const char* id, emu::Recorder* recorder)
{
    KesDevice* device = KesDevice::Create(name, QString::fromLatin1(id));
    device->SetNetAddr(QStringLiteral("127.0.0.1"), recorder ? recorder->Port() : 9);
    device->UserName = device->Password = QStringLiteral("admin");
    DeviceManage::AddDevice(device);
    return device;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s <output folder>\n", argv[0]);
        return 2;
    }
    QTemporaryDir folder;
    qputenv("XDG_DATA_HOME", folder.filePath("data").toUtf8());
    qputenv("CALVOX_UPDATE_SERVER", "127.0.0.1:9");
    qputenv("CALVOX_AUDIO_SINK", "null");
    QApplication app(argc, argv);
    const QDir out(QString::fromLocal8Bit(argv[1]));
    QApplication::setQuitOnLastWindowClosed(false);
    SetProgramFolder(folder.path());
    SetupApplicationFont();

    emu::Emulator emulator;
    emu::RecorderConfig config;
    config.port = 0;
    config.id = "4B000000000000000051";
    emu::Recorder* office = emulator.Add(config);
    config.id = "2B000000000000000052";
    emu::Recorder* store = emulator.Add(config);
    if (office == nullptr || store == nullptr) {
        std::fprintf(stderr, "cannot start the emulated recorders\n");
        return 1;
    }

    auto* form = new MainForm();
    if (!form->Started())
        return 1;
    form->resize(1200, 700);
    form->move(20, 20);
    form->show(false);
    KesDevice* officeDevice = Register(QStringLiteral("Office"), "4B000000000000000051", office);
    KesDevice* storeDevice = Register(QStringLiteral("Store"), "2B000000000000000052", store);
    for (int i = 1; i <= 10; ++i)
        Register(QStringLiteral("Branch %1").arg(i),
                 QStringLiteral("4B0000000000000001%1").arg(i, 2, 10, QLatin1Char('0')).toLatin1().constData(),
                 nullptr);

    QFile book(ContactsRoot + QStringLiteral("/Customers"));
    if (book.open(QIODevice::WriteOnly))
        book.write(R"({"Contacts":[{"Name":"Alice","PhoneNum":"5551234"},{"Name":"Bob","PhoneNum":"555"}]})");
    book.close();
    ReloadContacts();

    int failures = 0;
    auto grab = [&](const QString& name) {
        const QRect area = form->HostWindow()->geometry();
        const QPixmap shot =
            QApplication::primaryScreen()->grabWindow(0, area.x(), area.y(), area.width(), area.height());
        if (!shot.save(out.filePath(name))) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(out.filePath(name)));
            ++failures;
        }
    };

    std::vector<std::function<void()>> steps;
    steps.push_back([&]() {
        for (KesDevice* device : {officeDevice, storeDevice}) {
            if (device->Login() != 0)
                ++failures;
            device->CreateHeartbeatThread();
        }
        storeDevice->GetBaseSetting();
    });
    steps.push_back([&]() {
        emu::SetLine(*office, 0, emu::kLineRing, "5551234", 2);
        emu::StartTalking(*office, 1, "5550000");
        emu::SetTalkTime(*office, 1, 65);
        emu::SetLine(*store, 0, emu::kLineOutComing, "9555");
        CalvoxAPI_StartMonitor(officeDevice->Handle, 1);
    });
    steps.push_back([]() {});
    steps.push_back([&]() { grab(QStringLiteral("monitor-all-devices.png")); });
    steps.push_back([&]() {
        auto* next = g_MonitorDeviceTabBar->findChild<ZButton*>(QStringLiteral("NextButton"));
        if (next == nullptr) {
            ++failures;
            return;
        }
        emit next->Clicked();
        emit next->Clicked();
    });
    steps.push_back([&]() { grab(QStringLiteral("monitor-tab-bar-scrolled.png")); });
    steps.push_back([&]() { g_MonitorDeviceTabBar->SetSelectedDeviceIndex(0); });
    steps.push_back([&]() { grab(QStringLiteral("monitor-office.png")); });
    steps.push_back([&]() { form->ui->MainTabControl->SetSelectedIndex(2); });
    steps.push_back([&]() { grab(QStringLiteral("online-users.png")); });
    steps.push_back([&]() {
        CalvoxAPI_StopMonitor();
        delete form;
        app.exit(failures == 0 ? 0 : 1);
    });

    for (size_t i = 0; i < steps.size(); ++i)
        QTimer::singleShot(1500 * int(i + 1), &app, steps[i]);
    return app.exec();
}
