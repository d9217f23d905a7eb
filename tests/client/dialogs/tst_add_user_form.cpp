// The user editor as an operator meets it: against an emulated recorder (4 channels, logged in as admin) it
// adds, edits and (through the device) deletes an account, read back from the recorder's own table and by
// logging in as that account; refusals keep the dialog open; a rename onto another account is refused before
// anything is sent; a row's entry outlives a failed list read. Offline, tables of what Exec shows and of the
// Confirm checks.

// First, before Qt's headers define "slots" as a keyword.
#include "EmuUsers.h"

namespace {
void SetUserSlots(calvox::emu::UserSlots& table, size_t count)
{
    table.slots = count;
}
}  // namespace

#include "OneFormTest.h"

#include "AddUserForm.h"
#include "KesDevice.h"
#include "ZCheckBox.h"
#include "ZGridListData.h"
#include "ZLineEdit.h"

#include "EmuHeartbeat.h"
#include "EmuSessions.h"
#include "Emulator.h"

#include <QCryptographicHash>
#include <QToolTip>
#include <QtTest>

#include <cstring>
#include <memory>

namespace emu = calvox::emu;

namespace {

const char kId[] = "4B000000000000000061";  // 4 channels
constexpr uint8_t kCommandAddUser = 25;
constexpr uint8_t kCommandEditUser = 26;
constexpr int kWrongUserOrPassword = 101;

emu::Md5Digest Md5(const QByteArray& text)
{
    emu::Md5Digest digest{};
    const QByteArray md5 = QCryptographicHash::hash(text, QCryptographicHash::Md5);
    std::memcpy(digest.data(), md5.constData(), digest.size());
    return digest;
}

// One emulated recorder and a device logged in to it as admin.
struct Recorder {
    Recorder()
    {
        emu::RecorderConfig config;
        config.id = kId;
        config.bindAddress = "127.0.0.1";
        config.port = 0;
        recorder = emulator.Add(config);
        if (recorder == nullptr)
            return;
        device.reset(Connect(QStringLiteral("admin"), QStringLiteral("admin")));
        loggedIn = device && device->Login() == 0;
    }
    ~Recorder()
    {
        device.reset();
        emulator.Stop();
    }

    KesDevice* Connect(const QString& user, const QString& password)
    {
        KesDevice* d = KesDevice::Create(QStringLiteral("Office"), QString::fromLatin1(kId));
        if (d == nullptr)
            return nullptr;
        d->SetNetAddr(QStringLiteral("127.0.0.1"), recorder->Port());
        d->UserName = user;
        d->Password = password;
        return d;
    }

    // The recorder's account of that name; found false when it has none.
    emu::UserAccount Account(const std::string& name, bool* found = nullptr)
    {
        std::lock_guard<std::mutex> lock(recorder->StateMutex());
        emu::UserAccount* account = recorder->State<emu::LoginState>().FindUser(name);
        if (found != nullptr)
            *found = account != nullptr;
        return account != nullptr ? *account : emu::UserAccount{};
    }

    void AddAccount(const std::string& name, const QByteArray& password, uint64_t channels, uint32_t permission)
    {
        emu::UserAccount account;
        account.name = name;
        account.passwordMd5 = Md5(password);
        account.channelMask = channels;
        account.permission = permission;
        std::lock_guard<std::mutex> lock(recorder->StateMutex());
        recorder->State<emu::LoginState>().users.push_back(account);
    }

    // The device's copy of the user-table row named `name`, read under the table's lock.
    bool Entry(const QString& name, Calvox_UserInfo* copy, ZGridListRow** rowOut = nullptr)
    {
        ZGridListRow* row = nullptr;
        const quint64 fill = device->UserListGeneration();
        device->UserListData->Lock();
        for (ZGridListRow* r : device->UserListData->Rows) {
            if (r->Cells[0].Text == name)
                row = r;
        }
        device->UserListData->Unlock();
        if (rowOut != nullptr)
            *rowOut = row;
        return row != nullptr && device->CopyUserEntry(row, fill, copy);
    }

