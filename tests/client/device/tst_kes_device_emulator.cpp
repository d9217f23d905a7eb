// KesDevice end to end: the SDK (the shared library the client loads) against the recorder emulator running in
// this process on 127.0.0.1, the update server a local HTTP server. The SDK's waits are scaled down.

#include "DeviceTestSupport.h"
#include "KesDeviceAutoLoginThread.h"
#include "Language.h"
#include "LocalHttpServer.h"
#include "ProgramFolder.h"

#include "EmuFiles.h"
#include "EmuHeartbeat.h"
#include "EmuRecords.h"
#include "EmuSessions.h"
#include "Emulator.h"

#include <QCryptographicHash>
#include <QLocale>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QtTest>

#include <atomic>
#include <cstring>
#include <memory>
#include <thread>
#include <vector>

namespace emu = calvox::emu;

namespace {

const char kId[] = "4B000000000000000007";  // KES2204S, 4 channels
constexpr uint8_t kCommandLogin = 3;
constexpr uint8_t kCommandHeartbeat = 4;
constexpr uint8_t kCommandGetChannelSetting = 16;
constexpr uint8_t kCommandGetKeyControl = 18;

// One emulated recorder and a registered device pointed at it, logging in as admin. The device goes first.
struct Rig {
    Rig()
    {
        emu::RecorderConfig config;
        config.id = kId;
        config.bindAddress = "127.0.0.1";
        config.port = 0;
        recorder = emulator.Add(config);
        device.reset(KesDevice::Create(QStringLiteral("Office"), QString::fromLatin1(kId)));
        if (recorder == nullptr || !device)
            return;
        device->SetNetAddr(QStringLiteral("127.0.0.1"), recorder->Port());
        device->UserName = QStringLiteral("admin");
        device->Password = QStringLiteral("admin");
    }
    ~Rig()
    {
        device.reset();
        emulator.Stop();
    }
    bool Ready() const { return recorder != nullptr && device != nullptr; }

    template <class T, class F>
    void Edit(F f)
    {
        std::lock_guard<std::mutex> lock(recorder->StateMutex());
        f(recorder->State<T>());
    }

    void AddAccount(const std::string& name, const QByteArray& password, uint64_t channels, uint32_t permission)
    {
        emu::UserAccount account;
        account.name = name;
        const QByteArray md5 = QCryptographicHash::hash(password, QCryptographicHash::Md5);
        std::memcpy(account.passwordMd5.data(), md5.constData(), 16);
        account.channelMask = channels;
        account.permission = permission;
        Edit<emu::LoginState>([&](emu::LoginState& s) { s.users.push_back(account); });
    }

    // Commands the recorder received, other than the heartbeat's.
    QList<int> Commands() const
    {
        QList<int> commands;
        for (const emu::LoggedRequest& r : recorder->Log())
            commands << r.command;
        return commands;
    }

    bool RunAutoLogin()
    {
        device->AutoLoginThread->start();
        return device->AutoLoginThread->WaitForEnd(20000);
    }

    emu::Emulator emulator;
    emu::Recorder* recorder = nullptr;
    std::unique_ptr<KesDevice> device;
};

}  // namespace

class TestKesDeviceEmulator : public QObject
{
    Q_OBJECT

private:
    StatusIconsFixture m_Icons;
    std::unique_ptr<LocalHttpServer> m_Http;
    QTemporaryDir m_Storage;

private slots:
    void initTestCase()
    {
        // The SDK reads these on first use; the test's CTest entry sets the scale as well.
        if (qEnvironmentVariableIsEmpty("CALVOX_TIME_SCALE"))
            qputenv("CALVOX_TIME_SCALE", "0.05");
        m_Http = std::make_unique<LocalHttpServer>();
        QVERIFY(m_Http->Port() != 0);
        qputenv("CALVOX_UPDATE_SERVER", QByteArray("127.0.0.1:") + QByteArray::number(m_Http->Port()));
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        SetEnglishTableTexts();
        QVERIFY(m_Storage.isValid());
    }

