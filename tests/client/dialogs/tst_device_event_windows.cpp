// The windows that follow a recorder's events, end to end: the recorder emulator in this process on 127.0.0.1,
// the SDK with its waits scaled down, a registered device logged in with its heartbeat running, and the events
// relayed to DevicePopups and the dial pad as the main window passes them. What the windows send is read back
// from the emulator's state and files.

#include "DialogTestSupport.h"

#include "DeviceManage.h"
#include "DevicePopups.h"
#include "DialForm.h"
#include "EditRecordNotesForm.h"
#include "KesDevice.h"
#include "LanguageTexts.h"
#include "RecordNotesEditing.h"
#include "RecordPopupForm.h"
#include "SoftwareSetting.h"
#include "StatusPopupForm.h"
#include "StatusRecordCopy.h"
#include "WaitForm.h"
#include "WarningPopupForm.h"
#include "ZGridListData.h"
#include "contacts/Contacts.h"

#include "ZButton.h"
#include "ZComboBox.h"
#include "ZLabel.h"
#include "ZLineEdit.h"

#include "EmuFiles.h"
#include "EmuHeartbeat.h"
#include "EmuRecords.h"
#include "EmuSessions.h"
#include "Emulator.h"
#include "RecordTree.h"

#include <QApplication>
#include <QClipboard>
#include <QCryptographicHash>
#include <QDate>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPointer>
#include <QTextEdit>
#include <QToolTip>
#include <QtTest>

#include <cstring>
#include <memory>

namespace emu = calvox::emu;

namespace {

const char kId[] = "4B000000000000000029";  // 4 channels

struct HandledEvent {
    int Type;
    int Channel;
    int LineState;
    int Rings;
};

template <class T>
QList<T*> Live()
{
    QList<T*> found;
    for (QWidget* w : QApplication::allWidgets())
        if (auto* form = qobject_cast<T*>(w))
            found << form;
    return found;
}

template <class T>
void CloseAll()
{
    for (T* form : Live<T>())
        form->close();
    QTRY_VERIFY(Live<T>().isEmpty());
}

QImage ButtonImage(QWidget* form, const char* name)
{
    return form->findChild<ZButton*>(QLatin1String(name))->Image().toImage().convertToFormat(QImage::Format_ARGB32);
}

// Through a pixmap, as the button holds it: a pixmap stores premultiplied pixels, so its half-transparent edge
// pixels come back rounded, not as the file has them.
QImage Resource(const char* path)
{
    return QPixmap(QLatin1String(path)).toImage().convertToFormat(QImage::Format_ARGB32);
}

}  // namespace

class DeviceEventWindowsTest : public DialogTestCase
{
    Q_OBJECT

    QTemporaryDir m_Storage;
    emu::Emulator m_Emulator;
    emu::Recorder* m_Recorder = nullptr;
    std::unique_ptr<DeviceManage> m_Manage;
    std::unique_ptr<DevicePopups> m_Popups;
    std::unique_ptr<DialForm> m_Dial;
    QPointer<KesDevice> m_Device;
    QList<HandledEvent> m_Handled;
    QStringList m_ContactRequests;

    template <class T, class F>
    void Edit(F f)
    {
        std::lock_guard<std::mutex> lock(m_Recorder->StateMutex());
        f(m_Recorder->State<T>());
    }

    // Sets the line and waits until the window side has handled the status event that reports it.
    bool Line(int channel, uint8_t state, const std::string& number = {}, uint8_t rings = 0)
    {
        const int before = m_Handled.size();
        emu::SetLine(*m_Recorder, channel, state, number, rings);
        return QTest::qWaitFor([&]() {
            for (int i = before; i < m_Handled.size(); ++i)
                if (m_Handled[i].Type == 8 && m_Handled[i].Channel == channel && m_Handled[i].LineState == state &&
                    m_Handled[i].Rings == rings)
                    return true;
            return false;
        }, 5000);
    }

    bool WaitForEvent(int type, int channel)
    {
        const int before = m_Handled.size();
        return QTest::qWaitFor([&]() {
            for (int i = before; i < m_Handled.size(); ++i)
                if (m_Handled[i].Type == type && m_Handled[i].Channel == channel)
                    return true;
            return false;
        }, 5000);
    }

