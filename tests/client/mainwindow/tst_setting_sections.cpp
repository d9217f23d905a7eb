// The settings page's key-control, network, SMDR, users, record-time and scheduled-restart sections as the
// operator meets them: the real main window against the recorder emulator, clicks and keys through QTest, the
// result read back from the emulator's records.
#include "SectionsRig.h"

#include "AddUserForm.h"
#include "ZButton.h"
#include "ZCheckBox.h"
#include "ZComboBox.h"
#include "ZGridList.h"
#include "ZHourMinutePicker.h"
#include "ZLabel.h"
#include "ZLineEdit.h"

#include <QToolTip>

#include <cstring>

namespace {

// Bytes [from, from + count) of a record, for comparing with QCOMPARE.
template <class Record>
QByteArray Slice(const Record& record, int from, int count)
{
    return QByteArray(reinterpret_cast<const char*>(record.data()) + from, count);
}

// A 28-byte file-name field.
QByteArray Name28(const char* name)
{
    QByteArray field(name);
    field.append(QByteArray(28 - field.size(), '\0'));
    return field;
}

void PutNames(std::array<uint8_t, 561>& list, const QStringList& names)
{
    list.fill(0);
    list[0] = static_cast<uint8_t>(names.size());
    for (int i = 0; i < names.size(); ++i)
        std::memcpy(list.data() + 1 + 28 * i, names[i].toLatin1().constData(), static_cast<size_t>(names[i].size()));
}

uint32_t Address(const char* text) { return CalvoxAPI_StringToIPaddress(text); }

// The text of the visible tooltip, empty when none.
QString ShownToolTipText()
{
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->inherits("QTipLabel") && w->isVisible())
            return w->property("text").toString();
    }
    return QString();
}

// A list read the recorder leaves unanswered: the SDK's user list is emptied, the grid keeps its rows.
void FailUserListRead(SectionsRig& rig)
{
    rig.Recorder->SetHandler(24, {});
    rig.Click("UpdateUserListButton");
    rig.Recorder->ClearHandler(24);
}

}  // namespace

class SettingSectionsTest : public QObject
{
    Q_OBJECT

private slots:
    void KeyControlRoundTrip()
    {
        SectionsRig rig;
        const QStringList files = {QStringLiteral("hello.wav"), QStringLiteral("busy.wav"), QStringLiteral("bye.wav")};
        rig.Edit<emu::DeviceRecords>([&](emu::DeviceRecords& r) {
            PutNames(r.playBackFiles, files);
            auto& k = r.keyControl;
            k.fill(0xA5);
            for (int g = 0; g < 10; ++g) {
                uint8_t* group = k.data() + 40 * g;
                group[0] = g % 2;
                group[1] = 2;
                group[2] = static_cast<uint8_t>('0' + g);
                group[3] = '#';
                std::memcpy(group + 12, Name28(g == 9 ? "gone.wav" : files[g % 3].toLatin1().constData()).constData(), 28);
            }
            // Lengths past their fields: group 1 (10 key bytes) and the stop key (27 bytes, the record's end).
            k[1] = 200;
            std::memcpy(k.data() + 2, "0123456789", 10);
            k[400] = 200;
            std::memset(k.data() + 401, 'S', 27);
        });
        QVERIFY(rig.LogIn());
        rig.ListFiles();

        QCOMPARE(rig.Page<ZLineEdit>("GroupLineEdit1")->Text(), QStringLiteral("0123456789"));
        QCOMPARE(rig.Page<ZLineEdit>("StopPlayBackKeyLineEdit")->Text(), QString(27, QLatin1Char('S')));
        QCOMPARE(rig.Page<ZLineEdit>("GroupLineEdit5")->Text(), QStringLiteral("4#"));
        QVERIFY(!rig.Page<ZCheckBox>("GroupCheckBox1")->Checked());
        QVERIFY(rig.Page<ZCheckBox>("GroupCheckBox2")->Checked());
        QCOMPARE(rig.Page<ZComboBox>("GroupComboBox5")->SelectedIndex(), 1);
        QCOMPARE(rig.Page<ZComboBox>("GroupComboBox9")->SelectedIndex(), 2);
        QCOMPARE(rig.Page<ZComboBox>("GroupComboBox10")->SelectedIndex(), -1);

        // Group 3 on with key "7*" and "busy.wav", stop key "#".
        rig.Page<ZCheckBox>("GroupCheckBox3")->SetChecked(true);
        rig.Page<ZLineEdit>("GroupLineEdit3")->SetText(QStringLiteral("7*"));
        rig.Page<ZComboBox>("GroupComboBox3")->SetSelectedIndex(1);
        rig.Page<ZLineEdit>("StopPlayBackKeyLineEdit")->SetText(QStringLiteral("#"));
        TipCatcher tips;
        rig.Click("SaveKeyControlSettingButton");
        QCOMPARE(tips.Seen, QStringList{QStringLiteral("Operation completely")});
        const emu::DeviceRecords saved = rig.Records();
        QCOMPARE(Slice(saved.keyControl, 80, 40), QByteArray("\x01\x02" "7*", 4) + QByteArray(8, '\0') + Name28("busy.wav"));
        QCOMPARE(Slice(saved.keyControl, 400, 28), QByteArray("\x01#", 2) + QByteArray(26, '\0'));
        // The unlisted file of group 10 is sent as no file.
        QCOMPARE(Slice(saved.keyControl, 360 + 12, 28), QByteArray(28, '\0'));

        // An empty announcement list leaves the file boxes as they are.
        rig.Edit<emu::DeviceRecords>([](emu::DeviceRecords& r) { r.playBackFiles.fill(0); });
        QCOMPARE(rig.Device->GetPlayBackFileList(), 0);
        rig.Form->FillKeyControlFileCombos(rig.Device);
        QCOMPARE(rig.Page<ZComboBox>("GroupComboBox3")->SelectedIndex(), 1);
        QCOMPARE(rig.Page<ZComboBox>("GroupComboBox5")->SelectedIndex(), 1);
    }

