// Calls on emulated recorders of 4 and 2 channels as the real main window shows them: line state, rings, talk
// time, number and contact in the all-devices view and the device's own view; the pop-ups and the dial pad
// getting the events in that order; New Contacts on a call pop-up; live listening into a WAV capture; an
// announcement played on a recorder that stopped answering; a recorder removed in the middle of a call.

#include "MainFormRig.h"
#include "MonitorPageHelpers.h"

#include "ContactsFixture.h"

#include "ContactsEditForm.h"
#include "DeviceTabBar.h"
#include "DialForm.h"
#include "RecordPopupForm.h"
#include "SoftwareSetting.h"
#include "StatusIcons.h"
#include "StatusPopupForm.h"
#include "ZButton.h"
#include "ZComboBox.h"
#include "ZLabel.h"
#include "ZLineEdit.h"
#include "store/RecordSearch.h"

#include "EmuFiles.h"
#include "EmuHeartbeat.h"
#include "EmuLiveAudio.h"
#include "EmuRecords.h"

#include <QPointer>
#include <QtEndian>
#include <QtTest>

#include <array>
#include <cstring>

namespace {

const char kOfficeId[] = "4B000000000000000041";  // four channels
const char kStoreId[] = "2B000000000000000042";   // two channels

// The recorder's tries of one request before the SDK gives up.
constexpr int kRequestTries = 5;

// What a monitor row shows of a call: the line icon, rings, talk time, number and contact.
struct RowView {
    const QImage* Icon = nullptr;
    QString Rings;
    QString TalkTime;
    QString Phone;
    QString Contact;
    bool operator==(const RowView& o) const
    {
        return Icon == o.Icon && Rings == o.Rings && TalkTime == o.TalkTime && Phone == o.Phone && Contact == o.Contact;
    }
};

char* toString(const RowView& v)
{
    int icon = -1;
    for (int i = 0; i < kStatusIconCount; ++i)
        if (g_StatusIcons[i] == v.Icon)
            icon = i;
    return QTest::toString(QStringLiteral("icon %1, rings '%2', talk '%3', phone '%4', contact '%5'")
                               .arg(icon)
                               .arg(v.Rings, v.TalkTime, v.Phone, v.Contact));
}

RowView ReadRow(ZGridListData* table, int row)
{
    RowView view;
    table->Lock();
    if (row < table->Rows.size()) {
        const ZGridListRow* r = table->Rows[row];
        if (r->Cells[5].Type == ZGridListCell::ImageCell)
            view.Icon = reinterpret_cast<const QImage*>(r->Cells[5].Value);
        view.Rings = r->Cells[6].Text;
        view.TalkTime = r->Cells[7].Text;
        view.Phone = r->Cells[8].Text;
        view.Contact = r->Cells[9].Text;
    }
    table->Unlock();
    return view;
}

const QImage* CellImage(ZGridListData* table, int row, int cell)
{
    table->Lock();
    const ZGridListCell& c = table->Rows[row]->Cells[cell];
    const QImage* image = c.Type == ZGridListCell::ImageCell ? reinterpret_cast<const QImage*>(c.Value) : nullptr;
    table->Unlock();
    return image;
}

// The PCM samples of a WAV file as the capture sink writes it (a 44-byte header, then 16-bit samples).
QVector<qint16> WavSamples(const QString& path)
{
    QFile file(path);
    QVector<qint16> samples;
    if (!file.open(QIODevice::ReadOnly))
        return samples;
    const QByteArray bytes = file.readAll();
    for (int at = 44; at + 1 < bytes.size(); at += 2)
        samples << qFromLittleEndian<qint16>(bytes.constData() + at);
    return samples;
}

// Logs, in order, the call and record pop-ups that show and the dial pad's dial button turning on or off.
class EventOrderLog : public QObject
{
public:
    EventOrderLog() { qApp->installEventFilter(this); }
    ~EventOrderLog() override { qApp->removeEventFilter(this); }
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Show && (qobject_cast<StatusPopupForm*>(watched) != nullptr ||
                                              qobject_cast<RecordPopupForm*>(watched) != nullptr))
            Entries << QString::fromLatin1(watched->metaObject()->className());
        if (event->type() == QEvent::EnabledChange && watched->objectName() == QLatin1String("DialButton") &&
            g_DialForm != nullptr && g_DialForm->isAncestorOf(static_cast<QWidget*>(watched)))
            Entries << (static_cast<QWidget*>(watched)->isEnabled() ? QStringLiteral("dial on")
                                                                     : QStringLiteral("dial off"));
        return QObject::eventFilter(watched, event);
    }
    QStringList Entries;
};