    void autoLoginBringsTheRowsUpAndNamesTheChannels()
    {
        Rig rig;
        QVERIFY(rig.Ready());
        rig.Edit<emu::DeviceRecords>([](emu::DeviceRecords& r) {
            for (int c = 0; c < 4; ++c) {
                const std::string name = "Line " + std::to_string(c + 1);
                std::memcpy(r.channel[c].data() + 908, name.data(), name.size());
                r.channel[c][899] = static_cast<uint8_t>(c + 1);
            }
        });
        m_Http->Serve("/KES2204S/Version.json", R"({"Version": "2.1.4.0", "Updates-English": ["Faster"]})");

        QVERIFY(rig.RunAutoLogin());
        KesDevice* d = rig.device.get();
        for (int c = 0; c < 4; ++c)
            QCOMPARE(CellText(d->MonitorData, c, 2), QStringLiteral("Line %1").arg(c + 1));
        QCOMPARE(CellText(d->MonitorData, 0, 10), QStringLiteral("Voltage"));
        QCOMPARE(CellText(d->MonitorData, 3, 10), QStringLiteral("Continuous"));
        QCOMPARE(RowCount(d->UserListData), 1);
        QCOMPARE(CellText(d->UserListData, 0, 0), QStringLiteral("admin"));
        QCOMPARE(d->NewVersion.Get(), QStringLiteral("2.1.4.0"));
        QCOMPARE(d->FirmwareFileName.Get(), QStringLiteral("KES2204S-2.1.4.0.bin"));
        QCOMPARE(d->UpdateNotes.Get(), QStringList({QStringLiteral("Updates : "), QStringLiteral("Faster")}));
        QCOMPARE(int(d->Time.Get()[0]), QDate::currentDate().year() - 2000);
        QCOMPARE(int(d->Time.Get()[6]), QDate::currentDate().dayOfWeek());

        // Every group was read once before the heartbeat started.
        const QList<int> commands = rig.Commands();
        for (int command : {int(kCommandLogin), 5, 6, 11, 13, 14, 18, 20, 22, 24, 40, 43})
            QVERIFY2(commands.contains(command), qPrintable(QString::number(command)));
        QCOMPARE(commands.count(kCommandGetChannelSetting), 4);

        QTRY_COMPARE(VisibleRows(d->MonitorData), QStringLiteral("1111"));
        QTRY_COMPARE(d->Version.Get(), QStringLiteral("2.1.3.5"));
        QVERIFY(RowsShown(d->UserListData) && RowsShown(d->OnlineUserData) && RowsShown(d->RecordData));
        QCOMPARE(CalvoxAPI_ConnectStatus(d->Handle), int(Calvox_Connect_Online));
        QVERIFY(d->HasNewVersion());
        QTRY_COMPARE(CellImage(d->MonitorData, 2, 5), g_StatusIcons[Calvox_Phone_OnHook]);
    }

    void anOutgoingCallFillsItsRow()
    {
        PhoneBookFixture book({{QStringLiteral("Alice"), QStringLiteral("555")},
                               {QStringLiteral("Bob"), QStringLiteral("9555")}});
        Rig rig;
        QVERIFY(rig.Ready());
        rig.Edit<emu::DeviceRecords>([](emu::DeviceRecords& r) { r.base[4] = '9'; });
        QVERIFY(rig.RunAutoLogin());
        KesDevice* d = rig.device.get();
        QTRY_COMPARE(VisibleRows(d->MonitorData), QStringLiteral("1111"));

        emu::SetLine(*rig.recorder, 1, emu::kLineOutComing, "9555");
        QTRY_COMPARE(CellText(d->MonitorData, 1, 8), QStringLiteral("9555"));
        QCOMPARE(CellImage(d->MonitorData, 1, 5), g_StatusIcons[Calvox_Phone_OutComing]);
        QCOMPARE(CellText(d->MonitorData, 1, 9), QStringLiteral("Alice"));
        // The same digits coming in are not an outside line.
        emu::SetLine(*rig.recorder, 3, emu::kLineInComing, "9555", 2);
        QTRY_COMPARE(CellText(d->MonitorData, 3, 9), QStringLiteral("Bob"));
        QCOMPARE(CellText(d->MonitorData, 3, 6), QStringLiteral("2"));

        emu::SetTalkTime(*rig.recorder, 1, 3600);
        QTRY_COMPARE(CellText(d->MonitorData, 1, 7), QStringLiteral("60:00"));
        emu::SetPlayback(*rig.recorder, 1, 1);
        QTRY_COMPARE(CellImage(d->MonitorData, 1, 4), g_StatusIcons[kPlayBackIcon]);
        emu::SetMonitoredChannel(*rig.recorder, 1);
        QTRY_COMPARE(CellImage(d->MonitorData, 1, 3), g_StatusIcons[kMonitoringIcon]);
        emu::SetMonitoredChannel(*rig.recorder, emu::kNoChannel);
        QTRY_COMPARE(CellImage(d->MonitorData, 1, 3), nullptr);
        // The other rows are untouched.
        QCOMPARE(CellText(d->MonitorData, 0, 8), QString());
        QCOMPARE(CellText(d->MonitorData, 2, 9), QString());
    }

    // A recorder that names a channel the model does not have as monitored: nothing indexes a table with it.
    void aMonitoredChannelBeyondTheModelChangesNoRow()
    {
        Rig rig;
        QVERIFY(rig.Ready());
        KesDevice* d = rig.device.get();
        std::mutex mutex;
        QList<int> monitorEvents;  // channel * 2 + started
        connect(d, &KesDevice::DeviceEventSignal, d, [&](KesDevice*, Calvox_EventType event, unsigned char* data,
                                                         int length) {
            if (event != Calvox_Event_MonitorChannel)
                return;
            std::lock_guard<std::mutex> lock(mutex);
            monitorEvents << int(reinterpret_cast<intptr_t>(data)) * 2 + (length != 0);
        }, Qt::DirectConnection);
        auto events = [&] {
            std::lock_guard<std::mutex> lock(mutex);
            return monitorEvents;
        };
        QVERIFY(rig.RunAutoLogin());
        QTRY_COMPARE(VisibleRows(d->MonitorData), QStringLiteral("1111"));

        emu::SetMonitoredChannel(*rig.recorder, 2);
        QTRY_COMPARE(CellImage(d->MonitorData, 2, 3), g_StatusIcons[kMonitoringIcon]);
        emu::SetMonitoredChannel(*rig.recorder, 200);
        QTRY_COMPARE(CellImage(d->MonitorData, 2, 3), nullptr);  // channel 2 ended: the recorder monitors none
        const size_t rounds = rig.recorder->CountRequests(kCommandHeartbeat);
        QVERIFY(rig.recorder->WaitForRequests(kCommandHeartbeat, rounds + 3, 5000));
        QCOMPARE(events(), QList<int>({2 * 2 + 1, 2 * 2 + 0}));
        for (int row = 0; row < 4; ++row)
            QCOMPARE(CellImage(d->MonitorData, row, 3), nullptr);
        QCOMPARE(VisibleRows(d->MonitorData), QStringLiteral("1111"));
    }