    void NetworkRoundTripAndRefusals()
    {
        SectionsRig rig;
        rig.Edit<emu::DeviceRecords>([](emu::DeviceRecords& r) {
            Calvox_NetSetting net{};
            net.Address = Address("192.168.1.20");
            net.Mask = Address("255.255.255.0");
            net.Gateway = Address("192.168.1.1");
            const uint8_t mac[6] = {0x00, 0x1a, 0x2b, 0x3c, 0x4d, 0x5e};
            std::memcpy(net.Mac, mac, 6);
            net.Port = 6066;
            net.AddressMode = 1;
            net.CloudEnabled = 1;
            net.Reserved[0] = 0xA5;
            net.Reserved[1] = 0x5A;
            std::memcpy(r.net.data(), &net, 24);
            const uint32_t now = Address("10.1.2.3");
            std::memcpy(r.netStatus.data(), &now, 4);
        });
        QVERIFY(rig.LogIn());
        QCOMPARE(rig.Page<ZLineEdit>("MacAddressLineEdit")->Text(), QStringLiteral("00:1A:2B:3C:4D:5E"));
        QCOMPARE(rig.Page<ZLabel>("CurrentIPaddressLabel")->Text(), QStringLiteral("10.1.2.3"));
        QCOMPARE(rig.Page<ZComboBox>("NetModeSettingComboBox")->SelectedIndex(), 1);
        QCOMPARE(rig.Page<ZLineEdit>("IPaddressSettingLineEdit")->Text(), QStringLiteral("192.168.1.20"));
        QCOMPARE(rig.Page<ZLineEdit>("NetPortSettingLineEdit")->Text(), QStringLiteral("6066"));
        QVERIFY(rig.Page<ZCheckBox>("CloudSettingCheckBox")->Checked());
        QVERIFY(rig.Page<QWidget>("MaskSettingLineEdit")->isEnabled());

        rig.ShowSection(1700);
        auto* address = rig.Page<ZLineEdit>("IPaddressSettingLineEdit");
        auto* mask = rig.Page<ZLineEdit>("MaskSettingLineEdit");
        auto* gateway = rig.Page<ZLineEdit>("GatewaySettingLineEdit");
        auto* mac = rig.Page<ZLineEdit>("MacAddressLineEdit");
        auto* port = rig.Page<ZLineEdit>("NetPortSettingLineEdit");
        auto* mode = rig.Page<ZComboBox>("NetModeSettingComboBox");
        const auto refusedAt = [&](ZLineEdit* field, const QString& text, ZLineEdit* expected, const QString& tip) {
            const QString kept = field->Text();
            field->SetText(text);
            QToolTip::hideText();
            rig.Click("SaveNetSettingButton");
            QCOMPARE(TipFieldAmong({address, mask, gateway, mac, port}), expected->objectName());
            QCOMPARE(ShownToolTipText(), tip);
            field->SetText(kept);
        };
        for (const char* text : {"70000", "0", "", "abc"})
            refusedAt(port, QString::fromLatin1(text), port, QStringLiteral("Port invalid"));
        refusedAt(mask, QStringLiteral("255.255.255.255"), mask, QStringLiteral("IP address is invalid"));
        refusedAt(address, QStringLiteral("10.0.0"), address, QStringLiteral("IP address is invalid"));
        refusedAt(gateway, QStringLiteral("10..0.1"), gateway, QStringLiteral("IP address is invalid"));
        refusedAt(mac, QStringLiteral("00:1A:2B:3C:4D"), mac, QStringLiteral("MAC address is invalid"));
        QCOMPARE(rig.Recorder->CountRequests(21), size_t(0));

        TipCatcher tips;
        QToolTip::hideText();
        address->SetText(QStringLiteral("192.168.001.010"));
        port->SetText(QStringLiteral("4464"));
        rig.Page<ZCheckBox>("CloudSettingCheckBox")->SetChecked(false);
        rig.Click("SaveNetSettingButton");
        QCOMPARE(ShownToolTipText(), QString());
        QCOMPARE(tips.Seen, QStringList{QStringLiteral("Operation completely")});
        Calvox_NetSetting sent{};
        std::memcpy(&sent, rig.Records().net.data(), 24);
        QCOMPARE(sent.Address, Address("192.168.1.10"));
        QCOMPARE(sent.Mask, Address("255.255.255.0"));
        QCOMPARE(sent.Port, uint16_t(4464));
        QCOMPARE(sent.CloudEnabled, uint8_t(0));
        QCOMPARE(sent.Reserved[0], uint8_t(0xA5));
        QCOMPARE(sent.Reserved[1], uint8_t(0x5A));

        // DHCP: the address fields are off and sent as the SDK reads them; the MAC is still checked.
        mode->SetSelectedIndex(0);
        QVERIFY(!address->isEnabled());
        address->SetText(QStringLiteral("none"));
        refusedAt(mac, QStringLiteral("1:2:3:4:5"), mac, QStringLiteral("MAC address is invalid"));
        rig.Click("SaveNetSettingButton");
        QCOMPARE(tips.Seen.size(), 2);
        std::memcpy(&sent, rig.Records().net.data(), 24);
        QCOMPARE(sent.AddressMode, uint8_t(0));
        QCOMPARE(sent.Address, 0xFFFFFFFFu);
    }

