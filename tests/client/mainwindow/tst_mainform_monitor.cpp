// The monitor and online-user pages of the real main window with emulated recorders of 4 and 2 channels: the
// tab bars it builds, the grids following them, the shared all-devices table, a device removed while its tables
// are shown, and the device events that make the monitor grid re-read.

#include "MainFormRig.h"

#include "DeviceManageForm.h"
#include "DeviceTabBar.h"
#include "MainFormGlobals.h"
#include "MainFormUi.h"
#include "ZButton.h"
#include "ZGridListData.h"

#include <QtTest>

namespace {

const char kOfficeId[] = "4B000000000000000031";  // four channels
const char kStoreId[] = "2B000000000000000032";   // two channels

// Cell 1 (the channel number) of each row of a table, joined by spaces.
QString Channels(ZGridListData* table)
{
    QStringList channels;
    table->Lock();
    for (const ZGridListRow* row : table->Rows)
        channels << row->Cells[1].Text;
    table->Unlock();
    return channels.join(QLatin1Char(' '));
}

QString ButtonTexts(DeviceTabBar* bar)
{
    QStringList texts;
    for (ZButton* button : bar->Buttons())
        texts << button->Text();
    return texts.join(QLatin1Char('|'));
}

unsigned char* ChannelArg(int channel)
{
    return reinterpret_cast<unsigned char*>(static_cast<intptr_t>(channel));
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

private slots:
    void init()
    {
        m_Rig = std::make_unique<MainFormRig>();
        emu::Recorder* office = m_Rig->AddRecorder(kOfficeId);
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
        QCOMPARE(ui->UserListGridList->DataSource(), static_cast<ZGridListData*>(nullptr));
        QCOMPARE(Channels(g_AllDevicesMonitorData), QStringLiteral("1 2 3 4"));
        QTRY_VERIFY(store.isNull());
        g_MonitorDeviceTabBar->SetSelectedDeviceIndex(DeviceTabBar::AllDevices);
        m_Form->grab();  // paints the all-devices grid, which must hold none of the deleted rows
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
};

QTEST_MAIN(MainFormMonitorTest)
#include "tst_mainform_monitor.moc"