    void aWrongPasswordStopsAfterTheLogin()
    {
        Rig rig;
        QVERIFY(rig.Ready());
        rig.device->Password = QStringLiteral("wrong");
        const int versionRequests = m_Http->Requests();
        QVERIFY(rig.RunAutoLogin());
        QTest::qWait(200);  // many heartbeat periods at this time scale
        const QList<int> commands = rig.Commands();
        QVERIFY(!commands.isEmpty());
        for (int command : commands)
            QCOMPARE(command, int(kCommandLogin));
        QCOMPARE(m_Http->Requests(), versionRequests);
        QCOMPARE(CalvoxAPI_ConnectStatus(rig.device->Handle), int(Calvox_Connect_Idle));
        QCOMPARE(VisibleRows(rig.device->MonitorData), QStringLiteral("0000"));
        QCOMPARE(RowCount(rig.device->UserListData), 0);
    }

    void aFailingThirdChannelSettingStopsTheRun()
    {
        Rig rig;
        QVERIFY(rig.Ready());
        rig.Edit<emu::DeviceRecords>([](emu::DeviceRecords& r) {
            for (int c = 0; c < 4; ++c)
                r.channel[c][908] = static_cast<uint8_t>('A' + c);
        });
        rig.recorder->SetHandler(kCommandGetChannelSetting, [](emu::Exchange& x) {
            const uint8_t channel = x.request.payload.empty() ? 0 : x.request.payload[0];
            if (channel == 2) {
                x.Reply(emu::kStatusBadRequest);
                return;
            }
            const auto& record = x.recorder.State<emu::DeviceRecords>().channel[channel];
            x.Reply(0, record.data(), record.size());
        });
        const int versionRequests = m_Http->Requests();
        QVERIFY(rig.RunAutoLogin());
        QTest::qWait(200);
        KesDevice* d = rig.device.get();
        QCOMPARE(CellText(d->MonitorData, 0, 2), QStringLiteral("A"));
        QCOMPARE(CellText(d->MonitorData, 1, 2), QStringLiteral("B"));
        QCOMPARE(CellText(d->MonitorData, 2, 2), QString());
        QCOMPARE(CellText(d->MonitorData, 3, 2), QString());
        const QList<int> commands = rig.Commands();
        QCOMPARE(commands.count(kCommandGetChannelSetting), 3);
        QVERIFY(!commands.contains(kCommandGetKeyControl));
        QVERIFY(!commands.contains(kCommandHeartbeat));
        QCOMPARE(m_Http->Requests(), versionRequests);
    }

    void aSilentRecordTimeReadDoesNotStopTheRun()
    {
        Rig rig;
        QVERIFY(rig.Ready());
        rig.recorder->SetHandler(40, emu::Handler());
        const int versionRequests = m_Http->Requests();
        QVERIFY(rig.RunAutoLogin());
        QVERIFY(rig.Commands().contains(43));
        QCOMPARE(m_Http->Requests(), versionRequests + 1);
        QTRY_COMPARE(VisibleRows(rig.device->MonitorData), QStringLiteral("1111"));
    }

    void deletingADeviceWaitsForItsAutoLogin()
    {
        Rig rig;
        QVERIFY(rig.Ready());
        emu::GoSilent(*rig.recorder, 60000);  // the login runs through all its retries
        rig.device->AutoLoginThread->start();
        QTRY_VERIFY(rig.recorder->Log().size() > 0);
        rig.device.reset();
        // The destructor returned after the run: the login went through all its tries, and nothing follows.
        const size_t tries = rig.recorder->CountRequests(kCommandLogin);
        QCOMPARE(tries, size_t(5));
        QTest::qWait(100);
        QCOMPARE(rig.recorder->Log().size(), tries);
    }