    emu::Emulator emulator;
    emu::Recorder* recorder = nullptr;
    std::unique_ptr<KesDevice> device;
    bool loggedIn = false;
};

// An entry as the SDK's user list holds it.
Calvox_UserInfo MakeEntry(const QByteArray& name, const QString& permissions, const QString& channels)
{
    Calvox_UserInfo user;
    std::memset(&user, 0, sizeof user);
    user.NameLength = static_cast<uint8_t>(qMin(name.size(), 19));
    std::memcpy(user.Name, name.constData(), static_cast<size_t>(user.NameLength));
    uint8_t* bytes[] = {&user.ManageUsers, &user.ChangeSetting, &user.Download, &user.Delete, &user.Monitor};
    for (int i = 0; i < 5; ++i)
        *bytes[i] = permissions.at(i) == QLatin1Char('1') ? 1 : 0;
    for (int i = 0; i < channels.size() && i < 64; ++i)
        user.Channels[i] = channels.at(i) == QLatin1Char('1') ? 1 : 0;
    return user;
}

// What one run of the editor showed and ended with.
struct Outcome {
    int Result = -1;
    QStringList Messages;  // message boxes, in order
    QString Tip;           // the last tooltip
    QString Field;         // the field it pointed at
    QString NameAfter;     // the name field when the run ended by Cancel
};

}  // namespace

class AddUserFormTest : public OneFormTest
{
    Q_OBJECT

private:
    AddUserForm* m_Form = nullptr;

    ZForm* MakeForm(QWidget* mainWindow) override
    {
        m_Form = new AddUserForm(mainWindow);
        return m_Form;
    }

    template <class T = ZCheckBox>
    T* Child(const QString& name) const
    {
        return m_Form->findChild<T*>(name);
    }
    ZCheckBox* Box(int n) const { return Child(QStringLiteral("ChannelCheck%1").arg(n, 2, 10, QLatin1Char('0'))); }
    ZLineEdit* Edit(const char* name) const { return Child<ZLineEdit>(QLatin1String(name)); }
    void Click(const char* name) const { QTest::mouseClick(Child<QWidget>(QLatin1String(name)), Qt::LeftButton); }
    void Type(const char* field, const QString& text) const
    {
        Edit(field)->SetText(QString());
        QTest::keyClicks(Edit(field), text);
    }

    QString TipField() const
    {
        return TipFieldAmong({Edit("UserNameLineEdit"), Edit("PasswordLineEdit1"), Edit("PasswordLineEdit2")});
    }

    // Runs Exec(device, user): once the editor shows, `fill` acts as the operator, then Confirm is pressed
    // `presses` times while the editor stays open; a run still open afterwards is cancelled.
    Outcome Run(KesDevice* device, const Calvox_UserInfo* user, std::function<void()> fill, int presses = 1)
    {
        Outcome outcome;
        auto ended = std::make_shared<bool>(false);
        TipCatcher tips;
        QToolTip::hideText();
        When(this, [this] { return m_Form->isVisible(); }, [&] {
            fill();
            for (int i = 0; i < presses && m_Form->isVisible(); ++i)
                Click("ConfirmButton");
            if (QToolTip::isVisible()) {
                outcome.Tip = QToolTip::text();
                outcome.Field = TipField();
            }
            // An accepted run has been told to end but is still shown until its loop returns: a run still
            // going once this handler is done is cancelled.
            outcome.NameAfter = Edit("UserNameLineEdit")->Text();
            QTimer::singleShot(0, m_Form, [this, ended] {
                if (!*ended && m_Form->isVisible())
                    Click("CancelButton");
            });
        });
        outcome.Result = m_Form->Exec(device, user);
        *ended = true;
        outcome.Messages = tips.Seen;
        return outcome;
    }

