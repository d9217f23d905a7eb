// The main window as the program makes it: construction with registered recorders, the start-up volume, the
// column layout file, closing, the tray, Exit from inside nested loops, theme and language changes, and the
// start on an unusable data folder.
#include "MainFormRig.h"
#include "EmuFiles.h"
#include "ProgressDriver.h"
#include "RecordTree.h"
#include "SoftwareSetting.h"
#include "backup/BackupThread.h"
#include "player/RecordPlayer.h"
#include "workers/DownloadFileThread.h"
#include "ModalTestHelpers.h"

#include "DialForm.h"
#include "EditRecordNotesForm.h"
#include "GridListSetting.h"
#include "Language.h"
#include "MainFormGlobals.h"
#include "MainFormUi.h"
#include "Skin.h"
#include "SoftwareSettingForm.h"
#include "StatusIcons.h"
#include "WaitForm.h"
#include "WaitThread.h"
#include "ZMenu.h"
#include "ZMenuItem.h"

#include <QCalendarWidget>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMessageBox>
#include <QTreeView>

#include <atomic>
#include <thread>

namespace {

// Collects the warnings Qt prints while it is installed.
class WarningLog
{
public:
    WarningLog() { s_Messages.clear(), m_Previous = qInstallMessageHandler(Handler); }
    ~WarningLog() { qInstallMessageHandler(m_Previous); }
    QStringList Messages() const { return s_Messages; }

private:
    static void Handler(QtMsgType type, const QMessageLogContext&, const QString& message)
    {
        if (type != QtDebugMsg && type != QtInfoMsg)
            s_Messages << message;
    }
    static inline QStringList s_Messages;
    QtMessageHandler m_Previous = nullptr;
};

QList<int> Widths(const ZGridList* grid)
{
    QList<int> widths;
    for (const ZGridListColumn& column : grid->Columns)
        widths << column.Width;
    return widths;
}

template <int N>
QList<int> ToList(const int (&values)[N])
{
    return QList<int>(std::begin(values), std::end(values));
}

// The title bar's close button: the rightmost of the form's own (unnamed) title buttons.
ZButton* CloseButton(ZForm* form)
{
    ZButton* close = nullptr;
    for (ZButton* button : form->findChildren<ZButton*>()) {
        QWidget* panel = button->parentWidget();
        if (!button->objectName().isEmpty() || panel->parentWidget() != form || !panel->objectName().isEmpty() ||
            panel->y() != 0 || panel->height() != form->TitleHeight() || !button->isVisibleTo(form))
            continue;
        if (close == nullptr || button->x() > close->x())
            close = button;
    }
    return close;
}

// Runs the program's event loop until something ends it; false after the time-out. The application's own loop,
// not a local one: ending it (QCoreApplication::exit) outside QCoreApplication::exec would make every later loop
// of this test process return at once.
bool RunProgramLoop(int timeoutMs = 20000)
{
    bool timedOut = false;
    QTimer timeout;
    timeout.setSingleShot(true);
    QObject::connect(&timeout, &QTimer::timeout, [&timedOut] {
        timedOut = true;
        QCoreApplication::exit(1);
    });
    timeout.start(timeoutMs);
    QCoreApplication::exec();
    return !timedOut;
}

} // namespace

class MainFormShellTest : public QObject
{
    Q_OBJECT

private slots:
    void gridListSettingFile_data();
    void gridListSettingFile();
    void gridListSettingWrittenInOrder();
    void startsWithRecordersOnline();
    void startVolume_data();
    void startVolume();
    void exitKeepsLayoutAndVolume();
    void closeButton_data();
    void closeButton();
    void trayReasons();
    void exitFromModalDialogAndWaitTask();
    void exitWhileWorkersRun();
    void themeChangesKeepMonitorIcons();
    void textMapsNameHandledWidgets();
    void englishTextsAndTitleFont();
    void failsOnUnusableDataFolder();
};