    void rowsFollowPermissionsAndGoingOfflineHidesThem()
    {
        Rig rig;
        QVERIFY(rig.Ready());
        rig.AddAccount("clerk", "secret", 0b0101, 0x1F);
        KesDevice* d = rig.device.get();
        d->UserName = QStringLiteral("clerk");
        d->Password = QStringLiteral("secret");
        QCOMPARE(d->Login(), 0);
        d->CreateHeartbeatThread();
        QTRY_COMPARE(VisibleRows(d->MonitorData), QStringLiteral("1010"));
        QVERIFY(RowsShown(d->UserListData));

        emu::GoSilent(*rig.recorder, 3000);
        QTRY_COMPARE(VisibleRows(d->MonitorData), QStringLiteral("0000"));
        QVERIFY(!RowsShown(d->UserListData) && !RowsShown(d->OnlineUserData) && !RowsShown(d->RecordData));
        emu::GoSilent(*rig.recorder, 0);
        QTRY_COMPARE_WITH_TIMEOUT(VisibleRows(d->MonitorData), QStringLiteral("1010"), 10000);
        QCOMPARE(d->Logout(), 0);
        QCOMPARE(VisibleRows(d->MonitorData), QStringLiteral("0000"));
    }

    void userAndOnlineUserTables()
    {
        Rig rig;
        QVERIFY(rig.Ready());
        // ManageUsers, Download and Monitor; not ChangeSetting nor Delete.
        rig.AddAccount("ops", "pw", ~0ull, 0b10101);
        rig.AddAccount("nineteen-characters", "pw", ~0ull, 0);
        KesDevice* d = rig.device.get();
        QCOMPARE(d->Login(), 0);
        QCOMPARE(d->GetUserList(), 0);
        QCOMPARE(RowCount(d->UserListData), 3);
        const QStringList expected[] = {
            {"admin", "Yes", "Yes", "Yes", "Yes", "Yes"},
            {"ops", "Yes", "No", "Yes", "No", "Yes"},
            {"nineteen-characters", "No", "No", "No", "No", "No"},
        };
        // Each row carries the device's own copy of its entry, not the SDK's (which the next read frees).
        const Calvox_UserList* list = CalvoxAPI_UserList(d->Handle);
        for (int row = 0; row < 3; ++row) {
            QStringList cells;
            for (int cell = 0; cell < 6; ++cell)
                cells << CellText(d->UserListData, row, cell);
            QCOMPARE(cells, expected[row]);
            const void* data = d->UserListData->Rows[row]->UserData;
            QVERIFY(data != static_cast<const void*>(&list->Entries[row]));
            QCOMPARE(std::memcmp(data, &list->Entries[row], sizeof(Calvox_UserInfo)), 0);
        }
        // A failed read empties the SDK's list but leaves the table and its entries as they were: a row's entry
        // can still be taken (the address sanitizer sees any read of freed memory).
        ZGridListRow* opsRow = d->UserListData->Rows[1];
        const quint64 firstFill = d->UserListGeneration();
        emu::GoSilent(*rig.recorder, 60000);
        QVERIFY(d->GetUserList() != 0);
        QCOMPARE(CalvoxAPI_UserList(d->Handle)->Count, 0u);
        QCOMPARE(RowCount(d->UserListData), 3);
        QCOMPARE(d->UserListGeneration(), firstFill);
        Calvox_UserInfo ops{};
        QVERIFY(d->CopyUserEntry(opsRow, firstFill, &ops));
        QCOMPARE(QByteArray(ops.Name), QByteArray("ops"));
        QCOMPARE(int(ops.ManageUsers) + int(ops.Download) + int(ops.Monitor), 3);
        QCOMPARE(int(ops.Channels[63]), 1);
        emu::GoSilent(*rig.recorder, 0);
        // A successful read replaces the rows: the old row is gone, the copy refused.
        QCOMPARE(d->GetUserList(), 0);
        QCOMPARE(RowCount(d->UserListData), 3);
        const std::vector<Calvox_UserInfo> all = d->CopyUserEntries();
        QCOMPARE(int(all.size()), 3);
        QCOMPARE(QByteArray(all[2].Name, 19), QByteArray("nineteen-characters"));
        const quint64 secondFill = d->UserListGeneration();
        QVERIFY(secondFill != firstFill);
        Calvox_UserInfo untouched{};
        QVERIFY(!d->CopyUserEntry(opsRow, firstFill, &untouched));
        QCOMPARE(int(untouched.NameLength), 0);

        // A row of an older fill whose address a row of the current fill took (the allocator hands freed
        // memory out again) stands for whatever account that row shows now: refused, whatever the address.
        // The current row at the old position stands in for such a reused address.
        rig.Edit<emu::LoginState>([](emu::LoginState& l) { std::swap(l.users[1], l.users[2]); });
        QCOMPARE(d->GetUserList(), 0);
        ZGridListRow* reused = d->UserListData->Rows[1];
        QCOMPARE(CellText(d->UserListData, 1, 0), QStringLiteral("nineteen-characters"));
        QVERIFY(!d->CopyUserEntry(reused, secondFill, &untouched));
        QCOMPARE(int(untouched.NameLength), 0);
        QVERIFY(d->CopyUserEntry(reused, d->UserListGeneration(), &untouched));
        QCOMPARE(QByteArray(untouched.Name, 19), QByteArray("nineteen-characters"));

        // Fills are numbered across devices: one device's number never fits another's rows.
        Rig other;
        QVERIFY(other.Ready());
        QCOMPARE(other.device->Login(), 0);
        QCOMPARE(other.device->GetUserList(), 0);
        QVERIFY(other.device->UserListGeneration() != d->UserListGeneration());
        Calvox_UserInfo foreign{};
        QVERIFY(!other.device->CopyUserEntry(other.device->UserListData->Rows[0], d->UserListGeneration(), &foreign));

        d->CreateHeartbeatThread();
        QTRY_VERIFY(RowCount(d->OnlineUserData) >= 1);
        QCOMPARE(CellText(d->OnlineUserData, 0, 0), QStringLiteral("admin"));
        QCOMPARE(CellText(d->OnlineUserData, 0, 2), QStringLiteral("127.0.0.1"));
        QVERIFY(QRegularExpression("^[0-9A-F]{2}(:[0-9A-F]{2}){5}$").match(CellText(d->OnlineUserData, 0, 1)).hasMatch());
        QVERIFY(QRegularExpression("^20\\d\\d-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d$")
                    .match(CellText(d->OnlineUserData, 0, 3)).hasMatch());
        QVERIFY(QRegularExpression("^\\d+\\.\\d+\\.\\d+\\.\\d+$").match(CellText(d->OnlineUserData, 0, 4)).hasMatch());
    }

