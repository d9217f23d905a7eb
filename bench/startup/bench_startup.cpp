// Start-up time as the operator meets it: from starting the process to the first painted frame of the main
// window, with 10 registered recorders logging in (emulated in this process, on 127.0.0.1) and 5,000 contacts,
// beside a bare QMainWindow of the same size started the same way (the floor: Qt, fonts, a first frame).
// Ten child processes of each, interleaved; prints min / median / max and the ratio of the medians.
//   bench_startup [runs]      (QT_QPA_PLATFORM defaults to offscreen)

#include "DataFolder.h"
#include "DeviceManage.h"
#include "FontSetup.h"
#include "KesDevice.h"
#include "MainForm.h"
#include "contacts/Contacts.h"

#include "Emulator.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMainWindow>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

namespace emu = calvox::emu;

namespace {

constexpr int kRecorders = 10;
constexpr int kContacts = 5000;

// Reports the first paint of the watched widget on stdout, once that paint has finished, and ends the process
// at once: the parent's clock stops when it reads the line.
class FirstPaint : public QObject
{
public:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && !m_Seen) {
            m_Seen = true;
            QTimer::singleShot(0, [] {
                std::fputs("painted\n", stdout);
                std::fflush(stdout);
                std::_Exit(0);
            });
        }
        return QObject::eventFilter(watched, event);
    }

private:
    bool m_Seen = false;
};

int RunChild(int argc, char** argv, bool mainForm)
{
    QApplication app(argc, argv);
    FirstPaint watcher;
    if (!mainForm) {
        QMainWindow window;
        window.resize(1024, 660);
        window.installEventFilter(&watcher);
        window.show();
        return app.exec();
    }
    SetupApplicationFont();
    app.setQuitOnLastWindowClosed(false);
    auto* form = new MainForm();
    form->installEventFilter(&watcher);
    form->show(true);
    return app.exec();
}

void WriteContacts(const QString& root)
{
    QJsonArray array;
    for (int i = 0; i < kContacts; ++i)
        array.append(QJsonObject{{"Name", QStringLiteral("Name %1").arg(i)},
                                 {"Gender", i % 2},
                                 {"Company", QStringLiteral("Company %1").arg(i % 97)},
                                 {"Duty", "Sales"},
                                 {"PhoneNum", QStringLiteral("138%1").arg(i, 8, 10, QLatin1Char('0'))},
                                 {"CompanyNum", QStringLiteral("0755%1").arg(i, 7, 10, QLatin1Char('0'))},
                                 {"CompanyAddr", "Road 1"},
                                 {"Notes", ""}});
    QDir().mkpath(root + "/Customers");
    QFile file(root + "/Customers/Book");
    file.open(QIODevice::WriteOnly | QIODevice::Truncate);
    file.write(QJsonDocument(QJsonObject{{"Contacts", array}}).toJson());
}

// Milliseconds from starting the child to its "painted" line; -1 when it did not report.
double TimeChild(const QString& program, const QString& mode)
{
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QElapsedTimer clock;
    clock.start();
    child.start(program, {"--child", mode});
    if (!child.waitForStarted(10000))
        return -1;
    while (child.state() == QProcess::Running && !child.canReadLine())
        child.waitForReadyRead(30000);
    const double ms = clock.nsecsElapsed() / 1e6;
    const bool painted = child.readLine().startsWith("painted");
    child.waitForFinished(10000);
    return painted ? ms : -1;
}

struct Figures {
    double min, median, max;
};

Figures Summarise(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    const double median = n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
    return {v.front(), median, v.back()};
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (argc >= 3 && std::string(argv[1]) == "--child")
        return RunChild(argc, argv, std::string(argv[2]) == "main");
    const int runs = argc >= 2 ? std::max(1, std::atoi(argv[1])) : 10;

    QCoreApplication app(argc, argv);
    QTemporaryDir folder;
    qputenv("XDG_DATA_HOME", folder.filePath("data").toUtf8());
    qputenv("XDG_RUNTIME_DIR", folder.path().toUtf8());

    // The recorders answer from this process for as long as the children run.
    emu::Emulator emulator;
    std::vector<emu::Recorder*> recorders;
    for (int i = 0; i < kRecorders; ++i) {
        emu::RecorderConfig config;
        config.id = QStringLiteral("4A%1").arg(i, 18, 10, QLatin1Char('0')).toStdString();
        config.port = 0;
        recorders.push_back(emulator.Add(config));
    }
    {
        if (!InitDataFolder())
            return 1;
        DeviceManage manage;
        for (int i = 0; i < kRecorders; ++i) {
            KesDevice* device = KesDevice::Create(QStringLiteral("Recorder %1").arg(i + 1),
                                                  QString::fromStdString(recorders[i]->Id()));
            device->SetNetAddr("127.0.0.1", recorders[i]->Port());
            device->UserName = device->Password = "admin";
            device->SavePassword = device->AutoLogin = true;
            DeviceManage::AddDevice(device);
        }
        InitContacts();
        WriteContacts(ContactsRoot);
        FreeContacts();
    }

    const QString program = QCoreApplication::applicationFilePath();
    std::vector<double> mainTimes, bareTimes;
    for (int i = 0; i < runs; ++i) {
        const double bare = TimeChild(program, "bare");
        const double main = TimeChild(program, "main");
        if (bare < 0 || main < 0) {
            std::fprintf(stderr, "bench_startup: a child did not paint\n");
            return 1;
        }
        bareTimes.push_back(bare);
        mainTimes.push_back(main);
    }
    const Figures m = Summarise(mainTimes);
    const Figures b = Summarise(bareTimes);
    std::printf("start to first frame, %d runs each (ms, min / median / max)\n", runs);
    std::printf("  CalvoxClient main window, %d recorders, %d contacts: %8.1f / %8.1f / %8.1f\n", kRecorders,
                kContacts, m.min, m.median, m.max);
    std::printf("  bare QMainWindow 1024 x 660 (floor):               %8.1f / %8.1f / %8.1f\n", b.min, b.median,
                b.max);
    std::printf("  ratio of medians: %.2fx\n", m.median / b.median);
    return 0;
}