void MainFormShellTest::gridListSettingFile_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<QList<int>>("monitor");
    QTest::addColumn<QList<int>>("record");
    QTest::addColumn<QList<int>>("contacts");

    const QList<int> dm{100, 60, 100, 60, 60, 60, 60, 80, 110, 110, 100};
    const QList<int> dr{40, 130, 60, 100, 70, 70, 50, 110, 100, 70, 80, 112};
    const QList<int> dc{40, 80, 60, 80, 80, 100, 100, 100, 100};
    const QByteArray r12 = "[11,12,13,14,15,16,17,18,19,20,21,22]";
    const QList<int> r12l{11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22};

    QTest::newRow("not JSON") << QByteArray("{nope") << 0 << 0 << dm << dr << dc;
    QTest::newRow("all given") << QByteArray("{\"Width\":900,\"Height\":600,\"MonitorWidth\":[11,12,13,14,15,16,17,18,19,"
                                             "20,21],\"RecordWidth\":" + r12 + ",\"ContactsColumns\":[31,32,33,34,35,36,"
                                             "37,38,39]}")
                               << 900 << 600 << QList<int>{11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21} << r12l
                               << QList<int>{31, 32, 33, 34, 35, 36, 37, 38, 39};
    QTest::newRow("record 11 long") << QByteArray("{\"Width\":900,\"Height\":600,\"MonitorWidth\":[50],\"RecordWidth\":"
                                                  "[1,2,3,4,5,6,7,8,9,10,11],\"ContactsColumns\":[50]}")
                                    << 900 << 600 << dm << dr << dc;
    QTest::newRow("contacts empty") << QByteArray("{\"MonitorWidth\":[50],\"RecordWidth\":" + r12 +
                                                  ",\"ContactsColumns\":[]}")
                                    << 0 << 0 << dm << dr << dc;
    // A short monitor array: the missing columns take their defaults, not 0 (a 0 column could never be grabbed).
    QTest::newRow("monitor 3 long") << QByteArray("{\"MonitorWidth\":[50,51,52],\"RecordWidth\":" + r12 +
                                                  ",\"ContactsColumns\":[40]}")
                                    << 0 << 0 << QList<int>{50, 51, 52, 60, 60, 60, 60, 80, 110, 110, 100} << r12l
                                    << dc;
    // Widths a drag cannot make, and values that are no whole number, take the column's default.
    QTest::newRow("bad widths") << QByteArray("{\"Width\":1.5,\"Height\":\"x\",\"MonitorWidth\":[0,9,10,10000,10001,-5,"
                                              "\"70\",null,12.5,true,99],\"RecordWidth\":" + r12 +
                                              ",\"ContactsColumns\":[41]}")
                                << 0 << 0 << QList<int>{100, 60, 10, 10000, 60, 60, 60, 80, 110, 110, 99} << r12l
                                << QList<int>{41, 80, 60, 80, 80, 100, 100, 100, 100};
}

void MainFormShellTest::gridListSettingFile()
{
    QFETCH(QByteArray, json);
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(QList<int>, monitor);
    QFETCH(QList<int>, record);
    QFETCH(QList<int>, contacts);
    GridListSetting = GridListSettingData();
    ParseGridListSetting(json);
    QCOMPARE(GridListSetting.Width, width);
    QCOMPARE(GridListSetting.Height, height);
    QCOMPARE(ToList(GridListSetting.MonitorWidth), monitor);
    QCOMPARE(ToList(GridListSetting.RecordWidth), record);
    QCOMPARE(ToList(GridListSetting.ContactsColumns), contacts);
}

void MainFormShellTest::gridListSettingWrittenInOrder()
{
    GridListSetting = GridListSettingData();
    DefaultGridListSetting();
    const QByteArray json = GridListSettingJson();
    // Keys in the order a reader meets them, indented like the JSON writer does.
    QVERIFY(json.indexOf("\"Width\"") < json.indexOf("\"Height\""));
    QVERIFY(json.indexOf("\"Height\"") < json.indexOf("\"MonitorWidth\""));
    QVERIFY(json.indexOf("\"MonitorWidth\"") < json.indexOf("\"RecordWidth\""));
    QVERIFY(json.indexOf("\"RecordWidth\"") < json.indexOf("\"ContactsColumns\""));
    const QJsonObject object = QJsonDocument::fromJson(json).object();
    QCOMPARE(object.value("MonitorWidth").toArray().size(), 11);
    QCOMPARE(object.value("RecordWidth").toArray().at(11).toInt(), 112);
    QCOMPARE(object.value("ContactsColumns").toArray().size(), 9);
    // What is written reads back the same.
    GridListSetting.MonitorWidth[4] = 77;
    const QByteArray again = GridListSettingJson();
    GridListSetting = GridListSettingData();
    ParseGridListSetting(again);
    QCOMPARE(GridListSetting.MonitorWidth[4], 77);
}