    // The GUI copies entries while a list read on another thread replaces them (run under the thread
    // sanitizer as well).
    void copyingEntriesWhileAnotherThreadReadsTheList()
    {
        Rig rig;
        QVERIFY(rig.Ready());
        rig.AddAccount("ops", "pw", 0x3, 0b10101);
        KesDevice* d = rig.device.get();
        QCOMPARE(d->Login(), 0);
        QCOMPARE(d->GetUserList(), 0);
        std::atomic<bool> done{false};
        std::atomic<int> failures{0};
        std::thread reader([&] {
            for (int i = 0; i < 20; ++i) {
                if (d->GetUserList() != 0)
                    ++failures;
            }
            done = true;
        });
        int copies = 0;
        int wrong = 0;
        while (!done) {
            for (const Calvox_UserInfo& user : d->CopyUserEntries())
                wrong += QByteArray(user.Name) != "admin" && QByteArray(user.Name) != "ops";
            // The fill's number is read before the rows, as the main window does before its grid re-reads the
            // table: a refill in between makes the number older than the row, and the copy is refused.
            const quint64 fill = d->UserListGeneration();
            d->UserListData->Lock();
            ZGridListRow* row = d->UserListData->Rows.value(1);
            d->UserListData->Unlock();
            Calvox_UserInfo ops{};
            if (d->CopyUserEntry(row, fill, &ops))
                wrong += QByteArray(ops.Name) != "ops";
            ++copies;
        }
        reader.join();
        QCOMPARE(failures.load(), 0);
        QCOMPARE(wrong, 0);
        QVERIFY(copies > 0);
        QCOMPARE(int(d->CopyUserEntries().size()), 2);
    }

    void wrappersConvertTheirArguments()
    {
        Rig rig;
        QVERIFY(rig.Ready());
        KesDevice* d = rig.device.get();
        QCOMPARE(d->Login(), 0);

        QCOMPARE(d->Dial(1, QStringLiteral("0123")), 0);
        const QByteArray tooLong(256, '5');
        QCOMPARE(d->Dial(1, QString::fromLatin1(tooLong)), int(Calvox_Result_InvalidArgument));
        QCOMPARE(d->PlayAudioFile(2, QStringLiteral("welcome.wav")), 0);
        rig.Edit<emu::DeviceRecords>([](emu::DeviceRecords& r) {
            QCOMPARE(r.lineRequests.size(), size_t(2));
            QCOMPARE(r.lineRequests[0].channel, 1);
            QCOMPARE(QByteArray(reinterpret_cast<const char*>(r.lineRequests[0].argument.data()),
                                int(r.lineRequests[0].argument.size())),
                     QByteArray("0123"));
            QCOMPARE(r.lineRequests[1].channel, 2);
            r.smdrText = "Caf\xc3\xa9 42";
        });
        QCOMPARE(d->GetSMDR(), QString::fromUtf8("Caf\xc3\xa9 42"));

        // The PC's clock goes to the recorder, Monday counted as 1.
        QCOMPARE(d->SetTime(), 0);
        const QDateTime now = QDateTime::currentDateTime();
        rig.Edit<emu::DeviceRecords>([&](emu::DeviceRecords& r) {
            QCOMPARE(int(r.dateTime[0]), now.date().year() - 2000);
            QCOMPARE(int(r.dateTime[1]), now.date().month());
            QCOMPARE(int(r.dateTime[6]), now.date().dayOfWeek());
        });
        QCOMPARE(int(d->Time.Get()[6]), now.date().dayOfWeek());

        // Writing a channel setting shows it in the channel's row.
        QCOMPARE(d->GetChannelSetting(0), 0);
        Calvox_ChannelSetting setting = *CalvoxAPI_ChannelSetting(d->Handle, 0);
        std::memcpy(setting.Bytes + 908, "Reception", 10);
        setting.Bytes[899] = 4;
        QCOMPARE(d->SetChannelSetting(0, &setting), 0);
        QCOMPARE(CellText(d->MonitorData, 0, 2), QStringLiteral("Reception"));
        QCOMPARE(CellText(d->MonitorData, 0, 10), QStringLiteral("Continuous"));
        setting.Bytes[908] = 'X';
        QVERIFY(d->SetChannelSetting(7, &setting) != 0);  // refused: the row keeps its name
        QCOMPARE(CellText(d->MonitorData, 0, 2), QStringLiteral("Reception"));

        // An empty password in EditUser keeps the recorder's one; in AddUser it is the empty password.
        Calvox_UserInfo user{};
        user.NameLength = 4;
        std::memcpy(user.Name, "temp", 4);
        user.Download = 1;
        std::memset(user.Channels, 1, sizeof user.Channels);
        QCOMPARE(d->AddUser(&user, QString()), 0);
        QCOMPARE(d->EditUser(&user, QStringLiteral("first")), 0);
        QCOMPARE(d->EditUser(&user, QString()), 0);
        std::unique_ptr<KesDevice> other(KesDevice::Create("other", QString::fromLatin1(kId)));
        other->SetNetAddr(QStringLiteral("127.0.0.1"), rig.recorder->Port());
        other->UserName = QStringLiteral("temp");
        other->Password = QStringLiteral("first");
        QCOMPARE(other->Login(), 0);
        QCOMPARE(d->DeleteUser(&user), 0);
    }

