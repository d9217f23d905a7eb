// The monitor and online-user pages of the real main window with emulated recorders of 4 and 2 channels: the
// tab bars it builds, the grids following them, the shared all-devices table, a device removed while its tables
// are shown, and the device events that make the monitor grid re-read.

#include "MainFormRig.h"
#include "MonitorPageHelpers.h"

#include "DeviceTabBar.h"
#include "DialForm.h"
#include "MainFormGlobals.h"
#include "MainFormUi.h"
#include "ZButton.h"
#include "ZComboBox.h"
#include "SoftwareSetting.h"
#include "ZScrollPanel.h"

#include "EmuLiveAudio.h"
#include "EmuRecords.h"
#include "EmuSessions.h"
#include "ZGridListData.h"

#include <QtTest>

#include <cstring>

namespace {

const char kOfficeId[] = "4B000000000000000031";  // four channels
const char kStoreId[] = "2B000000000000000032";   // two channels

QString ButtonTexts(DeviceTabBar* bar)
{
    QStringList texts;
    for (ZButton* button : bar->Buttons())
        texts << button->Text();
    return texts.join(QLatin1Char('|'));
}

} // namespace

class MainFormMonitorTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<MainFormRig> m_Rig;
    MainForm* m_Form = nullptr;
    KesDevice* m_Office = nullptr;
    KesDevice* m_Store = nullptr;
    emu::Recorder* m_OfficeRecorder = nullptr;

    void GoOnline() { QVERIFY(::GoOnline(m_Form, {m_Office, m_Store})); }
    bool ChooseOnRow(int row, int item) { return ChooseOnMonitorRow(m_Form, row, item); }