void MainFormShellTest::startsWithRecordersOnline()
{
    MainFormRig rig;
    emu::Recorder* office = rig.AddRecorder("6B000000000000000011");
    emu::Recorder* store = rig.AddRecorder("6B000000000000000012");
    // A first run registers the two recorders, as the device page does; the second start loads and logs them in.
    rig.Start();
    MainFormRig::Register("Office", office, "6B000000000000000011", true);
    MainFormRig::Register("Store", store, "6B000000000000000012", true);
    rig.Stop();

    WarningLog warnings;
    MainForm* form = rig.Start();
    const QStringList atStart = warnings.Messages();
    for (const QString& message : atStart)
        QVERIFY2(!message.contains("connectSlotsByName"), qPrintable(message));

    Ui::MainForm* ui = form->ui;
    const char* const pages[] = {"MonitorTabPage",    "RecordTabPage",   "OnlineUserTabPage", "SettingTabPage",
                                 "ContactsTabPage",   "BackupsTabPage",  "SkinForm",          "DeviceManageForm"};
    QCOMPARE(ui->MainTabControl->Count(), 8);
    for (int i = 0; i < 8; ++i)
        QCOMPARE(ui->MainTabControl->Page(i)->objectName(), QString(pages[i]));
    QCOMPARE(ui->MainTabControl->SelectedIndex(), 0);
    QCOMPARE(ui->WeekTabControl->SelectedIndex(), -1);

    QVERIFY(g_WaitForm && g_SoftwareSettingForm && g_DialForm && g_AddUserForm && g_EditRecordNotesForm &&
            g_ChannelSelectForm && g_WeekSelectForm && g_SkinForm && g_DeviceManageForm && g_ContactsEditForm &&
            g_RecordStatisticsForm);
    QVERIFY(g_RecordPlayer && g_BackupThread && g_TrayIcon && g_AllDevicesMonitorData);
    QCOMPARE(g_TrayIconMenu->ItemCount(), 2);
    QCOMPARE(g_RecordGridListMenu->ItemCount(), 7);
    QCOMPARE(g_ContactsGridListMenu->ItemCount(), 6);
    QCOMPARE(g_MonitorGridListMenu->Item(1)->Text, QString("Monitor"));
    QCOMPARE(g_ContactsTreeMenu->Item(2)->Text, QString("Add address book"));

    QCOMPARE(Widths(ui->MonitorGridList), QList<int>({100, 60, 100, 60, 60, 60, 60, 80, 110, 110, 100}));
    QCOMPARE(Widths(ui->RecordGridList), QList<int>({40, 130, 60, 100, 70, 70, 50, 110, 100, 70, 80, 112}));
    QCOMPARE(Widths(ui->ContactsGridList), QList<int>({40, 80, 60, 80, 80, 100, 100, 100, 100}));
    QCOMPARE(Widths(ui->OnlineUserGridList), QList<int>({150, 150, 150, 150, 150}));
    QCOMPARE(Widths(ui->UserListGridList), QList<int>({128, 100, 100, 100, 100, 100}));
    QCOMPARE(ui->BookmarkButton3->Tag, qintptr(960));
    QCOMPARE(ui->BookmarkButton10->Tag, qintptr(3860));
    QCOMPARE(ui->AutoReplyCopyToButton7->Tag, qintptr(6));
    QCOMPARE(ui->SearchEndDateTimeEdit->time(), QTime(23, 59));
    QCOMPARE(ui->SearchStartDateTimeEdit->date(), QDate::currentDate());

    QCOMPARE(DeviceManage::DeviceCount(), 2);
    QVERIFY(QTest::qWaitFor(
        [] {
            return CalvoxAPI_ConnectStatus(DeviceManage::GetDevice(0)->Handle) == 2 &&
                   CalvoxAPI_ConnectStatus(DeviceManage::GetDevice(1)->Handle) == 2;
        },
        15000));

    // The top bar: the skin and device pages, the dial pad toggling.
    QTest::mouseClick(ui->SkinButton, Qt::LeftButton);
    QCOMPARE(ui->MainTabControl->SelectedIndex(), 6);
    QTest::mouseClick(ui->DeviceManageButton, Qt::LeftButton);
    QCOMPARE(ui->MainTabControl->SelectedIndex(), 7);
    QTest::mouseClick(ui->DialButton, Qt::LeftButton);
    QVERIFY(g_DialForm->isVisible());
    QTest::mouseClick(ui->DialButton, Qt::LeftButton);
    QVERIFY(!g_DialForm->isVisible());
}