    QString Flags(bool live, int from, int to) const
    {
        QString text;
        for (int i = from; i < to; ++i)
            text += (live ? Box(i)->isEnabled() : Box(i)->Checked()) ? QLatin1Char('1') : QLatin1Char('0');
        return text;
    }
    QString Permissions(bool live) const
    {
        QString text;
        for (const char* name : {"ManageUsersPermissionCheckBox", "ChangeSettingPermissionCheckBox",
                                 "DownloadPermissionCheckBox", "DeletePermissionCheckBox", "MonitorPermissionCheckBox",
                                 "SelectAllPermissionCheckBox", "SelectAllChannelCheckBox"}) {
            if (!live && QByteArray(name).startsWith("SelectAll"))
                continue;
            ZCheckBox* box = Child(QLatin1String(name));
            text += (live ? box->isEnabled() : box->Checked()) ? QLatin1Char('1') : QLatin1Char('0');
        }
        return text;
    }

private slots:
    void initTestCase()
    {
        if (qEnvironmentVariableIsEmpty("CALVOX_TIME_SCALE"))
            qputenv("CALVOX_TIME_SCALE", "0.05");
    }

    // Add, check by logging in, edit without and with a new password, delete with a row's copy.
    void AddEditDelete()
    {
        Recorder r;
        QVERIFY(r.loggedIn);
        KesDevice* d = r.device.get();

        Outcome added = Run(d, nullptr, [&] {
            QCOMPARE(m_Form->Title(), QStringLiteral("Add User"));
            QTest::keyClicks(Edit("UserNameLineEdit"), QStringLiteral("clerk"));
            QTest::keyClicks(Edit("PasswordLineEdit1"), QStringLiteral("pw1"));
            QTest::keyClicks(Edit("PasswordLineEdit2"), QStringLiteral("pw1"));
            Click("DownloadPermissionCheckBox");
            Click("MonitorPermissionCheckBox");
            QTest::mouseClick(Box(0), Qt::LeftButton);
            QTest::mouseClick(Box(2), Qt::LeftButton);
        });
        QCOMPARE(added.Result, 1);
        QCOMPARE(added.Messages, QStringList());
        bool found = false;
        emu::UserAccount clerk = r.Account("clerk", &found);
        QVERIFY(found);
        QCOMPARE(clerk.permission, 0x14u);
        QCOMPARE(clerk.channelMask, uint64_t(0x5));
        QVERIFY(clerk.passwordMd5 == Md5("pw1"));

        QCOMPARE(d->GetUserList(), 0);
        Calvox_UserInfo entry{};
        QVERIFY(r.Entry(QStringLiteral("clerk"), &entry));
        QCOMPARE(int(entry.Download) + int(entry.Monitor), 2);
        QCOMPARE(int(entry.ManageUsers) + int(entry.ChangeSetting) + int(entry.Delete), 0);
        {
            std::unique_ptr<KesDevice> asClerk(r.Connect(QStringLiteral("clerk"), QStringLiteral("pw1")));
            QCOMPARE(asClerk->Login(), 0);
            QCOMPARE(CalvoxAPI_Permission_Channel(asClerk->Handle, 2), 1);
            QCOMPARE(CalvoxAPI_Permission_Channel(asClerk->Handle, 1), 0);
            QCOMPARE(CalvoxAPI_Permission_ManageUsers(asClerk->Handle), 0);
        }

        // Edit with the password fields empty: ChangeSetting and channel 2 added, the password kept.
        Outcome edited = Run(d, &entry, [&] {
            QCOMPARE(m_Form->Title(), QStringLiteral("Edit User"));
            QCOMPARE(Edit("UserNameLineEdit")->Text(), QStringLiteral("clerk"));
            QCOMPARE(Permissions(false), QStringLiteral("00101"));
            QCOMPARE(Flags(false, 0, 4), QStringLiteral("1010"));
            Click("ChangeSettingPermissionCheckBox");
            QTest::mouseClick(Box(1), Qt::LeftButton);
        });
        QCOMPARE(edited.Result, 1);
        clerk = r.Account("clerk");
        QCOMPARE(clerk.permission, 0x16u);
        QCOMPARE(clerk.channelMask, uint64_t(0x7));
        QVERIFY(clerk.passwordMd5 == Md5("pw1"));

        // A new password: the old one no longer logs in.
        QCOMPARE(d->GetUserList(), 0);
        QVERIFY(r.Entry(QStringLiteral("clerk"), &entry));
        QCOMPARE(Run(d, &entry, [&] {
                     QTest::keyClicks(Edit("PasswordLineEdit1"), QStringLiteral("pw2"));
                     QTest::keyClicks(Edit("PasswordLineEdit2"), QStringLiteral("pw2"));
                 }).Result,
                 1);
        QVERIFY(r.Account("clerk").passwordMd5 == Md5("pw2"));
        QCOMPARE(r.Account("clerk").permission, 0x16u);
        {
            std::unique_ptr<KesDevice> old(r.Connect(QStringLiteral("clerk"), QStringLiteral("pw1")));
            QCOMPARE(old->Login(), kWrongUserOrPassword);
            std::unique_ptr<KesDevice> now(r.Connect(QStringLiteral("clerk"), QStringLiteral("pw2")));
            QCOMPARE(now->Login(), 0);
        }

        // Editing admin with nothing typed sends it unchanged, with no new password.
        QCOMPARE(d->GetUserList(), 0);
        Calvox_UserInfo admin{};
        QVERIFY(r.Entry(QStringLiteral("admin"), &admin));
        r.recorder->ClearLog();
        QCOMPARE(Run(d, &admin, [] {}).Result, 1);
        QCOMPARE(r.recorder->CountRequests(kCommandEditUser), size_t(1));
        QCOMPARE(r.Account("admin").permission, 0x1Fu);
        // The record carries the recorder's four channels; those it does not have go out as 0.
        QCOMPARE(r.Account("admin").channelMask, uint64_t(0xF));
        QVERIFY(r.Account("admin").passwordMd5 == Md5("admin"));

        // Deleting through the device with a copy of the row's entry.
        QCOMPARE(d->GetUserList(), 0);
        QVERIFY(r.Entry(QStringLiteral("clerk"), &entry));
        QCOMPARE(d->DeleteUser(&entry), 0);
        r.Account("clerk", &found);
        QVERIFY(!found);
    }