    void downloadToFile()
    {
        Rig rig;
        QVERIFY(rig.Ready());
        QTemporaryDir root;
        QTemporaryDir local;
        emu::ServeFiles(*rig.recorder, root.path().toStdString());
        QVERIFY(QDir().mkpath(root.path() + "/RecordFiles/2401/05/CH01"));
        QByteArray content;
        for (int i = 0; i < 50 * 1024 + 300; ++i)
            content += char(i * 7);
        QFile source(root.path() + "/RecordFiles/2401/05/CH01/240105101010-CH01.wav");
        QVERIFY(source.open(QIODevice::WriteOnly));
        source.write(content);
        source.close();
        const QString devicePath = "/RecordFiles/2401/05/CH01/240105101010-CH01.wav";
        KesDevice* d = rig.device.get();
        QCOMPARE(d->Login(), 0);

        // Progress rises with every block to 100.
        QList<int> percents;
        const QString target = local.path() + "/copy.wav";
        QCOMPARE(d->DownloadToFile(devicePath, target, [&percents](int p) {
            percents << p;
            return 0;
        }), 0);
        QCOMPARE(percents.size(), 51);
        for (int i = 1; i < percents.size(); ++i)
            QVERIFY(percents[i] > percents[i - 1]);
        QCOMPARE(percents.last(), 100);
        QCOMPARE(ReadAll(target), content);

        // A cancelled download leaves the existing copy untouched and no other file.
        WriteAll(target, "good old copy");
        QCOMPARE(d->DownloadToFile(devicePath, target, [](int p) { return p >= 50 ? 1 : 0; }), 2);
        QCOMPARE(ReadAll(target), QByteArray("good old copy"));
        QCOMPARE(QDir(local.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"copy.wav"});

        // Stopped before the first block: no file at all.
        volatile bool stop = true;
        const QString fresh = local.path() + "/fresh.wav";
        QCOMPARE(d->DownloadToFile(devicePath, fresh, &stop), 2);
        QVERIFY(!QFile::exists(fresh));
        QCOMPARE(QDir(local.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"copy.wav"});
        stop = false;
        QCOMPARE(d->DownloadToFile(devicePath, fresh, &stop), 0);
        QCOMPARE(ReadAll(fresh), content);

        // A device file that is not there: an error and no local file.
        QVERIFY(d->DownloadToFile("/RecordFiles/none.wav", local.path() + "/none.wav", &stop) != 0);
        QVERIFY(!QFile::exists(local.path() + "/none.wav"));

        // A local folder that does not exist: 21, and the recorder hears nothing.
        const int requests = rig.Commands().size();
        QCOMPARE(d->DownloadToFile(devicePath, local.path() + "/missing/x.wav", &stop), 21);
        QCOMPARE(rig.Commands().size(), requests);

        unsigned char* buffer = reinterpret_cast<unsigned char*>(1);
        int length = 0;
        QCOMPARE(d->DownloadToBuffer(devicePath, &buffer, &length), 0);
        QCOMPARE(QByteArray(reinterpret_cast<char*>(buffer), length), content);
        delete[] buffer;
        QVERIFY(d->DownloadToBuffer("/RecordFiles/none.wav", &buffer, &length) != 0);
        QCOMPARE(buffer, nullptr);
    }