void MainFormShellTest::startVolume_data()
{
    QTest::addColumn<QByteArray>("stored");  // "-" for no file
    QTest::addColumn<int>("slider");
    QTest::addColumn<int>("muted");
    QTest::newRow("no file") << QByteArray("-") << 100 << 0;
    QTest::newRow("0") << QByteArray("0") << 0 << 1;
    QTest::newRow("35") << QByteArray("35") << 35 << 0;
    QTest::newRow("250") << QByteArray("250") << 100 << 0;
}

void MainFormShellTest::startVolume()
{
    QFETCH(QByteArray, stored);
    QFETCH(int, slider);
    QFETCH(int, muted);
    MainFormRig rig;
    if (stored != "-")
        QVERIFY(rig.WriteDataFile("Volume", stored));
    MainForm* form = rig.Start();
    QCOMPARE(form->ui->PlayerVolumeTrackBar->Value1(), slider);
    QCOMPARE(form->ui->MuteButton->Tag, qintptr(muted));
    const QImage shown = form->ui->MuteButton->Image().toImage();
    const QImage expected = QPixmap(muted ? "://MainForm/Mute.png" : "://MainForm/Vocal.png").toImage();
    QCOMPARE(shown, expected);
}

void MainFormShellTest::exitKeepsLayoutAndVolume()
{
    MainFormRig rig;
    QVERIFY(rig.WriteDataFile("Volume", "35"));
    MainForm* form = rig.Start();
    Ui::MainForm* ui = form->ui;

    // The operator widens the record grid's phone column by dragging its right edge in the header.
    ui->MainTabControl->SetSelectedIndex(1);
    ZGridList* grid = ui->RecordGridList;
    int edge = grid->ContainerArea().left();
    for (int i = 0; i <= 7; ++i)
        edge += grid->Columns.at(i).Width;
    const int y = grid->ContainerArea().top() - grid->ColumnHeaderHeight() / 2;
    HoverAt(grid, QPoint(edge - 1, y));
    QTest::mousePress(grid, Qt::LeftButton, Qt::NoModifier, QPoint(edge - 1, y));
    HoverAt(grid, QPoint(edge + 39, y));
    QTest::mouseRelease(grid, Qt::LeftButton, Qt::NoModifier, QPoint(edge + 39, y));
    const int phoneWidth = grid->Columns.at(7).Width;
    QVERIFY2(phoneWidth > 110, qPrintable(QString::number(phoneWidth)));
    form->resize(1100, 700);
    // Muted: the slider keeps 35, which is what is kept.
    QTest::mouseClick(ui->MuteButton, Qt::LeftButton);
    QCOMPARE(ui->MuteButton->Tag, qintptr(1));

    QTimer::singleShot(0, form, [form] { form->Exit(); });
    QVERIFY(RunProgramLoop());
    QVERIFY(!g_TrayIcon->isVisible());
    QCOMPARE(rig.ReadDataFile("Volume"), QByteArray("35"));
    const QJsonObject saved = QJsonDocument::fromJson(rig.ReadDataFile("GridListSetting")).object();
    QCOMPARE(saved.value("Width").toInt(), 1100);
    QCOMPARE(saved.value("Height").toInt(), 700);
    QCOMPARE(saved.value("RecordWidth").toArray().at(7).toInt(), phoneWidth);
    rig.Stop();

    // The next start shows the column as it was left; the window size is not applied.
    form = rig.Start();
    QCOMPARE(form->ui->RecordGridList->Columns.at(7).Width, phoneWidth);
    QCOMPARE(form->width(), 1024);
}

void MainFormShellTest::closeButton_data()
{
    QTest::addColumn<bool>("tray");
    QTest::newRow("tray") << true;
    QTest::newRow("no tray") << false;
}