void ClosePopups()
{
    for (QWidget* w : QApplication::allWidgets())
        if (w->isVisible() && (qobject_cast<StatusPopupForm*>(w) || qobject_cast<RecordPopupForm*>(w)))
            w->close();
}

// The call pop-up on screen for that number, or null.
StatusPopupForm* CallPopup(const QString& number)
{
    for (QWidget* w : QApplication::allWidgets())
        if (auto* popup = qobject_cast<StatusPopupForm*>(w); popup && popup->isVisible() && popup->PhoneNum == number)
            return popup;
    return nullptr;
}

} // namespace

class MainFormCallsTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<MainFormRig> m_Rig;
    std::unique_ptr<QTemporaryDir> m_Storage;
    MainForm* m_Form = nullptr;
    KesDevice* m_Office = nullptr;
    KesDevice* m_Store = nullptr;
    emu::Recorder* m_OfficeRecorder = nullptr;
    emu::Recorder* m_StoreRecorder = nullptr;
    SoftwareSetting m_Settings;

    // Both recorders registered (the store's outside-line key is '9') and a phone book of two contacts;
    // `online` also logs both in.
    void Start(bool online)
    {
        m_OfficeRecorder = m_Rig->AddRecorder(kOfficeId);
        m_StoreRecorder = m_Rig->AddRecorder(kStoreId);
        {
            std::lock_guard<std::mutex> lock(m_StoreRecorder->StateMutex());
            m_StoreRecorder->State<emu::DeviceRecords>().base[4] = '9';
        }
        m_Form = m_Rig->Start();
        QVERIFY(m_Form->Started());
        m_Office = MainFormRig::Register("Office", m_OfficeRecorder, kOfficeId, false);
        m_Store = MainFormRig::Register("Store", m_StoreRecorder, kStoreId, false);

        QVERIFY(WriteBook("/Book", QJsonArray{ContactJson("Alice", "5551234", QString(), "Acme"),
                                              ContactJson("Bob", "555")}));
        m_Form->ContactsListChangedEvent();  // as when the contacts folder changes
        QVERIFY(GetContactsData("/Book") != nullptr);
        if (!online)
            return;
        QVERIFY(GoOnline(m_Form, {m_Office, m_Store}));
        QCOMPARE(m_Store->GetBaseSetting(), 0);
    }

    // The row of a device's channel as the monitor grid shows it with the bar on `barIndex`.
    RowView ViewRow(int barIndex, KesDevice* device, int channel)
    {
        g_MonitorDeviceTabBar->SetSelectedDeviceIndex(barIndex);
        ZGridListData* table = m_Form->ui->MonitorGridList->DataSource();
        if (table == nullptr)
            return RowView();
        const int offset = barIndex == DeviceTabBar::AllDevices && device == m_Store ? m_Office->Channels : 0;
        return ReadRow(table, offset + channel);
    }

    // True once both views show the row as expected.
    bool ShownInBothViews(KesDevice* device, int channel, const RowView& expected)
    {
        return QTest::qWaitFor(
            [&] {
                return ViewRow(DeviceTabBar::AllDevices, device, channel) == expected &&
                       ViewRow(DeviceManage::IndexOfDevice(device), device, channel) == expected;
            },
            20000);
    }

    void CompareInBothViews(KesDevice* device, int channel, const RowView& expected)
    {
        if (ShownInBothViews(device, channel, expected))
            return;
        QCOMPARE(ViewRow(DeviceTabBar::AllDevices, device, channel), expected);
        QCOMPARE(ViewRow(DeviceManage::IndexOfDevice(device), device, channel), expected);
    }

    // Opens the monitor menu on a row and hovers Play OGM; chooses announcement `choice` of the list that opens
    // and returns the names listed.
    QStringList PlayAnnouncement(int row, int choice)
    {
        QObject scope;
        QStringList listed;
        When(&scope, [] { return ::Shown<ZMenu>() == g_MonitorGridListMenu; }, [&listed, choice] {
            When(g_MonitorGridListMenu, [] { return g_MonitorGridListPlayFileListMenu->isVisible(); },
                 [&listed, choice] {
                     ZMenu* files = g_MonitorGridListPlayFileListMenu;
                     for (int i = 0; i < files->ItemCount(); ++i)
                         listed << files->Item(i)->Text;
                     ChooseMenuItem(files, choice);
                     g_MonitorGridListMenu->close();
                 });
            ZMenu* menu = g_MonitorGridListMenu;
            HoverAt(menu, QPoint(20, menu->Padding().Top + 3 * menu->ItemHeight() + menu->ItemHeight() / 2));
        });
        // Should the list not open, the menu is closed, so that the test fails instead of waiting for ever.
        QElapsedTimer open;
        open.start();
        When(&scope, [&open] { return open.elapsed() > 30000; }, [] {
            g_MonitorGridListPlayFileListMenu->close();
            g_MonitorGridListMenu->close();
        }, 60000);
        ZGridList* grid = m_Form->ui->MonitorGridList;
        HoverAt(grid, RowPoint(grid, row));
        QTest::mouseClick(grid, Qt::RightButton, Qt::NoModifier, RowPoint(grid, row));
        return listed;
    }