    void updateLogSplitsLines_data()
    {
        QTest::addColumn<QByteArray>("log");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("empty line between") << QByteArray("a\r\n\r\nb") << QStringList{"a", "", "b"};
        QTest::newRow("ends with CR LF") << QByteArray("x\r\n") << QStringList{"x", ""};
        QTest::newRow("lone LF and CR kept") << QByteArray("one\ntwo\rthree\r\nfour")
                                             << QStringList{"one\ntwo\rthree", "four"};
        QTest::newRow("stops at a zero byte") << QByteArray("cut\0rest\r\nmore", 15) << QStringList{"cut"};
        QTest::newRow("UTF-8") << QByteArray("T\xc3\xbcr offen") << QStringList{QString::fromUtf8("T\xc3\xbcr offen")};
        QTest::newRow("empty file") << QByteArray() << QStringList{""};
        QTest::newRow("several blocks") << (QByteArray(3000, 'l') + "\r\n" + QByteArray(10, 'm'))
                                        << QStringList{QString(3000, 'l'), QString(10, 'm')};
    }
    void updateLogSplitsLines()
    {
        QFETCH(QByteArray, log);
        QFETCH(QStringList, lines);
        Rig rig;
        QVERIFY(rig.Ready());
        QTemporaryDir root;
        emu::ServeFiles(*rig.recorder, root.path().toStdString());
        QVERIFY(QDir().mkpath(root.path() + "/RecordFiles"));
        WriteAll(root.path() + "/RecordFiles/Log.txt", log);
        KesDevice* d = rig.device.get();
        QCOMPARE(d->Login(), 0);
        QCOMPARE(d->UpdateLog(), 0);
        QCOMPARE(d->LogLines.Get(), lines);

        QCOMPARE(d->DeleteLog(), 0);
        QVERIFY(d->LogLines.Get().isEmpty());
        QVERIFY(!QFile::exists(root.path() + "/RecordFiles/Log.txt"));
        d->LogLines = QStringList{"stale"};
        QVERIFY(d->UpdateLog() != 0);
        QVERIFY(d->LogLines.Get().isEmpty());
    }

    // Each reply follows a good one offering 2.5.1.6 to a recorder that runs 2.5.1.5: a reply without a
    // plain version withdraws that offer (no version, no file name) and still brings its notes; only a
    // reply that is not JSON leaves the offer as it was.
    void versionInfoFromTheUpdateServer_data()
    {
        QTest::addColumn<QByteArray>("reply");
        QTest::addColumn<QString>("version");
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QStringList>("notes");
        QTest::addColumn<bool>("hasNew");
        const QStringList header{"Updates : "};
        QTest::newRow("newer, a number among the notes")
            << QByteArray(R"({"Version": "2.5.1.10", "Updates-English": ["x", 3, "y"], "Updates-Chinese": ["z"]})")
            << "2.5.1.10" << "KES2204S-2.5.1.10.bin" << QStringList{"Updates : ", "x", "y"} << true;
        QTest::newRow("the running version, no notes")
            << QByteArray(R"({"Version": "2.5.1.5"})") << "2.5.1.5" << "KES2204S-2.5.1.5.bin" << header << false;
        QTest::newRow("older") << QByteArray(R"({"Version": "2.0.9.9"})") << "2.0.9.9" << "KES2204S-2.0.9.9.bin"
                               << header << false;
        QTest::newRow("no version") << QByteArray(R"({"Updates-English": ["x"]})") << "" << ""
                                    << QStringList{"Updates : ", "x"} << false;
        QTest::newRow("trailing space") << QByteArray(R"({"Version": "2.5.1.5 ", "Updates-English": ["x"]})") << ""
                                        << "" << QStringList{"Updates : ", "x"} << false;
        QTest::newRow("a number") << QByteArray(R"({"Version": 3})") << "" << "" << header << false;
        QTest::newRow("with a slash") << QByteArray(R"({"Version": "2.1/../../0.5"})") << "" << "" << header << false;
        QTest::newRow("a path") << QByteArray(R"({"Version": "../../x"})") << "" << "" << header << false;
        QTest::newRow("five numbers") << QByteArray(R"({"Version": "1.2.3.4.5"})") << "" << "" << header << false;
        QTest::newRow("number above 255") << QByteArray(R"({"Version": "300.1.1.1"})") << "" << "" << header << false;
        QTest::newRow("a JSON array") << QByteArray("[1]") << "" << "" << header << false;
        QTest::newRow("not JSON") << QByteArray("<html>") << "2.5.1.6" << "KES2204S-2.5.1.6.bin" << QStringList()
                                  << true;
    }
    void versionInfoFromTheUpdateServer()
    {
        QFETCH(QByteArray, reply);
        QFETCH(QString, version);
        QFETCH(QString, fileName);
        QFETCH(QStringList, notes);
        QFETCH(bool, hasNew);
        std::unique_ptr<KesDevice> d(KesDevice::Create("d", QString::fromLatin1(kId)));
        d->Version = QStringLiteral("2.5.1.5");
        m_Http->Serve("/KES2204S/Version.json", R"({"Version": "2.5.1.6", "Updates-English": ["good"]})");
        d->GetNewVersionInfo();
        QCOMPARE(d->NewVersion.Get(), QStringLiteral("2.5.1.6"));
        QVERIFY(d->HasNewVersion());

        m_Http->Serve("/KES2204S/Version.json", reply.toStdString());
        d->GetNewVersionInfo();
        QCOMPARE(d->NewVersion.Get(), version);
        QCOMPARE(d->FirmwareFileName.Get(), fileName);
        QCOMPARE(d->UpdateNotes.Get(), notes);
        QCOMPARE(d->HasNewVersion(), hasNew);
    }