void MainFormShellTest::closeButton()
{
    QFETCH(bool, tray);
    MainFormRig rig;
    MainForm::TrayAvailable = [tray] { return tray; };
    MainForm* form = rig.Start();
    ZButton* close = CloseButton(form);
    QVERIFY(close);
    QTest::mouseClick(close, Qt::LeftButton);
    QCoreApplication::processEvents();
    if (tray) {
        QVERIFY(!form->HostWindow()->isVisible());
    } else {
        // Nothing would bring a hidden window back: it goes to the task bar instead.
        QVERIFY(form->HostWindow()->isVisible());
        QVERIFY(form->HostWindow()->windowState() & Qt::WindowMinimized);
    }
    // The program goes on: no quit is queued.
    bool quit = false;
    // Bound to the window: the lambda writes a local of this test, which later tests' loops must not reach.
    QObject::connect(qApp, &QCoreApplication::aboutToQuit, form, [&quit] { quit = true; });
    QTest::qWait(50);
    QVERIFY(!quit);
    MainForm::TrayAvailable = [] { return QSystemTrayIcon::isSystemTrayAvailable(); };
}

void MainFormShellTest::trayReasons()
{
    MainFormRig rig;
    MainForm* form = rig.Start();
    QWidget* host = form->HostWindow();
    for (auto reason : {QSystemTrayIcon::DoubleClick, QSystemTrayIcon::Trigger}) {
        form->hide();
        emit g_TrayIcon->activated(reason);
        QVERIFY(host->isVisible());
    }
    form->hide();
    emit g_TrayIcon->activated(QSystemTrayIcon::MiddleClick);
    emit g_TrayIcon->activated(QSystemTrayIcon::Unknown);
    QVERIFY(!host->isVisible());

    // The context menu: a click outside it changes nothing, "Show" shows, "Exit" ends the program's loop.
    const auto chooseInMenu = [form](int index) {
        When(form, [] { return g_TrayIconMenu->isVisible(); }, [index] {
            if (index < 0) {
                g_TrayIconMenu->hide();
                return;
            }
            const QPoint at(20, g_TrayIconMenu->Padding().Top + index * g_TrayIconMenu->ItemHeight() +
                                    g_TrayIconMenu->ItemHeight() / 2);
            QTest::mouseMove(g_TrayIconMenu, at);
            QTest::mouseClick(g_TrayIconMenu, Qt::LeftButton, Qt::NoModifier, at);
        });
        emit g_TrayIcon->activated(QSystemTrayIcon::Context);
    };
    chooseInMenu(-1);
    QVERIFY(!host->isVisible());
    QVERIFY(!form->Exiting());
    chooseInMenu(0);
    QVERIFY(host->isVisible());
    QTimer::singleShot(0, form, [&] { chooseInMenu(1); });
    QVERIFY(RunProgramLoop());
    QVERIFY(form->Exiting());
    QVERIFY(rig.ReadDataFile("GridListSetting").contains("\"ContactsColumns\""));
}

void MainFormShellTest::exitFromModalDialogAndWaitTask()
{
    MainFormRig rig;
    MainForm* form = rig.Start();
    // A modal dialog open when Exit comes (a signal, or the tray from another desktop): the dialog's loop ends
    // first, its caller returns, then the program's loop ends.
    bool dialogReturned = false;
    QTimer::singleShot(0, form, [&] {
        form->on_LogoButton_Clicked();
        dialogReturned = true;
    });
    When(form, [] { return g_SoftwareSettingForm->isVisible(); }, [form] { form->Exit(); });
    QVERIFY(RunProgramLoop());
    QVERIFY(dialogReturned);
    QVERIFY(!g_SoftwareSettingForm->isVisible());
    rig.Stop();

    // A device call under the wait panel runs to its end before the loop ends.
    form = rig.Start();
    std::atomic<bool> taskEnded{false};
    bool runReturned = false;
    QTimer::singleShot(0, form, [&] {
        g_WaitForm->Thread->Task = [&taskEnded] {
            std::this_thread::sleep_for(std::chrono::milliseconds(300));
            taskEnded = true;
        };
        g_WaitForm->Run();
        runReturned = true;
    });
    QTimer::singleShot(50, form, [form] { form->Exit(); });
    QVERIFY(RunProgramLoop());
    QVERIFY(taskEnded);
    QVERIFY(runReturned);
}