private slots:
    void init()
    {
        m_Settings = g_SoftwareSetting;
        m_Rig = std::make_unique<MainFormRig>();
    }

    void cleanup()
    {
        ClosePopups();
        m_Rig.reset();
        m_Storage.reset();
        m_Form = nullptr;
        g_SoftwareSetting = m_Settings;
        qunsetenv("CALVOX_AUDIO_SINK");
    }

    // Ring, answer and hang up on a channel of each recorder: the same row in both views, the contact named by
    // the number (an outgoing number without the recorder's outside-line key).
    void callsShowInBothViews()
    {
        Start(true);
        QVERIFY(!QTest::currentTestFailed());
        QImage* const* icons = g_StatusIcons;

        emu::SetLine(*m_OfficeRecorder, 1, emu::kLineRing, "5551234", 2);
        CompareInBothViews(m_Office, 1, {icons[3], "2", QString(), "5551234", "Alice"});
        emu::StartTalking(*m_OfficeRecorder, 1, "5551234");
        emu::SetTalkTime(*m_OfficeRecorder, 1, 65);
        CompareInBothViews(m_Office, 1, {icons[2], QString(), "01:05", "5551234", "Alice"});

        // Dialled out through the outside line: the key '9' is not part of the contact's number.
        emu::SetLine(*m_StoreRecorder, 0, emu::kLineOutComing, "9555");
        CompareInBothViews(m_Store, 0, {icons[5], QString(), QString(), "9555", "Bob"});
        emu::SetTalkTime(*m_StoreRecorder, 0, 65);
        CompareInBothViews(m_Store, 0, {icons[5], QString(), "01:05", "9555", "Bob"});
        // A caller's number keeps its first digit, whatever the outside-line key.
        emu::SetLine(*m_StoreRecorder, 1, emu::kLineRing, "9555", 1);
        CompareInBothViews(m_Store, 1, {icons[3], "1", QString(), "9555", QString()});

        emu::HangUp(*m_OfficeRecorder, 1);
        emu::HangUp(*m_StoreRecorder, 0);
        CompareInBothViews(m_Office, 1, {icons[1], QString(), QString(), "5551234", "Alice"});
        QVERIFY(QTest::qWaitFor([this] {
            const RowView all = ViewRow(DeviceTabBar::AllDevices, m_Store, 0);
            const RowView own = ViewRow(1, m_Store, 0);
            return all.Icon == g_StatusIcons[1] && all.TalkTime.isEmpty() && own.Icon == all.Icon &&
                   own.TalkTime.isEmpty();
        }, 20000));
        // The other lines never changed.
        CompareInBothViews(m_Office, 0, {icons[1], QString(), QString(), QString(), QString()});
        m_Form->grab();
    }

    // The settings page's channel line follows the recorder's lines: a watched line that is lost makes it read
    // abnormal, until the line is back.
    void lineEventsRefreshTheSettingsChannelLine()
    {
        Start(true);
        QVERIFY(!QTest::currentTestFailed());
        {
            std::lock_guard<std::mutex> lock(m_OfficeRecorder->StateMutex());
            m_OfficeRecorder->State<emu::DeviceRecords>().channel[2][896] = 1;  // loss alert on
        }
        QCOMPARE(m_Office->GetChannelSetting(2), 0);
        QCOMPARE(g_SettingDeviceTabBar->SelectedDeviceIndex, 0);
        ZLabel* line = m_Form->ui->DeviceChannelStatusLabel;
        QTRY_COMPARE_WITH_TIMEOUT(line->Text(), QStringLiteral("Normal"), 20000);
        emu::SetLine(*m_OfficeRecorder, 2, emu::kLineLost);
        QTRY_COMPARE_WITH_TIMEOUT(line->Text(), QStringLiteral("Abnormal"), 20000);
        emu::SetLine(*m_OfficeRecorder, 2, emu::kLineOnHook);
        QTRY_COMPARE_WITH_TIMEOUT(line->Text(), QStringLiteral("Normal"), 20000);
    }

    // Every device event goes to the pop-ups first and then to the dial pad: the ringing line's pop-up shows
    // before the dial pad turns its dial button off, and the hang-up turns it on again and raises the record
    // pop-up.
    void popupsThenDialPad()
    {
        Start(true);
        QVERIFY(!QTest::currentTestFailed());
        g_SoftwareSetting.StatusPopup = true;
        g_SoftwareSetting.StatusPopupComingCall = true;
        g_SoftwareSetting.StatusPopupStrangeNumber = true;
        g_SoftwareSetting.StatusPopupTime = 0;
        g_SoftwareSetting.NotesPopup = true;
        g_SoftwareSetting.NotesPopupTime = 0;
        g_DialForm->SetChannel(m_Store, 1);
        QTRY_VERIFY(g_DialForm->findChild<ZButton*>("DialButton")->isEnabled());

        EventOrderLog log;
        emu::SetLine(*m_StoreRecorder, 1, emu::kLineRing, "5551234", 2);
        QTRY_COMPARE_WITH_TIMEOUT(log.Entries, (QStringList{"StatusPopupForm", "dial off"}), 20000);
        emu::HangUp(*m_StoreRecorder, 1);
        QTRY_COMPARE_WITH_TIMEOUT(log.Entries.size(), 4, 20000);
        QVERIFY(log.Entries.contains("dial on"));
        QVERIFY(log.Entries.contains("RecordPopupForm"));
    }

    // New Contacts on a call pop-up opens the contact editor with the caller's number; the confirmed entry is
    // stored in the chosen book and the contacts grid shows it.
    void newContactFromTheCallPopup()
    {
        Start(true);
        QVERIFY(!QTest::currentTestFailed());
        g_SoftwareSetting.StatusPopup = true;
        g_SoftwareSetting.StatusPopupComingCall = true;
        g_SoftwareSetting.StatusPopupStrangeNumber = true;
        g_SoftwareSetting.StatusPopupTime = 0;
        ZGridList* contacts = m_Form->ui->ContactsGridList;
        contacts->SetDataSource(GetContactsData("/Book"));
        contacts->UpdateData();

        emu::SetLine(*m_OfficeRecorder, 2, emu::kLineRing, "5559876", 2);
        QTRY_VERIFY_WITH_TIMEOUT(CallPopup("5559876") != nullptr, 20000);
        StatusPopupForm* popup = CallPopup("5559876");

        QString offered;
        When(m_Form, [] { return g_ContactsEditForm->isVisible(); }, [&offered] {
            offered = g_ContactsEditForm->findChild<ZLineEdit*>("PhoneNumLineEdit")->Text();
            g_ContactsEditForm->findChild<ZLineEdit*>("NameLineEdit")->SetText(QStringLiteral("Carol"));
            g_ContactsEditForm->findChild<ZComboBox*>("ContactsListComboBox")->SetSelectedIndex(0);
            QTest::mouseClick(g_ContactsEditForm->findChild<ZButton*>("ConfirmButton"), Qt::LeftButton);
        });
        QTest::mouseClick(popup->findChild<ZButton*>("EditButton"), Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(offered, QStringLiteral("5559876"), 20000);
        QTRY_VERIFY(!g_ContactsEditForm->isVisible());

        const QJsonArray stored = ReadBook("/Book").value("Contacts").toArray();
        QCOMPARE(stored.size(), 3);
        QCOMPARE(stored.at(2).toObject().value("Name").toString(), QStringLiteral("Carol"));
        QCOMPARE(stored.at(2).toObject().value("PhoneNum").toString(), QStringLiteral("5559876"));
        QCOMPARE(GridRows(contacts).size(), 3);
        QVERIFY(GridRows(contacts).at(2).contains(QStringLiteral("Carol")));
    }

    // Monitor on a row: the recorder streams that channel, the row shows the monitoring image and the sound
    // output gets the audio.
    void monitorPlaysTheChannel()
    {
        QTemporaryDir capture;
        const QString wav = capture.filePath("live.wav");
        qputenv("CALVOX_AUDIO_SINK", "wav:" + wav.toUtf8());
        Start(true);
        QVERIFY(!QTest::currentTestFailed());

        QVERIFY(ChooseOnMonitorRow(m_Form, 5, 1));  // the second channel of the store
        QTRY_COMPARE_WITH_TIMEOUT(int(emu::GetLiveAudioStatus(*m_StoreRecorder).channel), 1, 20000);
        QTRY_COMPARE_WITH_TIMEOUT(CellImage(g_AllDevicesMonitorData, 5, 3), g_StatusIcons[kMonitoringIcon], 20000);
        QCOMPARE(CellImage(g_AllDevicesMonitorData, 4, 3), static_cast<const QImage*>(nullptr));
        QTRY_VERIFY_WITH_TIMEOUT(emu::GetLiveAudioStatus(*m_StoreRecorder).packetsSent >= 20, 20000);
        CalvoxAPI_StopMonitor();
        QTRY_COMPARE_WITH_TIMEOUT(CellImage(g_AllDevicesMonitorData, 5, 3), static_cast<const QImage*>(nullptr), 20000);

        m_Rig->Stop();  // the program's end closes the sound output, which completes the file
        m_Form = nullptr;
        const QVector<qint16> samples = WavSamples(wav);
        QVERIFY2(samples.size() >= 1024, qPrintable(QString::number(samples.size())));
        QVERIFY(std::any_of(samples.begin(), samples.end(), [](qint16 s) { return s != 0; }));
    }

    // A recorder that does not answer: choosing an announcement leaves the window working while the request
    // is still being tried.
    void announcementOnASilentRecorder()
    {
        Start(true);
        QVERIFY(!QTest::currentTestFailed());
        {
            std::lock_guard<std::mutex> lock(m_OfficeRecorder->StateMutex());
            std::array<uint8_t, 561>& list = m_OfficeRecorder->State<emu::DeviceRecords>().playBackFiles;
            list.fill(0);
            list[0] = 2;
            std::memcpy(&list[1], "Welcome", 7);
            std::memcpy(&list[29], "Closed", 6);
        }
        QCOMPARE(m_Office->GetPlayBackFileList(), 0);
        // It no longer answers the play request; the heartbeat keeps it listed online.
        m_OfficeRecorder->SetHandler(42, emu::Handler());

        // The menu returns at once; while the recorder is still being tried, the window paints.
        QCOMPARE(PlayAnnouncement(2, 1), (QStringList{"Welcome", "Closed"}));
        QVERIFY(QTest::qWaitFor([this] { return m_OfficeRecorder->CountRequests(42) >= 1; }, 20000));
        m_Form->grab();
        const int triesWhenPainted = static_cast<int>(m_OfficeRecorder->CountRequests(42));
        QVERIFY2(triesWhenPainted < kRequestTries, qPrintable(QString::number(triesWhenPainted)));
    }

    // A recorder removed during a call while every grid shows one of its tables and one of its records plays:
    // nothing shows or plays it any more, and the window goes on painting the other recorder's calls.
    void recorderRemovedDuringACall()
    {
        qputenv("CALVOX_AUDIO_SINK", "null");
        Start(true);
        QVERIFY(!QTest::currentTestFailed());
        Ui::MainForm* ui = m_Form->ui;
        m_Storage = std::make_unique<QTemporaryDir>();
        QVERIFY(QDir(m_Storage->path()).mkpath("RecordFiles"));
        emu::ServeFiles(*m_OfficeRecorder, m_Storage->path().toStdString());
        QFile record(m_Storage->path() + "/RecordFiles/call.wav");
        QVERIFY(record.open(QIODevice::WriteOnly));
        record.write(QByteArray(60 * 8000, '\x55'));
        record.close();

        emu::StartTalking(*m_OfficeRecorder, 0, "5551234");
        emu::SetTalkTime(*m_OfficeRecorder, 0, 20);
        emu::StartTalking(*m_StoreRecorder, 1, "9555");
        emu::SetTalkTime(*m_StoreRecorder, 1, 10);
        CompareInBothViews(m_Office, 0, {g_StatusIcons[2], QString(), "00:20", "5551234", "Alice"});
        g_MonitorDeviceTabBar->SetSelectedDeviceIndex(0);
        g_OnlineUserDeviceTabBar->SetSelectedDeviceIndex(0);
        ui->RecordGridList->SetDataSource(m_Office->RecordData);
        ui->UserListGridList->SetDataSource(m_Office->UserListData);
        g_RecordSearchCondition.Target = 0;
        g_RecordSearchCondition.Device = m_Office->Name;
        g_RecordPlayer->Play(m_Office, "/RecordFiles/call.wav");
        QTRY_VERIFY(g_RecordPlayer->IsPlaying());
        QPointer<KesDevice> office(m_Office);

        QVERIFY(DeviceManage::RemoveDevice(0));
        QVERIFY(!g_RecordPlayer->IsPlaying());
        // The monitor bar falls back on all devices, the online-user bar on the next recorder.
        QCOMPARE(ui->MonitorGridList->DataSource(), g_AllDevicesMonitorData);
        QCOMPARE(ui->OnlineUserGridList->DataSource(), m_Store->OnlineUserData);
        QCOMPARE(ui->RecordGridList->DataSource(), static_cast<ZGridListData*>(nullptr));
        QVERIFY(ui->UserListGridList->DataSource() != m_Office->UserListData);
        QCOMPARE(Channels(g_AllDevicesMonitorData), QStringLiteral("1 2"));
        QTRY_VERIFY_WITH_TIMEOUT(office.isNull(), 20000);
        m_Office = nullptr;

        // The removed recorder's line keeps changing; the other recorder's calls still show.
        emu::SetTalkTime(*m_OfficeRecorder, 0, 30);
        emu::SetTalkTime(*m_StoreRecorder, 1, 65);
        QTRY_COMPARE_WITH_TIMEOUT(ReadRow(g_AllDevicesMonitorData, 1).TalkTime, QStringLiteral("01:05"), 20000);
        m_Form->grab();
    }
};

QTEST_MAIN(MainFormCallsTest)
#include "tst_mainform_calls.moc"