    void WritePhoneBook()
    {
        InitContacts();
        const QJsonArray entries{
            QJsonObject{{"Name", "Ann"}, {"Gender", 1}, {"Company", "Acme"}, {"PhoneNum", "5551234"},
                        {"Notes", "<b>x</b>"}},
        };
        QFile file(ContactsRoot + QStringLiteral("/Customers"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QJsonDocument(QJsonObject{{"Contacts", entries}}).toJson());
        file.close();
        LoadContactsFolder(ContactsRoot);
    }

    void Settings()
    {
        g_SoftwareSetting = SoftwareSetting();
        g_SoftwareSetting.StatusPopup = true;
        g_SoftwareSetting.StatusPopupComingCall = true;
        g_SoftwareSetting.StatusPopupOutgoingCall = true;
        g_SoftwareSetting.StatusPopupTime = 0;
        g_SoftwareSetting.NotesPopup = true;
        g_SoftwareSetting.NotesPopupTime = 0;
        g_SoftwareSetting.WarningPopup = true;
        g_SoftwareSetting.WarningPopupTime = 0;
    }

private slots:
    void init()
    {
        if (m_Manage)
            return;
        if (qEnvironmentVariableIsEmpty("CALVOX_TIME_SCALE"))
            qputenv("CALVOX_TIME_SCALE", "0.05");
        Language::Load(Language::Names().first());
        QVERIFY(m_Storage.isValid());
        WritePhoneBook();
        Settings();

        emu::RecorderConfig config;
        config.id = kId;
        config.port = 0;
        m_Recorder = m_Emulator.Add(config);
        QVERIFY(m_Recorder);
        emu::ServeFiles(*m_Recorder, m_Storage.path().toStdString());
        // An operator who may use channels 1 and 3 of 4.
        emu::UserAccount op;
        op.name = "op";
        const QByteArray md5 = QCryptographicHash::hash("pw", QCryptographicHash::Md5);
        std::memcpy(op.passwordMd5.data(), md5.constData(), 16);
        op.channelMask = 0x5;
        Edit<emu::LoginState>([&](emu::LoginState& s) { s.users.push_back(op); });
        Edit<emu::DeviceRecords>([](emu::DeviceRecords& r) {
            r.base[4] = '9';           // the outside-line key
            r.channel[1][896] = 1;     // the lost-line alert of channel 2
        });

        m_Manage = std::make_unique<DeviceManage>();
        m_Popups = std::make_unique<DevicePopups>();
        m_Dial = std::make_unique<DialForm>(m_Main.get());
        connect(m_Popups.get(), &DevicePopups::AddContactRequested, this,
                [this](const QString& number) { m_ContactRequests << number; });
        // As the main window: its own updates, the pop-ups, then the dial pad.
        connect(g_DeviceManage, &DeviceManage::DeviceEventSignal, this,
                [this](KesDevice* device, Calvox_EventType type, unsigned char* data, int length) {
                    const int channel = int(reinterpret_cast<intptr_t>(data));
                    HandledEvent seen{type, channel, -1, -1};
                    if (type == 8 && channel >= 0 && channel < device->Channels) {
                        const Calvox_ChannelStatus s =
                            CopyStatusRecord(*CalvoxAPI_ChannelStatus(device->Handle, channel));
                        seen.LineState = s.LineState;
                        seen.Rings = s.RingCount;
                    }
                    m_Popups->DeviceEventDispose(device, type, channel, length);
                    m_Dial->DeviceEventDispose(device, type, channel, length);
                    m_Handled << seen;
                });

        KesDevice* device = KesDevice::Create(QStringLiteral("Front desk"), QString::fromLatin1(kId));
        QVERIFY(device);
        device->SetNetAddr(QStringLiteral("127.0.0.1"), m_Recorder->Port());
        // The pop-ups need every channel's reports: the administrator first; the dial pad's cases log in as
        // the operator.
        device->UserName = QStringLiteral("admin");
        device->Password = QStringLiteral("admin");
        QVERIFY(DeviceManage::AddDevice(device));
        m_Device = device;
        QCOMPARE(device->Login(), 0);
        QCOMPARE(device->GetBaseSetting(), 0);
        for (int c = 0; c < 4; ++c)
            QCOMPARE(device->GetChannelSetting(c), 0);
        for (int c = 0; c < 4; ++c)
            emu::SetLine(*m_Recorder, c, emu::kLineOnHook);
        device->CreateHeartbeatThread();
        QVERIFY(WaitForEvent(4, 0) || CalvoxAPI_ConnectStatus(device->Handle) == 2);
    }

    void cleanup()
    {
        CloseAll<StatusPopupForm>();
        CloseAll<RecordPopupForm>();
        CloseAll<WarningPopupForm>();
        Settings();
    }

    // ---- Call pop-ups

    // The recorder reports a channel when its line state changes, so each ring count comes with a new ringing
    // report here; only the report with count 2 raises the pop-up.
    void ringingRaisesOnePopupAtTheSecondRing()
    {
        for (uint8_t rings : {1, 2, 3}) {
            QVERIFY(Line(0, emu::kLineRing, "5551234", rings));
            QCOMPARE(Live<StatusPopupForm>().size(), rings < 2 ? 0 : 1);
            QVERIFY(Line(0, emu::kLineOnHook));
        }
        QCOMPARE(Live<StatusPopupForm>().size(), 1);
        StatusPopupForm* popup = Live<StatusPopupForm>().first();
        QCOMPARE(popup->PhoneNum, QStringLiteral("5551234"));
        QCOMPARE(popup->Name, QStringLiteral("Ann"));
        QCOMPARE(popup->Company, QStringLiteral("Acme"));
        QCOMPARE(popup->Title(), QStringLiteral("Inbound Pop-up"));
        QCOMPARE(popup->findChild<QTextEdit*>("NotesTextEdit")->toPlainText(), QStringLiteral("<b>x</b>"));
    }

    void outboundNumbersDropTheOutsideLineKey()
    {
        QVERIFY(Line(1, emu::kLineOutComing, "95551234"));
        QCOMPARE(Live<StatusPopupForm>().size(), 1);
        StatusPopupForm* popup = Live<StatusPopupForm>().first();
        QCOMPARE(popup->PhoneNum, QStringLiteral("95551234"));
        QCOMPARE(popup->Name, QStringLiteral("Ann"));
        QCOMPARE(popup->Title(), QStringLiteral("Outbound Pop-up"));
        QVERIFY(!popup->findChild<ZButton*>("EditButton")->isEnabled());
        QVERIFY(Line(1, emu::kLineOnHook));
    }

    void unknownCallersOnlyWithStrangeNumbers()
    {
        QVERIFY(Line(2, emu::kLineRing, "777", 2));
        QVERIFY(Live<StatusPopupForm>().isEmpty());
        g_SoftwareSetting.StatusPopupStrangeNumber = true;
        QVERIFY(Line(3, emu::kLineRing, "778", 2));
        QCOMPARE(Live<StatusPopupForm>().size(), 1);
        StatusPopupForm* popup = Live<StatusPopupForm>().first();
        QVERIFY(popup->Name.isEmpty());
        auto* add = popup->findChild<ZButton*>("EditButton");
        QVERIFY(add->isEnabled());
        QTest::mouseClick(add, Qt::LeftButton);
        QCOMPARE(m_ContactRequests, QStringList());  // queued: after the pop-up's own handling
        QTRY_COMPARE(m_ContactRequests, QStringList{"778"});
        QTRY_VERIFY(Live<StatusPopupForm>().isEmpty());
        QVERIFY(Line(2, emu::kLineOnHook));
        QVERIFY(Line(3, emu::kLineOnHook));
    }

    // ---- Alerts

    void storageMissingRaisesAnAlert()
    {
        emu::SetStorageState(*m_Recorder, 0);
        QTRY_COMPARE_WITH_TIMEOUT(Live<WarningPopupForm>().size(), 1, 5000);
        QCOMPARE(Live<WarningPopupForm>().first()->Message, QStringLiteral("Storage Device Not Found"));
        emu::SetStorageState(*m_Recorder, 1);
        QVERIFY(WaitForEvent(5, 0));
        QCOMPARE(Live<WarningPopupForm>().size(), 1);
    }

    void lostLineCountsChannelsFromOne()
    {
        // Channel index 1 has its alert on.
        QVERIFY(Line(1, emu::kLineLost));
        QCOMPARE(Live<WarningPopupForm>().size(), 1);
        QCOMPARE(Live<WarningPopupForm>().first()->Message, QStringLiteral("Channel 2 Lost"));
        // The same loss reported again (a second event while the line is still lost): no second alert.
        m_Popups->DeviceEventDispose(m_Device, Calvox_EventType(8), 1, 0);
        QCOMPARE(Live<WarningPopupForm>().size(), 1);
        // A new loss after the line came back is a new alert.
        QVERIFY(Line(1, emu::kLineOnHook));
        QVERIFY(Line(1, emu::kLineLost));
        QCOMPARE(Live<WarningPopupForm>().size(), 2);
        QVERIFY(Line(1, emu::kLineOnHook));
        // Channel index 0 has it off.
        QVERIFY(Line(0, emu::kLineLost));
        QCOMPARE(Live<WarningPopupForm>().size(), 2);
        QVERIFY(Line(0, emu::kLineOnHook));
        g_SoftwareSetting.WarningPopup = false;
        QVERIFY(Line(1, emu::kLineLost));
        QCOMPARE(Live<WarningPopupForm>().size(), 2);
        QVERIFY(Line(1, emu::kLineOnHook));
        // Events of channels the device does not have raise nothing.
        g_SoftwareSetting.WarningPopup = true;
        for (int channel : {-1, 4, 64, 255})
            m_Popups->DeviceEventDispose(m_Device, Calvox_EventType(8), channel, 0);
        QCOMPARE(Live<WarningPopupForm>().size(), 2);
    }

    // ---- The dial pad

    void dialPadListsTheUsersChannels()
    {
        QCOMPARE(m_Device->Logout(), 0);
        m_Device->UserName = QStringLiteral("op");
        m_Device->Password = QStringLiteral("pw");
        QCOMPARE(m_Device->Login(), 0);
        // Logging out ended the heartbeat: a new one, as the auto-login does.
        m_Device->CreateHeartbeatThread();
        QTRY_COMPARE_WITH_TIMEOUT(CalvoxAPI_ConnectStatus(m_Device->Handle), 2, 5000);
        QCOMPARE(m_Dial->findChild<ZComboBox*>("DeviceComboBox")->Items(), QStringList{"Front desk"});
        m_Dial->SetChannel(m_Device, 2);
        auto* channels = m_Dial->findChild<ZComboBox*>("ChannelComboBox");
        QCOMPARE(channels->Items(), (QStringList{"1", "3"}));
        QCOMPARE(channels->SelectedText(), QStringLiteral("3"));
        QCOMPARE(m_Dial->Channel, 2);
        // Channel index 1 (channel 2) is not the user's: nothing is chosen.
        m_Dial->SetChannel(m_Device, 1);
        QCOMPARE(channels->SelectedIndex(), -1);
        QCOMPARE(m_Dial->Channel, -1);
    }

    void dialPadKeysAndPaste()
    {
        m_Dial->Show(true);
        auto* number = m_Dial->findChild<ZLabel*>("PhoneNumberLabel");
        QCOMPARE(number->Text(), QString());
        for (char key : {'1', '2', 'A', '#', '*'})
            QTest::keyClick(m_Dial.get(), key);
        QCOMPARE(number->Text(), QStringLiteral("12#*"));
        QTest::keyClick(m_Dial.get(), Qt::Key_Backspace);
        QCOMPARE(number->Text(), QStringLiteral("12#"));
        QApplication::clipboard()->setText(QStringLiteral("+1 (555) 123-4567"));
        QTest::keySequence(m_Dial.get(), QKeySequence::Paste);
        QCOMPARE(number->Text(), QStringLiteral("15551234567"));
    }

    void dialPadDialsAndHangsUp()
    {
        m_Dial->SetChannel(m_Device, 2);
        m_Dial->SetPhoneNumber(QStringLiteral("15551234567"));
        QVERIFY(ButtonImage(m_Dial.get(), "DialButton") == Resource(":/DialForm/DialButtonDialOut.png"));
        QTest::mouseClick(m_Dial->findChild<ZButton*>("DialButton"), Qt::LeftButton);
        std::vector<emu::DeviceRecords::LineRequest> requests;
        Edit<emu::DeviceRecords>([&](emu::DeviceRecords& r) { requests = r.lineRequests; });
        QVERIFY(!requests.empty());
        QCOMPARE(int(requests.back().command), 37);
        QCOMPARE(requests.back().channel, 2);
        QCOMPARE(QByteArray(reinterpret_cast<const char*>(requests.back().argument.data()),
                            int(requests.back().argument.size())),
                 QByteArray("15551234567"));

        // The recorder took the line off hook for the call: the button hangs up, with an empty number.
        emu::SetPlayback(*m_Recorder, 2, 1);
        QVERIFY(WaitForEvent(11, 2));
        QVERIFY(ButtonImage(m_Dial.get(), "DialButton") == Resource(":/DialForm/DialButtonHangUp.png"));
        QTest::mouseClick(m_Dial->findChild<ZButton*>("DialButton"), Qt::LeftButton);
        Edit<emu::DeviceRecords>([&](emu::DeviceRecords& r) { requests = r.lineRequests; });
        QCOMPARE(int(requests.back().command), 37);
        QVERIFY(requests.back().argument.empty());

        emu::SetPlayback(*m_Recorder, 2, 0);
        QVERIFY(WaitForEvent(11, 2));
        QVERIFY(Line(2, emu::kLineRing, "", 1));
        QVERIFY(ButtonImage(m_Dial.get(), "DialButton") == Resource(":/DialForm/DialButtonDisable.png"));
        QVERIFY(!m_Dial->findChild<ZButton*>("DialButton")->isEnabled());
        QVERIFY(Line(2, emu::kLineOnHook));
        m_Dial->hide();
    }

    // A device registered while the pad shows one: the list deselects, the channels empty, no channel is chosen.
    // The removal of a device the pad does not show keeps the pad's list in step by position.
    void dialPadFollowsTheDeviceList()
    {
        m_Dial->SetChannel(m_Device, 0);
        QCOMPARE(m_Dial->Channel, 0);
        KesDevice* other = KesDevice::Create(QStringLiteral("Back office"), QStringLiteral("4B000000000000000030"));
        QVERIFY(other);
        QVERIFY(DeviceManage::AddDevice(other));
        auto* devices = m_Dial->findChild<ZComboBox*>("DeviceComboBox");
        QCOMPARE(devices->Items(), (QStringList{"Front desk", "Back office"}));
        QCOMPARE(devices->SelectedIndex(), -1);
        QVERIFY(m_Dial->Device == nullptr);
        QVERIFY(m_Dial->findChild<ZComboBox*>("ChannelComboBox")->Items().isEmpty());
        QCOMPARE(m_Dial->Channel, -1);

        // Events of another device than the pad's change nothing.
        m_Dial->SetChannel(other, 0);
        QCOMPARE(devices->SelectedIndex(), 1);
        QVERIFY(m_Dial->findChild<ZComboBox*>("ChannelComboBox")->Items().isEmpty());  // not online
        m_Dial->DeviceEventDispose(m_Device, Calvox_EventType(4), 0, 0);
        QVERIFY(m_Dial->findChild<ZComboBox*>("ChannelComboBox")->Items().isEmpty());

        QVERIFY(DeviceManage::RemoveDevice(1));
        QTRY_COMPARE(devices->Items(), QStringList{"Front desk"});
        QVERIFY(m_Dial->Device == nullptr);
        // The remaining device is still found at its position.
        m_Dial->SetChannel(m_Device, 2);
        QCOMPARE(m_Dial->findChild<ZComboBox*>("ChannelComboBox")->Items(), (QStringList{"1", "3"}));
    }

    // ---- The record page's notes entry: the editor, then the recorder under the wait panel

    void notesFromTheRecordListReachTheRecorder()
    {
        WaitForm wait(m_Main.get());
        EditRecordNotesForm editor(m_Main.get());
        g_WaitForm = &wait;
        g_EditRecordNotesForm = &editor;
        emu::FixtureRecord record;  // 2024-01-01, channel 1
        record.notes = "old";
        const int index = emu::AddFixtureRecord(m_Storage.path().toStdString(), record);
        QVERIFY(index >= 0);
        ZGridListData list(12);
        ZGridListRow* row = list.CreateRow();
        row->Cells[1] = QStringLiteral("2024-01-01 00:00:00");
        row->Cells[2] = QStringLiteral("1");
        row->Cells[2].Value = 0;
        row->Cells[11] = QStringLiteral("old");
        row->UserData = reinterpret_cast<void*>(qintptr(index));
        list.AddRow(row);

        // Cancel: nothing is sent, the row stays.
        const size_t before = m_Recorder->CountRequests(34);
        QTimer::singleShot(0, &editor, [&editor]() {
            editor.findChild<ZLineEdit*>("NotesLineEdit")->SetText(QStringLiteral("not this"));
            QTest::mouseClick(editor.findChild<ZButton*>("CancelButton"), Qt::LeftButton);
        });
        QVERIFY(!EditRecordNotesOfRow(&list, 0, 0, m_Device, m_Main.get()));
        QCOMPARE(m_Recorder->CountRequests(34), before);
        QCOMPARE(list.Rows[0]->Cells[11].Text, QStringLiteral("old"));

        // Confirm: the recorder's index file and the row take the text.
        QString shown;
        QTimer::singleShot(0, &editor, [&editor, &shown]() {
            auto* line = editor.findChild<ZLineEdit*>("NotesLineEdit");
            shown = line->Text();
            line->SetText(QStringLiteral("résumé sent"));
            QTest::mouseClick(editor.findChild<ZButton*>("ConfirmButton"), Qt::LeftButton);
        });
        QVERIFY(EditRecordNotesOfRow(&list, 0, 0, m_Device, m_Main.get()));
        QCOMPARE(shown, QStringLiteral("old"));
        QCOMPARE(list.Rows[0]->Cells[11].Text, QStringLiteral("résumé sent"));
        QFile file(m_Storage.path() + QString::fromStdString(emu::IndexDevicePath(24, 1, 1, 1)));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray entry = file.readAll().mid(emu::kIndexHeaderSize + index * emu::kIndexEntrySize,
                                                    emu::kIndexEntrySize);
        const QByteArray expected = QStringLiteral("résumé sent").toUtf8();
        QCOMPARE(entry.mid(emu::kEntryNotesOffset, expected.size() + 1), expected + '\0');

        // The PC backup of a device the local list does not know: the failure box, the row as it was.
        QTimer::singleShot(0, &editor, [&editor]() {
            QTest::mouseClick(editor.findChild<ZButton*>("ConfirmButton"), Qt::LeftButton);
        });
        QVERIFY(!EditRecordNotesOfRow(&list, 0, 1, nullptr, m_Main.get()));
        QCOMPARE(list.Rows[0]->Cells[11].Text, QStringLiteral("résumé sent"));
        g_WaitForm = nullptr;
        g_EditRecordNotesForm = nullptr;
    }

    // ---- Record pop-ups (last: the final case removes the device)

    void finishedRecordRaisesTheRecordPopup()
    {
        const QDate today = QDate::currentDate();
        // Records 0 and 1 of today on channel 1: the hang-up below makes record 1.
        for (int i = 0; i < 2; ++i) {
            emu::FixtureRecord record;
            record.year = uint8_t(today.year() - 2000);
            record.month = uint8_t(today.month());
            record.day = uint8_t(today.day());
            record.channel = 1;
            record.second = uint8_t(i);
            QCOMPARE(emu::AddFixtureRecord(m_Storage.path().toStdString(), record), i);
        }
        emu::SetRecordCounter(*m_Recorder, 0, 0);
        QVERIFY(Line(0, emu::kLineOutComing, "95551234"));
        CloseAll<StatusPopupForm>();
        emu::HangUp(*m_Recorder, 0, 1);
        QTRY_COMPARE_WITH_TIMEOUT(Live<RecordPopupForm>().size(), 1, 5000);
        RecordPopupForm* popup = Live<RecordPopupForm>().first();
        QCOMPARE(popup->PhoneNum, QStringLiteral("95551234"));
        QCOMPARE(popup->Name, QStringLiteral("Ann"));
        QCOMPARE(popup->Channel, 0);
        QCOMPARE(int(popup->RecordInfo.Index), 1);

        auto* line = popup->findChild<ZLineEdit*>("NotesLineEdit");
        auto* add = popup->findChild<ZButton*>("AddNotesButton");
        // 65 bytes: refused, nothing stored, the pop-up stays.
        line->SetText(QString(65, QLatin1Char('n')));
        QToolTip::hideText();
        QTest::mouseClick(add, Qt::LeftButton);
        QCOMPARE(QToolTip::text(), TextTips002);
        QCOMPARE(Live<RecordPopupForm>().size(), 1);
        line->SetText(QStringLiteral("call back Monday"));
        QTest::mouseClick(add, Qt::LeftButton);
        QTRY_VERIFY(Live<RecordPopupForm>().isEmpty());

        QFile index(m_Storage.path() + QString::fromStdString(emu::IndexDevicePath(
                                           uint8_t(today.year() - 2000), uint8_t(today.month()), uint8_t(today.day()), 1)));
        QVERIFY(index.open(QIODevice::ReadOnly));
        const QByteArray entry = index.readAll().mid(emu::kIndexHeaderSize + emu::kIndexEntrySize, emu::kIndexEntrySize);
        QCOMPARE(entry.mid(emu::kEntryNotesOffset, 17), QByteArray("call back Monday\0", 17));
    }

    // A recorder that announces more digits than the 20-byte number field holds: the field's digits, no more.
    void recordNumberLengthIsHeldToItsField()
    {
        uint16_t counter = 0;
        Edit<emu::HeartbeatState>([&](emu::HeartbeatState& h) { counter = h.channels[2].recordCounter; });
        {
            std::lock_guard<std::mutex> lock(m_Recorder->StateMutex());
            std::array<uint8_t, 30>& info = emu::CurrentRecordRecord(*m_Recorder, 2);
            info.fill(0);
            info[0] = 24;
            info[1] = 1;
            info[2] = 1;
            info[9] = 200;
            std::memcpy(info.data() + 10, "12345678901234567890", 20);
        }
        emu::SetRecordCounter(*m_Recorder, 2, uint16_t(counter + 1));
        QTRY_COMPARE_WITH_TIMEOUT(Live<RecordPopupForm>().size(), 1, 5000);
        QCOMPARE(Live<RecordPopupForm>().first()->PhoneNum, QStringLiteral("12345678901234567890"));
        QCOMPARE(Live<RecordPopupForm>().first()->Channel, 2);
    }

    void recordPopupAfterTheDeviceWasRemovedSendsNothing()
    {
        emu::HangUp(*m_Recorder, 0, 0);
        QTRY_COMPARE_WITH_TIMEOUT(Live<RecordPopupForm>().size(), 1, 5000);
        RecordPopupForm* popup = Live<RecordPopupForm>().first();
        QVERIFY(DeviceManage::RemoveDevice(DeviceManage::IndexOfDevice(m_Device)));
        QTRY_VERIFY(m_Device.isNull());
        QVERIFY(popup->Device.isNull());
        // The dial pad forgot the device too.
        QVERIFY(m_Dial->findChild<ZComboBox*>("DeviceComboBox")->Items().isEmpty());

        const size_t sent = m_Recorder->CountRequests(34);
        popup->findChild<ZLineEdit*>("NotesLineEdit")->SetText(QStringLiteral("late"));
        QToolTip::hideText();
        QTest::mouseClick(popup->findChild<ZButton*>("AddNotesButton"), Qt::LeftButton);
        QCOMPARE(QToolTip::text(), TextTips002);
        QCOMPARE(m_Recorder->CountRequests(34), sent);
        QCOMPARE(Live<RecordPopupForm>().size(), 1);
    }

    void cleanupTestCase()
    {
        m_Popups.reset();
        m_Dial.reset();
        m_Manage.reset();
        FreeContacts();
        m_Emulator.Stop();
    }
};

QTEST_MAIN(DeviceEventWindowsTest)
#include "tst_device_event_windows.moc"