void MainFormShellTest::exitWhileWorkersRun()
{
    // Exit while the backup copies, a record plays from the recorder and a download runs under its progress
    // window: the loop ends once the window's run has stopped its worker, and the teardown stops the rest
    // before the devices and the SDK go (the sanitizers watch this test).
    MainFormRig rig;
    QTemporaryDir storage, backup, local;
    emu::Recorder* recorder = rig.AddRecorder("4A000000000000000021");
    emu::ServeFiles(*recorder, storage.path().toStdString());
    for (int minute = 0; minute < 6; ++minute) {
        emu::FixtureRecord record;
        record.year = 24, record.month = 5, record.day = 6, record.hour = 7, record.minute = uint8_t(minute);
        record.channel = minute % 4 + 1;
        record.phone = "0123456";
        record.audioBytes = 200000;
        QVERIFY(emu::AddFixtureRecord(storage.path().toStdString(), record) >= 0);
    }
    QVERIFY(QDir(storage.path()).mkpath("RecordFiles"));
    QFile big(storage.path() + "/RecordFiles/big.wav");
    QVERIFY(big.open(QIODevice::WriteOnly));
    big.write(QByteArray(400000, char(0x55)));
    big.close();

    MainForm* form = rig.Start();
    KesDevice* device = MainFormRig::Register("Office", recorder, "4A000000000000000021", false);
    QCOMPARE(device->Login(), 0);
    device->CreateHeartbeatThread();
    QVERIFY(QTest::qWaitFor([device] { return CalvoxAPI_ConnectStatus(device->Handle) == 2; }, 15000));
    emu::Faults slow;
    slow.delayMs = 2;
    recorder->SetFaults(slow);

    g_SoftwareSetting.BackupPath = backup.path() + "/";
    g_BackupThread->Start();
    g_RecordPlayer->Play(device, "/RecordFiles/big.wav");

    ProgressResult result = ProgressResult::Succeeded;
    bool transferReturned = false;
    QTimer::singleShot(0, form, [&] {
        ProgressDriver driver(ProgressTexts{"Download", "", "done", "failed", "Close", "", false}, form);
        DownloadFileThread worker(device, "/RecordFiles/big.wav", local.filePath("big.wav"));
        QObject::connect(&worker, &DownloadFileThread::DoneSignal, &driver, &ProgressDriver::WorkerDone);
        result = driver.Run(&worker, &worker.Stop);
        transferReturned = true;
    });
    QTimer::singleShot(300, form, [form] { form->Exit(); });
    QVERIFY(RunProgramLoop());
    QVERIFY(transferReturned);
    QCOMPARE(int(result), int(ProgressResult::Cancelled));
    QVERIFY(!QFile::exists(local.filePath("big.wav")));
    rig.Stop();
}

void MainFormShellTest::themeChangesKeepMonitorIcons()
{
    MainFormRig rig;
    MainForm* form = rig.Start();
    QImage* monitoring = g_StatusIcons[kMonitoringIcon];
    QImage* playback = g_StatusIcons[kPlayBackIcon];
    QVERIFY(monitoring && playback && !monitoring->isNull());
    QVERIFY(form->ui->SearchStartDateTimeEdit->styleSheet().contains("background:rgb(82,178,250)"));
    QVERIFY(!form->ui->SearchStartDateTimeEdit->styleSheet().contains('%'));
    QVERIFY(!form->ui->ContactsTreeView->TreeView->styleSheet().contains('%'));

    for (int i = 0; i < 20; ++i) {
        const QColor colour = QColor::fromHsv(i * 17, 200, 120 + i * 5);
        Skin::SetThemeColor(colour);
        QVERIFY(Skin::Save());
        // The same objects, now in the new colour: cells that point at them stay valid.
        QCOMPARE(g_StatusIcons[kMonitoringIcon], monitoring);
        QCOMPARE(g_StatusIcons[kPlayBackIcon], playback);
        bool found = false;
        for (int y = 0; y < monitoring->height() && !found; ++y)
            for (int x = 0; x < monitoring->width() && !found; ++x)
                found = monitoring->pixelColor(x, y) == QColor(colour.red(), colour.green(), colour.blue());
        QVERIFY2(found, qPrintable(colour.name()));
        QCOMPARE(form->TitleBackColor().rgb(), colour.rgb());
    }
    const QString expected = QString("selection-background-color:rgb(%1,%2,%3)")
                                 .arg(g_ThemeColor.red())
                                 .arg(g_ThemeColor.green())
                                 .arg(g_ThemeColor.blue());
    QVERIFY(form->ui->SearchEndDateTimeEdit->styleSheet().contains(expected));
}