    void NetworkSaveNeedsThePermission()
    {
        SectionsRig rig;
        rig.Edit<emu::LoginState>([](emu::LoginState& l) { l.FindUser("admin")->permission = 0x1D; });
        QVERIFY(rig.LogIn());
        TipCatcher tips;
        for (const char* save : {"SaveNetSettingButton", "SaveKeyControlSettingButton", "SaveSMDRSettingButton",
                                 "SaveRecordTimeSettingButton", "SaveScheduledRestartSettingButton"})
            rig.Click(save);
        QCOMPARE(tips.Seen, Repeated(5, QStringLiteral("Permission denied")));
        for (uint8_t command : {19, 21, 23, 41, 44})
            QCOMPARE(rig.Recorder->CountRequests(command), size_t(0));
    }

    void SmdrRoundTrip()
    {
        SectionsRig rig;
        rig.Edit<emu::DeviceRecords>([](emu::DeviceRecords& r) {
            r.smdr.fill(0xA5);
            const uint8_t head[15] = {1, 5, 10, 4, 20, 12, 30, 4, 40, 12, 0xA5, 3, 0, 2, 1};
            std::memcpy(r.smdr.data(), head, sizeof head);
            r.smdrText = "CALL 201 5551234";
        });
        QVERIFY(rig.LogIn());
        QCOMPARE(rig.Page<ZLineEdit>("SMDRCheckTimeLineEdit")->Text(), QStringLiteral("500"));
        QCOMPARE(rig.Page<ZComboBox>("BaudrateComboBox")->SelectedIndex(), 3);
        QCOMPARE(rig.Page<ZComboBox>("StopBitComboBox")->SelectedIndex(), 2);
        QCOMPARE(rig.Page<ZLineEdit>("SMDRLineEdit8")->Text(), QStringLiteral("12"));

        TipCatcher tips;
        rig.Page<ZCheckBox>("EnabelSMDRCheckBox")->SetChecked(false);
        QVERIFY(!rig.Page<QWidget>("SMDRLineEdit1")->isEnabled());
        rig.Page<ZLineEdit>("SMDRCheckTimeLineEdit")->SetText(QStringLiteral("550"));
        rig.Page<ZLineEdit>("SMDRLineEdit1")->SetText(QStringLiteral("300"));
        rig.Click("SaveSMDRSettingButton");
        QCOMPARE(tips.Seen, QStringList{QStringLiteral("Operation completely")});
        const std::array<uint8_t, 64> saved = rig.Records().smdr;
        QCOMPARE(Slice(saved, 0, 15), QByteArray("\x00\x05\xFF\x04\x14\x0C\x1E\x04\x28\x0C\xA5\x03\x00\x02\x01", 15));
        QCOMPARE(Slice(saved, 15, 49), QByteArray(49, '\xA5'));

        rig.Click("UpdateSMDRSettingButton");
        QCOMPARE(rig.Page<ZLineEdit>("SMDRCheckTimeLineEdit")->Text(), QStringLiteral("500"));
        rig.Page<ZLineEdit>("SMDRCheckTimeLineEdit")->SetText(QStringLiteral("5000"));
        rig.Click("SaveSMDRSettingButton");
        QCOMPARE(rig.Records().smdr[1], uint8_t(50));

        rig.Click("GetSMDRTextButton");
        QCOMPARE(rig.Page<ZLineEdit>("SMDRTextEditLine")->Text(), QStringLiteral("CALL 201 5551234"));
        rig.Recorder->SetHandler(38, {});
        rig.Click("GetSMDRTextButton");
        QCOMPARE(rig.Page<ZLineEdit>("SMDRTextEditLine")->Text(), QString());
        QCOMPARE(tips.Seen.size(), 2);
    }