    // A name outside Latin-1 reaches the recorder with "?" in place of what it cannot hold.
    void NameOutsideLatin1()
    {
        Recorder r;
        QVERIFY(r.loggedIn);
        Outcome added = Run(r.device.get(), nullptr, [&] {
            Edit("UserNameLineEdit")->SetText(QString::fromUtf8("Zo\xc3\xab\xe2\x82\xac"));  // "Zoë€"
            QTest::keyClicks(Edit("PasswordLineEdit1"), QStringLiteral("p"));
            QTest::keyClicks(Edit("PasswordLineEdit2"), QStringLiteral("p"));
        });
        QCOMPARE(added.Result, 1);
        bool found = false;
        r.Account("Zo\xeb?", &found);
        QVERIFY(found);
    }

    // Refusals by the recorder: the message, the dialog open with its input, and a second Confirm sends again.
    void RecorderRefusals_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("tableFull");
        QTest::addColumn<QString>("message");
        QTest::newRow("102 name exists") << QStringLiteral("admin") << false << QStringLiteral("Users name already exist");
        QTest::newRow("103 no further user") << QStringLiteral("clerk") << true
                                             << QStringLiteral("Toplimit of user numbers");
    }
    void RecorderRefusals()
    {
        QFETCH(QString, name);
        QFETCH(bool, tableFull);
        QFETCH(QString, message);
        Recorder r;
        QVERIFY(r.loggedIn);
        if (tableFull) {
            std::lock_guard<std::mutex> lock(r.recorder->StateMutex());
            SetUserSlots(r.recorder->State<emu::UserSlots>(), r.recorder->State<emu::LoginState>().users.size());
        }
        r.recorder->ClearLog();
        Outcome o = Run(r.device.get(), nullptr, [&] {
            QTest::keyClicks(Edit("UserNameLineEdit"), name);
            QTest::keyClicks(Edit("PasswordLineEdit1"), QStringLiteral("pw"));
            QTest::keyClicks(Edit("PasswordLineEdit2"), QStringLiteral("pw"));
        }, 2);
        QCOMPARE(o.Result, 0);
        QCOMPARE(o.Messages, QStringList({message, message}));
        QCOMPARE(o.NameAfter, name);
        QCOMPARE(r.recorder->CountRequests(kCommandAddUser), size_t(2));
    }

    // Renaming an account onto another's is refused before anything is sent; the other account stays.
    void RenameOntoAnotherAccount()
    {
        Recorder r;
        QVERIFY(r.loggedIn);
        r.AddAccount("clerk", "pw1", 0x5, 0x14);
        KesDevice* d = r.device.get();
        QCOMPARE(d->GetUserList(), 0);
        Calvox_UserInfo clerk{};
        QVERIFY(r.Entry(QStringLiteral("clerk"), &clerk));
        r.recorder->ClearLog();
        Outcome o = Run(d, &clerk, [&] {
            Type("UserNameLineEdit", QStringLiteral("admin"));
            Click("SelectAllPermissionCheckBox");  // all five on ...
            Click("SelectAllPermissionCheckBox");  // ... and off
            QCOMPARE(Permissions(false), QStringLiteral("00000"));
        });
        QCOMPARE(o.Result, 0);
        QCOMPARE(o.Messages, QStringList({QStringLiteral("Users name already exist")}));
        QCOMPARE(r.recorder->CountRequests(kCommandEditUser), size_t(0));
        QCOMPARE(r.Account("admin").permission, 0x1Fu);
        QCOMPARE(r.Account("admin").channelMask, ~uint64_t(0));

        // A name of no account is a plain edit under that name (the recorder adds nothing, answers 104).
        QCOMPARE(Run(d, &clerk, [&] { Type("UserNameLineEdit", QStringLiteral("newname")); }).Messages,
                 QStringList({QStringLiteral("Connection timeouts")}));
        QCOMPARE(r.recorder->CountRequests(kCommandEditUser), size_t(1));
    }

    // A failed list read empties the SDK's list; the row's entry is the device's and still opens the editor.
    void EntryOutlivesAFailedListRead()
    {
        Recorder r;
        QVERIFY(r.loggedIn);
        r.AddAccount("clerk", "pw1", 0x5, 0x14);
        KesDevice* d = r.device.get();
        QCOMPARE(d->GetUserList(), 0);
        Calvox_UserInfo before{};
        ZGridListRow* row = nullptr;
        QVERIFY(r.Entry(QStringLiteral("clerk"), &before, &row));
        const quint64 fill = d->UserListGeneration();
        emu::GoSilent(*r.recorder, 60000);
        QVERIFY(d->GetUserList() != 0);
        emu::GoSilent(*r.recorder, 0);
        QCOMPARE(CalvoxAPI_UserList(d->Handle)->Count, 0u);
        Calvox_UserInfo entry{};
        QVERIFY(d->CopyUserEntry(row, fill, &entry));
        QString shown;
        QString channels;
        Run(d, &entry, [&] {
            shown = Edit("UserNameLineEdit")->Text();
            channels = Flags(false, 0, 4);
        });
        QCOMPARE(shown, QStringLiteral("clerk"));
        QCOMPARE(channels, QStringLiteral("1010"));
    }

    // What Exec shows: names, permissions, channels and which of them are open.
    void ExecShows_data()
    {
        QTest::addColumn<QString>("id");
        QTest::addColumn<bool>("edit");
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<QString>("permissions");  // ManageUsers, ChangeSetting, Download, Delete, Monitor
        QTest::addColumn<QString>("channels");     // the entry's 64 bytes
        QTest::addColumn<QString>("nameShown");
        QTest::addColumn<QString>("liveFields");   // name, password 1, password 2
        QTest::addColumn<QString>("livePermissions");  // the five, then the two select-all boxes
        QTest::addColumn<QString>("liveChannels");

        const QString four = QStringLiteral("1111") + QString(60, QLatin1Char('0'));
        const QString none(64, QLatin1Char('0'));
        const QString all(64, QLatin1Char('1'));
        const QString pattern = QStringLiteral("10").repeated(32);
        QTest::newRow("admin: only the passwords open")
            << "4B000000000000000061" << true << QByteArray("admin") << "11111" << all << "admin" << "011" << "0000000"
            << none;
        QTest::newRow("Admin: every field open")
            << "4B000000000000000061" << true << QByteArray("Admin") << "10101" << pattern << "Admin" << "111"
            << "1111111" << four;
        QTest::newRow("64 channels") << "A0000000000000000001" << true << QByteArray("ops") << "00010" << pattern
                                     << "ops" << "111" << "1111111" << all;
        QTest::newRow("19-character name followed by ManageUsers 1")
            << "4B000000000000000061" << true << QByteArray("nineteen-characters") << "10000" << four
            << "nineteen-characters" << "111" << "1111111" << four;
        QTest::newRow("add mode") << "A0000000000000000001" << false << QByteArray() << "00000" << none << ""
                                  << "111" << "1111111" << all;
    }
    void ExecShows()
    {
        QFETCH(QString, id);
        QFETCH(bool, edit);
        QFETCH(QByteArray, name);
        QFETCH(QString, permissions);
        QFETCH(QString, channels);
        std::unique_ptr<KesDevice> device(KesDevice::Create(QStringLiteral("Office"), id));
        QVERIFY(device);
        // The previous run's boxes are all on: Exec must set every one afresh.
        for (int i = 0; i < 64; ++i)
            Box(i)->SetChecked(true);
        const Calvox_UserInfo entry = MakeEntry(name, permissions, channels);
        QString shown, fields, livePermissions, shownPermissions, liveChannels, shownChannels, title;
        Run(device.get(), edit ? &entry : nullptr, [&] {
            title = m_Form->Title();
            shown = Edit("UserNameLineEdit")->Text();
            for (const char* f : {"UserNameLineEdit", "PasswordLineEdit1", "PasswordLineEdit2"})
                fields += Edit(f)->isEnabled() ? QLatin1Char('1') : QLatin1Char('0');
            livePermissions = Permissions(true);
            shownPermissions = Permissions(false);
            liveChannels = Flags(true, 0, 64);
            shownChannels = Flags(false, 0, 64);
            QVERIFY(Edit("PasswordLineEdit1")->Text().isEmpty() && Edit("PasswordLineEdit2")->Text().isEmpty());
        });
        QCOMPARE(title, edit ? QStringLiteral("Edit User") : QStringLiteral("Add User"));
        QTEST(shown, "nameShown");
        QTEST(fields, "liveFields");
        QTEST(livePermissions, "livePermissions");
        QCOMPARE(shownPermissions, permissions);
        QTEST(liveChannels, "liveChannels");
        // Channels at or above the device's count show unchecked whatever the entry holds.
        const int count = device->Channels;
        QCOMPARE(shownChannels, channels.left(count) + QString(64 - count, QLatin1Char('0')));
    }

    // Confirm's checks, in order: the tooltip's text and field; nothing is sent (the device is offline, so a
    // send would end in "Connection timeouts").
    void ConfirmChecks_data()
    {
        QTest::addColumn<bool>("edit");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("password1");
        QTest::addColumn<QString>("password2");
        QTest::addColumn<QString>("tip");
        QTest::addColumn<QString>("field");
        const QString noName = QStringLiteral("User name can't be null");
        const QString noPassword = QStringLiteral("Password can't be null");
        const QString differ = QStringLiteral("Password inconsistency");
        QTest::newRow("add, no name") << false << "" << "a" << "a" << noName << "UserNameLineEdit";
        QTest::newRow("add, a space is a name; no passwords")
            << false << " " << "" << "" << noPassword << "PasswordLineEdit1";
        QTest::newRow("add, no second password") << false << "x" << "a" << "" << noPassword << "PasswordLineEdit2";
        QTest::newRow("add, passwords differ") << false << "x" << "a" << "b" << differ << "PasswordLineEdit2";
        QTest::newRow("add, passwords differ in case") << false << "x" << "a" << "A" << differ << "PasswordLineEdit2";
        QTest::newRow("edit, no name") << true << "" << "" << "" << noName << "UserNameLineEdit";
        QTest::newRow("edit, first password only") << true << "clerk" << "a" << "" << differ << "PasswordLineEdit2";
        QTest::newRow("edit, second password only") << true << "clerk" << "" << "b" << differ << "PasswordLineEdit2";
    }
    void ConfirmChecks()
    {
        QFETCH(bool, edit);
        QFETCH(QString, name);
        QFETCH(QString, password1);
        QFETCH(QString, password2);
        std::unique_ptr<KesDevice> device(KesDevice::Create(QStringLiteral("Office"), QString::fromLatin1(kId)));
        const Calvox_UserInfo entry = MakeEntry("clerk", "00101", "1010");
        Outcome o = Run(device.get(), edit ? &entry : nullptr, [&] {
            Type("UserNameLineEdit", name);
            QTest::keyClicks(Edit("PasswordLineEdit1"), password1);
            QTest::keyClicks(Edit("PasswordLineEdit2"), password2);
        });
        QCOMPARE(o.Result, 0);
        QCOMPARE(o.Messages, QStringList());
        QTEST(o.Tip, "tip");
        QTEST(o.Field, "field");
        QCOMPARE(o.NameAfter, name);
    }

    // The permission select-all sets the five; the channel select-all only the device's channels. Both keep
    // their checked state into the next run, whose permission boxes still start clear.
    void SelectAllBoxes()
    {
        std::unique_ptr<KesDevice> device(KesDevice::Create(QStringLiteral("Office"), QString::fromLatin1(kId)));
        Child(QStringLiteral("SelectAllPermissionCheckBox"))->SetChecked(false);
        Child(QStringLiteral("SelectAllChannelCheckBox"))->SetChecked(false);
        QString permissions, channels;
        Run(device.get(), nullptr, [&] {
            Click("SelectAllPermissionCheckBox");
            Click("SelectAllChannelCheckBox");
            permissions = Permissions(false);
            channels = Flags(false, 0, 64);
        });
        QCOMPARE(permissions, QStringLiteral("11111"));
        QCOMPARE(channels, QStringLiteral("1111") + QString(60, QLatin1Char('0')));
        QVERIFY(Child(QStringLiteral("SelectAllPermissionCheckBox"))->Checked());
        Run(device.get(), nullptr, [&] {
            permissions = Permissions(false);
            channels = Flags(false, 0, 4);
        });
        QCOMPARE(permissions, QStringLiteral("00000"));
        QCOMPARE(channels, QStringLiteral("0000"));
        QVERIFY(Child(QStringLiteral("SelectAllPermissionCheckBox"))->Checked());
        QVERIFY(Child(QStringLiteral("SelectAllChannelCheckBox"))->Checked());
    }

    // Titles from a language whose title text has no bar: the add title is the text, the edit title empty.
    void TitleWithoutABar()
    {
        Language::Load(QStringLiteral("English"));
        m_Form->SetTitle(QStringLiteral("Users"));
        m_Form->LanguageChangedEvent();  // the title text now "Add User|Edit User" again
        std::unique_ptr<KesDevice> device(KesDevice::Create(QStringLiteral("Office"), QString::fromLatin1(kId)));
        QString title;
        Run(device.get(), nullptr, [&] { title = m_Form->Title(); });
        QCOMPARE(title, QStringLiteral("Add User"));
    }
};

QTEST_MAIN(AddUserFormTest)
#include "tst_add_user_form.moc"