void MainFormShellTest::textMapsNameHandledWidgets()
{
    MainFormRig rig;
    MainForm* form = rig.Start();
    Ui::MainForm* ui = form->ui;
    const QList<QPair<QString, QWidget*>> maps = {
        {"MainForm", form},
        {"MonitorTabPage", ui->MonitorTabPage},
        {"RecordTabPage", ui->RecordTabPage},
        {"OnlineUserTabPage", ui->OnlineUserTabPage},
        {"SettingTabPage", ui->SettingTabPage},
        {"ContactsTabPage", ui->ContactsTabPage},
        {"BackupsTabPage", ui->BackupsTabPage},
    };
    const QStringList handled = {"ZLabel", "ZButton", "ZCheckBox", "ZComboBox", "ZGridList", "ZTabControl", "ZMenu"};
    for (const auto& map : maps) {
        QFile file(":/" + map.first + ".json");
        QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(map.first));
        const QJsonObject members = QJsonDocument::fromJson(file.readAll()).object();
        QVERIFY(!members.isEmpty());
        for (const QString& name : members.keys()) {
            if (name == "Title")
                continue;
            QWidget* widget = map.second->findChild<QWidget*>(name);
            QVERIFY2(widget, qPrintable(map.first + ": " + name));
            bool known = false;
            for (const QString& cls : handled)
                known = known || widget->inherits(qPrintable(cls));
            QVERIFY2(known, qPrintable(map.first + ": " + name + " is a " + widget->metaObject()->className()));
        }
    }
}

void MainFormShellTest::englishTextsAndTitleFont()
{
    MainFormRig rig;
    // The integrator's title file beside the program gives the size of the window title's font.
    QFile oem(rig.ProgramFile("OEM"));
    QVERIFY(oem.open(QIODevice::WriteOnly));
    oem.write("{\"Title\":{\"English\":\"Front Desk\"},\"Size\":18}");
    oem.close();
    MainForm* form = rig.Start();
    Ui::MainForm* ui = form->ui;
    QCOMPARE(form->Title(), QString("Front Desk"));
    QCOMPARE(form->TitleFont().pointSize(), 18);
    QCOMPARE(ui->SearchChannelButton->Text(), QString("Select Channel"));
    QCOMPARE(ui->NetModeSettingComboBox->Items().value(0), QString("DHCP "));
    QCOMPARE(ui->CheckBitComboBox->Items().value(1), QString("Odd Parity "));
    QCOMPARE(ui->RecordGridList->Columns.at(7).Text, QString("Phone Number"));
    QCOMPARE(ui->ChannelSettingCopyToButton->Text(), ui->AutoReplyCopyToButton4->Text());
    QCOMPARE(ui->PlayerTimeLabel1->Text(), QString("00:00"));

    // Another language resets the search target, whose items were just replaced.
    ui->SearchTargetComboBox->SetSelectedIndex(1);
    Language::Load(Language::Names().value(1));
    QCOMPARE(ui->SearchTargetComboBox->SelectedIndex(), 0);
    rig.Stop();

    QVERIFY(QFile::remove(rig.ProgramFile("OEM")));
    form = rig.Start();
    QCOMPARE(form->TitleFont().pointSize(), 14);
    QCOMPARE(form->TitleFont().family(), QString("微软雅黑"));
}

void MainFormShellTest::failsOnUnusableDataFolder()
{
    MainFormRig rig;
    // The data folder and the program folder both below a regular file: neither can be made, not even by root.
    QFile blocker(rig.ProgramFile("blocker"));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    qputenv("XDG_DATA_HOME", rig.ProgramFile("blocker/data").toUtf8());
    SetProgramFolder(rig.ProgramFile("blocker/program"));
    QString boxText;
    When(qApp, [] { return Shown<QMessageBox>() != nullptr; }, [&boxText] {
        QMessageBox* box = Shown<QMessageBox>();
        boxText = box->windowTitle() + "/" + box->text();
        box->accept();
    });
    bool quit = false;
    QMetaObject::Connection watch =
        QObject::connect(qApp, &QCoreApplication::aboutToQuit, [&quit] { quit = true; });
    MainForm* form = rig.Start();
    QCOMPARE(boxText, QString("Error/Load AppData Failed"));
    QVERIFY(!form->Started());
    QVERIFY(!form->HostWindow()->isVisible());
    QVERIFY(g_TrayIcon == nullptr && g_DeviceManage == nullptr && g_Language == nullptr);
    // The queued quit ends the program's loop; the window then goes without touching what was never made.
    QVERIFY(RunProgramLoop(5000));
    QObject::disconnect(watch);
    Q_UNUSED(quit);
    rig.Stop();
}

QTEST_MAIN(MainFormShellTest)
#include "tst_mainform_shell.moc"