    void UsersListedAndDeleted()
    {
        SectionsRig rig;
        rig.Edit<emu::LoginState>([](emu::LoginState& l) {
            for (const char* name : {"clerk", "night"}) {
                emu::UserAccount account = l.users.front();
                account.name = name;
                account.permission = 0x04;
                l.users.push_back(account);
            }
        });
        QVERIFY(rig.LogIn());
        auto* grid = rig.Page<ZGridList>("UserListGridList");
        QCOMPARE(grid->DataSource(), rig.Device->UserListData);
        QCOMPARE(GridRows(grid).size(), 3);
        QCOMPARE(GridRows(grid).at(1), QStringLiteral("clerk|Yes|No|No|No|No"));

        TipCatcher tips;
        SelectRow(grid, 2);
        rig.Click("DeleteUserButton");
        QVERIFY(tips.Seen.isEmpty());
        QCOMPARE(rig.Edit<emu::LoginState>([](emu::LoginState& l) { return l.FindUser("night") == nullptr; }), true);
        QCOMPARE(GridRows(grid).size(), 2);

        // Two list reads behind the grid's back (the auto-login's, on a worker) free the selected row, and a row
        // of the new list may take its address. Delete removes nothing: the grid re-reads the table, the
        // selection is gone, and the operator picks again.
        SelectRow(grid, 1);
        rig.Edit<emu::LoginState>([](emu::LoginState& l) {
            emu::UserAccount account = l.users.front();
            account.name = "temp";
            l.users.insert(l.users.begin() + 1, account);
        });
        QCOMPARE(rig.Device->GetUserList(), 0);
        QCOMPARE(rig.Device->GetUserList(), 0);
        QVERIFY(grid->SelectedRow != nullptr);
        const size_t deletes = rig.Recorder->CountRequests(27);
        rig.Click("DeleteUserButton");
        QCOMPARE(rig.Recorder->CountRequests(27), deletes);
        QCOMPARE(grid->SelectedRow, static_cast<ZGridListRow*>(nullptr));
        QCOMPARE(rig.Edit<emu::LoginState>([](emu::LoginState& l) { return l.users.size(); }), size_t(3));
        SelectRow(grid, 1);
        rig.Click("DeleteUserButton");
        QCOMPARE(rig.Edit<emu::LoginState>([](emu::LoginState& l) { return l.FindUser("temp") == nullptr; }), true);
        QCOMPARE(GridRows(grid), (QStringList{QStringLiteral("admin|Yes|Yes|Yes|Yes|Yes"),
                                              QStringLiteral("clerk|Yes|No|No|No|No")}));

        // A refresh that fails empties the SDK's list; the grid keeps its rows, and a delete takes its copy.
        FailUserListRead(rig);
        QCOMPARE(tips.Seen, QStringList{QStringLiteral("Connection timeouts")});
        SelectRow(grid, 1);
        rig.Click("DeleteUserButton");
        QCOMPARE(rig.Edit<emu::LoginState>([](emu::LoginState& l) { return l.users.size(); }), size_t(1));
        QCOMPARE(GridRows(grid).size(), 1);

        // An account removed behind the page's back, and a recorder that does not answer.
        rig.Edit<emu::LoginState>([](emu::LoginState& l) {
            emu::UserAccount account = l.users.front();
            account.name = "temp";
            l.users.push_back(account);
        });
        rig.Click("UpdateUserListButton");
        QCOMPARE(GridRows(grid).size(), 2);
        rig.Edit<emu::LoginState>([](emu::LoginState& l) { l.users.pop_back(); });
        SelectRow(grid, 1);
        rig.Click("DeleteUserButton");
        rig.Recorder->SetHandler(27, {});
        SelectRow(grid, 1);
        rig.Click("DeleteUserButton");
        QCOMPARE(tips.Seen.mid(1), (QStringList{QStringLiteral("Operation failed"), QStringLiteral("Connection timeouts")}));

        // Removing the shown device: the grid lets go of its table.
        const int index = DeviceManage::IndexOfDevice(rig.Device);
        QVERIFY(DeviceManage::RemoveDevice(index));
        QCOMPARE(grid->DataSource(), static_cast<ZGridListData*>(nullptr));
        rig.Device = nullptr;
        QTest::qWait(50);
        grid->repaint();
    }