private slots:
    void init()
    {
        m_Rig = std::make_unique<MainFormRig>();
        emu::Recorder* office = m_OfficeRecorder = m_Rig->AddRecorder(kOfficeId);
        emu::Recorder* store = m_Rig->AddRecorder(kStoreId);
        m_Form = m_Rig->Start();
        QVERIFY(m_Form->Started());
        m_Office = MainFormRig::Register("Office", office, kOfficeId, false);
        m_Store = MainFormRig::Register("Store", store, kStoreId, false);
    }

    void cleanup()
    {
        m_Rig.reset();
        m_Form = nullptr;
    }

    void tabBarsAreBuiltOnTheirPanels()
    {
        Ui::MainForm* ui = m_Form->ui;
        const struct {
            DeviceTabBar* bar;
            ZPanel* panel;
            int margin;
            int line;
            QString buttons;
            int selected;
        } bars[] = {
            {g_MonitorDeviceTabBar, ui->MonitorDeviceTabPanel, 10, 0, "All|Office|Store", DeviceTabBar::AllDevices},
            {g_OnlineUserDeviceTabBar, ui->OnlineUserDeviceTabPanel, 10, 0, "Office|Store", 0},
            {g_SettingDeviceTabBar, ui->SettingDeviceTabPanel, 20, 1, "Office|Store", 0},
        };
        for (const auto& b : bars) {
            QVERIFY(b.bar != nullptr);
            QCOMPARE(b.bar->parentWidget(), b.panel);
            QCOMPARE(b.bar->geometry(), QRect(b.margin, b.margin, b.panel->width() - 2 * b.margin, 25));
            QCOMPARE(b.bar->findChild<ZPanel*>("ContainerPanel")->BorderWidth(), b.line);
            QCOMPARE(ButtonTexts(b.bar), b.buttons);
            QCOMPARE(b.bar->SelectedDeviceIndex, b.selected);
        }

        // Edit on the device page opens the settings page on that device.
        emit g_DeviceManageForm->EditDevice(1);
        QCOMPARE(g_SettingDeviceTabBar->SelectedDeviceIndex, 1);
        QCOMPARE(ui->MainTabControl->SelectedIndex(), 3);
    }

    void gridsFollowTheirBars()
    {
        Ui::MainForm* ui = m_Form->ui;
        // All devices: every channel of the first device, then those of the second, the devices' own rows.
        QCOMPARE(ui->MonitorGridList->DataSource(), g_AllDevicesMonitorData);
        QCOMPARE(Channels(g_AllDevicesMonitorData), QStringLiteral("1 2 3 4 1 2"));
        QCOMPARE(g_AllDevicesMonitorData->Rows.at(4), m_Store->MonitorData->Rows.at(0));
        QCOMPARE(g_AllDevicesMonitorData->Rows.at(3), m_Office->MonitorData->Rows.at(3));
        QCOMPARE(ui->OnlineUserGridList->DataSource(), m_Office->OnlineUserData);

        QTest::mouseClick(g_MonitorDeviceTabBar->Buttons().at(2), Qt::LeftButton, Qt::NoModifier, QPoint(3, 5));
        QCOMPARE(ui->MonitorGridList->DataSource(), m_Store->MonitorData);
        QTest::mouseClick(g_OnlineUserDeviceTabBar->Buttons().at(1), Qt::LeftButton, Qt::NoModifier, QPoint(3, 5));
        QCOMPARE(ui->OnlineUserGridList->DataSource(), m_Store->OnlineUserData);

        // A device added while one device is shown joins the shared table; the grid stays on its device.
        emu::Recorder* third = m_Rig->AddRecorder("4B000000000000000033");
        KesDevice* added = MainFormRig::Register("Third", third, "4B000000000000000033", false);
        QCOMPARE(Channels(g_AllDevicesMonitorData), QStringLiteral("1 2 3 4 1 2 1 2 3 4"));
        QCOMPARE(g_AllDevicesMonitorData->Rows.at(6), added->MonitorData->Rows.at(0));
        QCOMPARE(ui->MonitorGridList->DataSource(), m_Store->MonitorData);

        g_MonitorDeviceTabBar->SetSelectedDeviceIndex(DeviceTabBar::AllDevices);
        QCOMPARE(ui->MonitorGridList->DataSource(), g_AllDevicesMonitorData);
    }

    // The device is deleted after its removal: nothing may show its tables any more.
    void removedDeviceLeavesEveryGrid()
    {
        Ui::MainForm* ui = m_Form->ui;
        g_MonitorDeviceTabBar->SetSelectedDeviceIndex(1);
        g_OnlineUserDeviceTabBar->SetSelectedDeviceIndex(1);
        ui->RecordGridList->SetDataSource(m_Store->RecordData);
        ui->UserListGridList->SetDataSource(m_Store->UserListData);
        QPointer<KesDevice> store(m_Store);

        QVERIFY(DeviceManage::RemoveDevice(1));
        QCOMPARE(ui->MonitorGridList->DataSource(), m_Office->MonitorData);
        QCOMPARE(ui->OnlineUserGridList->DataSource(), m_Office->OnlineUserData);
        QCOMPARE(ui->RecordGridList->DataSource(), static_cast<ZGridListData*>(nullptr));
        // The settings page's user grid shows the device the page shows now, if any.
        KesDevice* settingDevice = DeviceManage::GetDevice(g_SettingDeviceTabBar->SelectedDeviceIndex);
        QCOMPARE(ui->UserListGridList->DataSource(),
                 settingDevice != nullptr ? settingDevice->UserListData : static_cast<ZGridListData*>(nullptr));
        QCOMPARE(Channels(g_AllDevicesMonitorData), QStringLiteral("1 2 3 4"));
        QTRY_VERIFY(store.isNull());
        g_MonitorDeviceTabBar->SetSelectedDeviceIndex(DeviceTabBar::AllDevices);
        m_Form->grab();  // paints the all-devices grid, which must hold none of the deleted rows
    }

    // Line and talk-time events repaint the monitor grid only when it shows their device.
    void lineEventsRepaintOnlyAShownDevice()
    {
        ZGridList* grid = m_Form->ui->MonitorGridList;
        g_MonitorDeviceTabBar->SetSelectedDeviceIndex(0);
        QVERIFY(QTest::qWaitForWindowExposed(m_Form));
        // Whatever was due is painted first.
        for (int i = 0; i < 3; ++i) {
            QCoreApplication::sendPostedEvents();
            QCoreApplication::processEvents();
        }
        PaintCounter paints(grid);
        emit g_DeviceManage->DeviceEventSignal(m_Store, Calvox_Event_ChannelStatus, ChannelArg(1), 0);
        emit g_DeviceManage->DeviceEventSignal(m_Store, Calvox_Event_TalkTime, ChannelArg(1), 65);
        QCoreApplication::processEvents();
        QCOMPARE(paints.Count, 0);
        emit g_DeviceManage->DeviceEventSignal(m_Office, Calvox_Event_TalkTime, ChannelArg(1), 65);
        QTRY_VERIFY(paints.Count > 0);
    }

    // A connect event makes the grid re-read its table (dropping the selection); line events do not.
    void connectEventsRereadTheGrid()
    {
        Ui::MainForm* ui = m_Form->ui;
        ZGridListRow* row = g_AllDevicesMonitorData->Rows.at(1);
        ui->MonitorGridList->SelectedRow = row;
        emit g_DeviceManage->DeviceEventSignal(m_Store, Calvox_Event_ChannelStatus, ChannelArg(1), 0);
        emit g_DeviceManage->DeviceEventSignal(m_Store, Calvox_Event_TalkTime, ChannelArg(1), 65);
        QCOMPARE(ui->MonitorGridList->SelectedRow, row);
        emit g_DeviceManage->DeviceEventSignal(m_Store, Calvox_Event_ConnectStatus, nullptr, 0);
        QCOMPARE(ui->MonitorGridList->SelectedRow, static_cast<ZGridListRow*>(nullptr));
    }

    // The record page's device box follows connect events while it offers the recorders, and changes of the
    // local device list while it offers the PC backup.
    void recordDeviceBoxFollowsItsTarget()
    {
        Ui::MainForm* ui = m_Form->ui;
        ZComboBox* box = ui->SearchDeviceComboBox;
        QCOMPARE(ui->SearchTargetComboBox->SelectedIndex(), 0);
        QCOMPARE(box->Items(), QStringList());
        GoOnline();
        QCOMPARE(box->Items(), (QStringList{"Office", "Store"}));

        QTemporaryDir backups;
        const SoftwareSetting settings = g_SoftwareSetting;
        g_SoftwareSetting.BackupPath = backups.path() + QLatin1Char('/');
        ui->SearchTargetComboBox->SetSelectedIndex(1);
        QCOMPARE(box->Items(), QStringList());
        QVERIFY(DeviceManage::AddLocalDevice(m_Store));
        QCOMPARE(box->Items(), QStringList{"Store"});
        emit g_DeviceManage->DeviceEventSignal(m_Office, Calvox_Event_ConnectStatus, nullptr, 0);
        QCOMPARE(box->Items(), QStringList{"Store"});
        g_SoftwareSetting = settings;
    }

    // The menu acts on the row's own device and channel, also in the all-devices view.
    void channelSettingsFromTheMenu()
    {
        Ui::MainForm* ui = m_Form->ui;
        GoOnline();
        QVERIFY(ChooseOnRow(5, 0));  // the second channel of the second device
        QCOMPARE(g_SettingDeviceTabBar->SelectedDeviceIndex, 1);
        QCOMPARE(ui->MainTabControl->SelectedIndex(), 3);
        if (ui->ChannelSelectComboBox->Items().size() > 1)
            QCOMPARE(ui->ChannelSelectComboBox->SelectedIndex(), 1);
    }

    void dialFromTheMenu()
    {
        GoOnline();
        QVERIFY(ChooseOnRow(2, 2));  // the third channel of the first device
        QVERIFY(g_DialForm->isVisible());
    }

    // Without the monitor permission (not logged in) nothing is asked of the recorder.
    void monitorNeedsThePermission()
    {
        {
            std::lock_guard<std::mutex> lock(m_OfficeRecorder->StateMutex());
            m_OfficeRecorder->State<emu::LoginState>().FindUser(emu::kDefaultUser)->permission = 0x0F;
        }
        GoOnline();
        TipCatcher tips;
        QVERIFY(ChooseOnRow(0, 1));
        QCOMPARE(tips.Seen, QStringList{QStringLiteral("Permission denied")});
        QVERIFY(!emu::GetLiveAudioStatus(*m_OfficeRecorder).streaming);
    }

    // Monitor makes the recorder stream the row's channel.
    void monitorFromTheMenu()
    {
        GoOnline();
        QVERIFY(ChooseOnRow(2, 1));
        const emu::LiveAudioStatus status = emu::GetLiveAudioStatus(*m_OfficeRecorder);
        QVERIFY(status.streaming);
        QCOMPARE(int(status.channel), 2);
        CalvoxAPI_StopMonitor();
    }

    // Play OGM lists the recorder's announcements beside the menu; the chosen one plays on the row's channel.
    void playAnnouncementFromTheMenu()
    {
        {
            std::lock_guard<std::mutex> lock(m_OfficeRecorder->StateMutex());
            std::array<uint8_t, 561>& list = m_OfficeRecorder->State<emu::DeviceRecords>().playBackFiles;
            list.fill(0);
            list[0] = 3;
            const char* names[] = {"Welcome", "Closed", "Holiday"};
            for (int i = 0; i < 3; ++i)
                std::memcpy(&list[1 + 28 * i], names[i], std::strlen(names[i]));
        }
        GoOnline();
        QCOMPARE(m_Office->GetPlayBackFileList(), 0);

        QObject scope;
        QStringList listed;
        When(&scope, [] { return Shown<ZMenu>() == g_MonitorGridListMenu; }, [&listed] {
            // The list opens from inside the hover, beside the menu, which stays open.
            When(g_MonitorGridListMenu, [] { return g_MonitorGridListPlayFileListMenu->isVisible(); }, [&listed] {
                ZMenu* files = g_MonitorGridListPlayFileListMenu;
                for (int i = 0; i < files->ItemCount(); ++i)
                    listed << files->Item(i)->Text;
                ChooseMenuItem(files, 1);
                g_MonitorGridListMenu->close();
            });
            ZMenu* menu = g_MonitorGridListMenu;
            HoverAt(menu, QPoint(20, menu->Padding().Top + 3 * menu->ItemHeight() + menu->ItemHeight() / 2));
        });
        ZGridList* grid = m_Form->ui->MonitorGridList;
        HoverAt(grid, RowPoint(grid, 3));
        QTest::mouseClick(grid, Qt::RightButton, Qt::NoModifier, RowPoint(grid, 3));
        QCOMPARE(listed, QStringList({"Welcome", "Closed", "Holiday"}));
        const auto played = [this] {
            for (const emu::LoggedRequest& request : m_OfficeRecorder->Log()) {
                if (request.command == 42)
                    return QString::number(request.payload.at(0)) + QLatin1Char(' ') +
                           QString::fromLatin1(reinterpret_cast<const char*>(request.payload.data() + 1));
            }
            return QString();
        };
        QTRY_COMPARE_WITH_TIMEOUT(played(), QStringLiteral("3 Closed"), 20000);
    }

    // The online-user page lists the users logged in to its bar's device.
    void onlineUsersOfTheSelectedDevice()
    {
        GoOnline();
        ZGridList* grid = m_Form->ui->OnlineUserGridList;
        QCOMPARE(grid->DataSource(), m_Office->OnlineUserData);
        const auto firstUser = [grid] {
            ZGridListData* table = grid->DataSource();
            table->Lock();
            const QString name = table->Rows.isEmpty() ? QString() : table->Rows.at(0)->Cells[0].Text;
            table->Unlock();
            return name;
        };
        QTRY_COMPARE_WITH_TIMEOUT(firstUser(), QStringLiteral("admin"), 20000);
    }

    void noMenuOutsideTheRows()
    {
        m_Form->resize(QSize(1200, 800));
        QCoreApplication::sendPostedEvents();
        QVERIFY(!ChooseOnRow(-1, 0));
    }
};

QTEST_MAIN(MainFormMonitorTest)
#include "tst_mainform_monitor.moc"