    void hasNewVersion()
    {
        std::unique_ptr<KesDevice> d(KesDevice::Create("d", QString::fromLatin1(kId)));
        d->Version = QStringLiteral("2.1.0.5");
        d->NewVersion = QStringLiteral("2.1.0.5");
        QVERIFY(!d->HasNewVersion());
        d->NewVersion = QStringLiteral("2.1.0.6");
        QVERIFY(d->HasNewVersion());
        d->NewVersion = QStringLiteral("2.0.9.9");
        QVERIFY(!d->HasNewVersion());
        // Nothing on offer is no upgrade: "" reads as -1, above any version from 128.0.0.0 up as signed numbers.
        d->Version = QStringLiteral("200.0.0.0");
        d->NewVersion = QString();
        QVERIFY(!d->HasNewVersion());
    }

    void deletingADeviceDuringItsHeartbeatIsClean()
    {
        Rig rig;
        QVERIFY(rig.Ready());
        KesDevice* d = rig.device.get();
        std::atomic<int> events{0};
        // Runs on the heartbeat thread, reading the device as a receiver would.
        connect(d, &KesDevice::DeviceEventSignal, d, [&events](KesDevice* device, Calvox_EventType, unsigned char*, int) {
            device->MonitorData->Lock();
            device->MonitorData->Unlock();
            ++events;
        }, Qt::DirectConnection);
        QCOMPARE(d->Login(), 0);
        d->CreateHeartbeatThread();

        std::atomic<bool> stop{false};
        std::thread script([&] {
            for (int i = 0; !stop; ++i) {
                emu::SetLine(*rig.recorder, i % 4, i % 2 ? emu::kLineRing : emu::kLineOnHook, "12", uint8_t(i));
                emu::SetTalkTime(*rig.recorder, (i + 1) % 4, uint16_t(i));
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            }
        });
        QTRY_VERIFY(events > 20);
        rig.device.reset();
        const int atDelete = events;
        QTest::qWait(100);
        stop = true;
        script.join();
        QCOMPARE(int(events), atDelete);
    }

    // Language changes on the GUI thread while two recorders' devices fill their tables on other threads (the
    // heartbeat's events, and user and channel-setting reads standing in for the auto-login sequence). The
    // texts those threads take must be safe to read during a change (run under the thread sanitizer too), and
    // a row filled after the last change shows the last language.
    void rowsFollowTheLastOfFiftyLanguageSwitches()
    {
        QTemporaryDir program;
        QVERIFY(program.isValid());
        SetProgramFolder(program.path());  // the "OEM" file goes there
        Language language;
        const QStringList names = Language::Names();
        QVERIFY(names.size() >= 2);
        auto restore = qScopeGuard([] {
            SetProgramFolder(QString());
            SetEnglishTableTexts();
        });
        Rig a;
        Rig b;
        Rig* rigs[] = {&a, &b};
        for (Rig* r : rigs) {
            QVERIFY(r->Ready());
            // Every channel in another record mode, so each row shows a mode name.
            r->Edit<emu::DeviceRecords>([](emu::DeviceRecords& records) {
                for (int c = 0; c < 4; ++c)
                    records.channel[c][899] = static_cast<uint8_t>(c + 1);
            });
            QCOMPARE(r->device->Login(), 0);
            r->device->CreateHeartbeatThread();
        }

        std::atomic<bool> stop{false};
        std::atomic<int> fills[2] = {{0}, {0}};
        std::vector<std::thread> fillers;
        for (int i = 0; i < 2; ++i) {
            fillers.emplace_back([&, i] {
                Rig* r = rigs[i];
                for (int round = 0; !stop; ++round) {
                    r->device->GetUserList();
                    r->device->GetChannelSetting(round % 4);
                    // Lines change too, so the heartbeat keeps filling the monitor rows meanwhile.
                    emu::SetLine(*r->recorder, round % 4, round % 2 ? emu::kLineRing : emu::kLineOnHook, "12");
                    ++fills[i];
                }
            });
        }
        for (int n = 0; n < 50; ++n) {
            Language::Load(names.at(n % 2 == 0 ? 1 : 0));  // Chinese, English, ...; the fiftieth English
            QTest::qWait(5);
        }
        Language::Load(names.at(1));  // and at last Chinese
        // Rows filled from now on show it: wait for whole rounds of fills.
        const int after[2] = {fills[0] + 5, fills[1] + 5};
        QTRY_VERIFY_WITH_TIMEOUT(fills[0] >= after[0] && fills[1] >= after[1], 20000);
        stop = true;
        for (std::thread& t : fillers)
            t.join();

        QVERIFY(TextMisc001 != QStringLiteral("Yes"));
        for (Rig* r : rigs) {
            KesDevice* d = r->device.get();
            QCOMPARE(RowCount(d->UserListData), 1);
            for (int cell = 1; cell <= 5; ++cell)
                QCOMPARE(CellText(d->UserListData, 0, cell), TextMisc001);  // admin may do everything
            for (int c = 0; c < 4; ++c)
                QCOMPARE(CellText(d->MonitorData, c, 10), TextDevice031.at(c + 1));
        }
    }

private:
    static QByteArray ReadAll(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }
    static void WriteAll(const QString& path, const QByteArray& content)
    {
        QFile file(path);
        if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            file.write(content);
    }
};

QTEST_MAIN(TestKesDeviceEmulator)
#include "tst_kes_device_emulator.moc"