    // Add and Edit through the user editor, answered as the operator would; Edit hands the editor a copy of the
    // selected account, which a failed list read before it does not take away.
    void UsersAddedAndEditedThroughTheEditor()
    {
        SectionsRig rig;
        QVERIFY(rig.LogIn());
        auto* grid = rig.Page<ZGridList>("UserListGridList");
        QCOMPARE(GridRows(grid).size(), 1);
        const auto editor = [] { return static_cast<ZForm*>(Shown<AddUserForm>()); };
        QString nameShown;
        const auto answer = [&](const QString& name, const char* permission, const QString& password) {
            When(this, [&] { return editor() != nullptr; }, [=, &nameShown] {
                ZForm* form = editor();
                nameShown = form->findChild<ZLineEdit*>(QStringLiteral("UserNameLineEdit"))->Text();
                if (!name.isEmpty())
                    form->findChild<ZLineEdit*>(QStringLiteral("UserNameLineEdit"))->SetText(name);
                for (const char* field : {"PasswordLineEdit1", "PasswordLineEdit2"})
                    form->findChild<ZLineEdit*>(QLatin1String(field))->SetText(password);
                QTest::mouseClick(form->findChild<QWidget*>(QLatin1String(permission)), Qt::LeftButton);
                QTest::mouseClick(form->findChild<QWidget*>(QStringLiteral("ConfirmButton")), Qt::LeftButton);
            });
        };
        const auto permissionOf = [&](const char* name) {
            return rig.Edit<emu::LoginState>([name](emu::LoginState& l) {
                const emu::UserAccount* account = l.FindUser(name);
                return account != nullptr ? account->permission : 0xFFFFFFFFu;
            });
        };

        TipCatcher tips;
        answer(QStringLiteral("clerk"), "MonitorPermissionCheckBox", QStringLiteral("pw1"));
        rig.Click("AddUserButton");
        QCOMPARE(nameShown, QString());
        QCOMPARE(permissionOf("clerk"), 0x10u);
        QCOMPARE(GridRows(grid).size(), 2);

        FailUserListRead(rig);
        QCOMPARE(tips.Seen, QStringList{QStringLiteral("Connection timeouts")});
        SelectRow(grid, 1);
        answer(QString(), "DownloadPermissionCheckBox", QString());  // the name and password as they are
        rig.Click("EditUserButton");
        QCOMPARE(nameShown, QStringLiteral("clerk"));
        QCOMPARE(permissionOf("clerk"), 0x14u);
        QCOMPARE(GridRows(grid).at(1), QStringLiteral("clerk|Yes|No|Yes|No|No"));  // download and monitor
    }

    void UsersNeedTheManagePermission()
    {
        SectionsRig rig;
        rig.Edit<emu::LoginState>([](emu::LoginState& l) { l.FindUser("admin")->permission = 0x1E; });
        QVERIFY(rig.LogIn());
        TipCatcher tips;
        SelectRow(rig.Page<ZGridList>("UserListGridList"), 0);
        for (const char* button : {"AddUserButton", "EditUserButton", "DeleteUserButton"})
            rig.Click(button);
        QCOMPARE(tips.Seen, Repeated(3, QStringLiteral("Permission denied")));
        QCOMPARE(Shown<AddUserForm>(), static_cast<AddUserForm*>(nullptr));
        for (uint8_t command : {25, 26, 27})
            QCOMPARE(rig.Recorder->CountRequests(command), size_t(0));
    }

    void RecordTimeRoundTrip()
    {
        SectionsRig rig;
        rig.Edit<emu::DeviceRecords>([](emu::DeviceRecords& r) {
            r.recordTime.fill(0xA5);
            r.recordTime[0] = 0;
            r.recordTime[1] = 2;
            for (int q = 0; q < 21; ++q) {
                uint8_t* window = r.recordTime.data() + 4 + 5 * q;
                window[0] = q % 3 == 0;
                window[1] = static_cast<uint8_t>(q);
                window[2] = static_cast<uint8_t>(q + 30);
                window[3] = static_cast<uint8_t>(23 - q);
                window[4] = static_cast<uint8_t>(59 - q);
            }
        });
        QVERIFY(rig.LogIn());
        // Master off: the windows show their times, the block is disabled.
        auto* master = rig.Page<ZCheckBox>("EnableRecordTimeQuantumCheckBox");
        QVERIFY(!master->Checked());
        QCOMPARE(rig.Page<ZComboBox>("RecordTimeModeComboBox")->SelectedIndex(), 2);
        QVERIFY(!rig.Page<QWidget>("RecordTimeModeComboBox")->isEnabled());
        auto* wednesday2 = rig.Page<ZHourMinutePicker>("TimeQuantumPicker3_2");
        QCOMPARE(wednesday2->StartHour(), 10);
        QCOMPARE(wednesday2->EndMinute(), 49);
        QVERIFY(!wednesday2->isEnabled());
        QVERIFY(!rig.Page<QWidget>("TimeQuantumCheckBox0_1")->isEnabled());
        QVERIFY(rig.Page<ZCheckBox>("TimeQuantumCheckBox0_1")->Checked());

        master->SetChecked(true);
        QVERIFY(rig.Page<QWidget>("TimeQuantumPicker0_1")->isEnabled());
        QVERIFY(!wednesday2->isEnabled());
        rig.Page<ZCheckBox>("TimeQuantumCheckBox3_2")->SetChecked(true);
        wednesday2->SetStartHour(22);
        wednesday2->SetStartMinute(0);
        wednesday2->SetEndHour(6);
        wednesday2->SetEndMinute(0);
        TipCatcher tips;
        rig.Click("SaveRecordTimeSettingButton");
        QCOMPARE(tips.Seen, QStringList{QStringLiteral("Operation completely")});
        const std::array<uint8_t, 120> saved = rig.Records().recordTime;
        QCOMPARE(Slice(saved, 0, 4), QByteArray("\x01\x02\xA5\xA5", 4));
        QCOMPARE(Slice(saved, 4 + 5 * 10, 5), QByteArray("\x01\x16\x00\x06\x00", 5));
        QCOMPARE(Slice(saved, 4 + 5 * 11, 5), QByteArray("\x00\x0B\x29\x0C\x30", 5));
        QCOMPARE(Slice(saved, 109, 11), QByteArray(11, '\xA5'));
    }

    void ScheduledRestartRoundTrip()
    {
        SectionsRig rig;
        rig.Edit<emu::DeviceRecords>([](emu::DeviceRecords& r) {
            r.scheduledRestart.fill(0xA5);
            const uint8_t head[10] = {1, 3, 30, 0, 1, 0, 1, 0, 0, 1};
            std::memcpy(r.scheduledRestart.data(), head, sizeof head);
        });
        QVERIFY(rig.LogIn());
        QCOMPARE(rig.Page<ZLineEdit>("ScheduledRestartTextBox1")->Text(), QStringLiteral("3"));
        QCOMPARE(rig.Page<ZLineEdit>("ScheduledRestartTextBox2")->Text(), QStringLiteral("30"));
        QVERIFY(rig.Page<ZCheckBox>("ScheduledRestartCheckBox2")->Checked());
        QVERIFY(!rig.Page<ZCheckBox>("ScheduledRestartCheckBox3")->Checked());

        TipCatcher tips;
        for (ZLineEdit* box : {rig.Page<ZLineEdit>("ScheduledRestartTextBox1"), rig.Page<ZLineEdit>("ScheduledRestartTextBox2")}) {
            box->SetText(QString());
            QTest::keyClicks(box, QStringLiteral("99"));
        }
        rig.Click("SaveScheduledRestartSettingButton");
        QCOMPARE(tips.Seen, QStringList{QStringLiteral("Operation completely")});
        QCOMPARE(Slice(rig.Records().scheduledRestart, 0, 16),
                 QByteArray("\x01\x00\x00\x00\x01\x00\x01\x00\x00\x01", 10) + QByteArray(6, '\xA5'));
        QCOMPARE(rig.Page<ZLineEdit>("ScheduledRestartTextBox1")->Text(), QStringLiteral("99"));

        rig.Page<ZLineEdit>("ScheduledRestartTextBox1")->SetText(QStringLiteral("4"));
        rig.Page<ZLineEdit>("ScheduledRestartTextBox2")->SetText(QStringLiteral("5"));
        rig.Click("SaveScheduledRestartSettingButton");
        QCOMPARE(Slice(rig.Records().scheduledRestart, 0, 3), QByteArray("\x01\x04\x05", 3));
        rig.Page<ZLineEdit>("ScheduledRestartTextBox1")->SetText(QString());
        rig.Page<ZLineEdit>("ScheduledRestartTextBox2")->SetText(QString());
        rig.Click("SaveScheduledRestartSettingButton");
        QCOMPARE(Slice(rig.Records().scheduledRestart, 0, 3), QByteArray("\x01\x00\x00", 3));
    }

    void OfflineSectionsAreEmptyAndDisabled()
    {
        SectionsRig rig("C0000000000000000001");
        QVERIFY(rig.LogIn());
        // A model without playback: key control and SMDR stay empty and disabled while online.
        QVERIFY(!rig.Page<QWidget>("SaveKeyControlSettingButton")->isEnabled());
        QVERIFY(!rig.Page<QWidget>("SaveSMDRSettingButton")->isEnabled());
        QVERIFY(rig.Page<QWidget>("SaveNetSettingButton")->isEnabled());
        QVERIFY(rig.Page<QWidget>("SaveRecordTimeSettingButton")->isEnabled());

        rig.Device->Logout();
        QVERIFY(QTest::qWaitFor([&] { return CalvoxAPI_ConnectStatus(rig.Device->Handle) != 2; }, 10000));
        rig.FillAll();
        for (const char* name : {"SaveNetSettingButton", "SaveRecordTimeSettingButton",
                                 "SaveScheduledRestartSettingButton", "DeleteUserButton", "UpdateUserListButton"})
            QVERIFY2(!rig.Page<QWidget>(name)->isEnabled(), name);
        // The user grid keeps the device's table, whose rows the device hides until it is back.
        auto* users = rig.Page<ZGridList>("UserListGridList");
        QCOMPARE(users->DataSource(), rig.Device->UserListData);
        QVERIFY(!rig.Device->UserListData->RowsVisible);
        QCOMPARE(rig.Page<ZLineEdit>("MacAddressLineEdit")->Text(), QString());
        QCOMPARE(rig.Page<ZComboBox>("NetModeSettingComboBox")->SelectedIndex(), -1);
        QCOMPARE(rig.Page<ZLineEdit>("ScheduledRestartTextBox1")->Text(), QString());
        // Buttons of an offline device do nothing.
        rig.Recorder->ClearLog();
        rig.Form->on_UpdateNetSettingButton_Clicked();
        QCOMPARE(rig.Recorder->CountRequests(20), size_t(0));
    }
};

QTEST_MAIN(SettingSectionsTest)
#include "tst_setting_sections.moc"
