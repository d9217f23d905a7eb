// The settings page's frame and device section as the operator meets them: the real main window, the
// recorder emulator, clicks through QTest.
#include "SettingsPageRig.h"

#include "ZButton.h"
#include "ZCheckBox.h"
#include "ZComboBox.h"
#include "ZHourMinutePicker.h"
#include "ZItemList.h"
#include "ZLineEdit.h"
#include "ZScrollPanel.h"
#include "ZTrackBar.h"

class SettingsPageTest : public QObject
{
    Q_OBJECT

private slots:
    void BookmarksScrollAndTheIndicatorFollows()
    {
        SettingsPageRig rig;
        auto* panel = rig.Page<ZScrollPanel>("SettingScrollPanel");
        auto* indicator = rig.Page<ZTrackBar>("BookmarkTrackBar");
        QTest::mouseClick(rig.Page<ZButton>("BookmarkButton3"), Qt::LeftButton);
        QCOMPARE(panel->VScrollBarValue(), 960);
        QCOMPARE(indicator->Value1(), 23);
        const QList<QPair<int, int>> positions = {{3760, 100}, {3759, 89}, {280, 12}, {279, 0}};
        for (const auto& position : positions) {
            panel->SetVScrollBarValue(position.first);
            QCOMPARE(panel->VScrollBarValue(), position.first);
            QCOMPARE(indicator->Value1(), position.second);
        }
        QTest::mouseClick(rig.Page<ZButton>("BookmarkButton10"), Qt::LeftButton);
        QCOMPARE(indicator->Value1(), 100);
    }

    void RepeatedRowsFollowTheirCheckBoxes()
    {
        SettingsPageRig rig;
        // The widget's own state: the sections around the rows stay disabled without an online device.
        const auto on = [&rig](const char* name) {
            QWidget* w = rig.Page<QWidget>(name);
            return w->isEnabledTo(w->parentWidget());
        };
        auto* allDay = rig.Page<ZCheckBox>("AllDayLongReplyCheckBox3");
        auto* slot2 = rig.Page<ZCheckBox>("ReplyTimeSlotCheckBox3_2");
        slot2->SetChecked(true);
        QVERIFY(on("ReplyTimeSlotPicker3_2"));
        QVERIFY(!on("ReplyTimeSlotPicker3_1"));
        allDay->SetChecked(true);
        QVERIFY(on("AllDayLongReplyComboBox3"));
        for (const char* name : {"ReplyTimeSlotCheckBox3_1", "ReplyTimeSlotCheckBox3_2", "ReplyTimeSlotCheckBox3_3",
                                 "ReplyTimeSlotPicker3_2", "ReplyTimeSlotComboBox3_2"})
            QVERIFY2(!on(name), name);
        QVERIFY(slot2->Checked());
        QVERIFY(on("ReplyTimeSlotCheckBox2_1"));  // Monday's rows are not Tuesday's
        allDay->SetChecked(false);
        QVERIFY(!on("AllDayLongReplyComboBox3"));
        QVERIFY(on("ReplyTimeSlotCheckBox3_1"));
        QVERIFY(on("ReplyTimeSlotPicker3_2"));
        QVERIFY(on("ReplyTimeSlotComboBox3_2"));
        QVERIFY(!on("ReplyTimeSlotPicker3_1"));

        rig.Page<ZCheckBox>("GroupCheckBox7")->SetChecked(true);
        QVERIFY(on("GroupLineEdit7"));
        QVERIFY(on("GroupComboBox7"));
        QVERIFY(!on("GroupLineEdit6"));

        // Record time: the zero-based day of the names, and the block's own switch.
        auto* quantum = rig.Page<ZCheckBox>("TimeQuantumCheckBox1_3");
        quantum->SetChecked(true);
        QVERIFY(!on("TimeQuantumPicker1_3"));
        quantum->SetChecked(false);
        rig.Page<ZCheckBox>("EnableRecordTimeQuantumCheckBox")->SetChecked(true);
        quantum->SetChecked(true);
        QVERIFY(on("TimeQuantumPicker1_3"));
        QVERIFY(!on("TimeQuantumPicker1_2"));
    }

    void NoDeviceAndAnOfflineDeviceShowEmptySections()
    {
        SettingsPageRig rig;
        // Offline (idle): the login data can be edited, the button offers Login, the rest is empty.
        QCOMPARE(rig.Page<ZLineEdit>("DeviceNameLineEdit")->Text(), QStringLiteral("Box"));
        QCOMPARE(rig.Page<ZButton>("LoginButton")->Text(), QStringLiteral("Login"));
        QCOMPARE(rig.Page<ZBase>("LoginButton")->Tag, 0);
        QVERIFY(rig.Page<QWidget>("IPaddressLineEdit")->isEnabled());
        QCOMPARE(rig.Page<ZLabel>("ConnectedStatusLabel")->Text(), QStringLiteral("Disconnection"));
        QCOMPARE(rig.Page<ZLabel>("StorageCapacityLabel")->Text(), QString());
        QVERIFY(!rig.Page<QWidget>("OnlineUpgradeButton")->isEnabled());
        QVERIFY(!rig.Page<QWidget>("UpdateLogButton")->isEnabled());
        QCOMPARE(rig.Page<ZComboBox>("ChannelSelectComboBox")->SelectedIndex(), -1);

        // No device: every text empty, everything disabled, the button reads Logout.
        rig.Select(-1);
        for (const char* name : {"DeviceIDLabel", "DeviceModelLabel", "DeviceChannelsLabel", "ConnectedStatusLabel"})
            QCOMPARE(rig.Page<ZLabel>(name)->Text(), QString());
        QCOMPARE(rig.Page<ZLineEdit>("DeviceNameLineEdit")->Text(), QString());
        for (const char* name : {"IPaddressLineEdit", "NetPortLineEdit", "UserNameLineEdit", "PasswordLineEdit",
                                 "RemoteLoginCheckBox", "DeviceNameLineEdit", "SavePasswordCheckBox",
                                 "AutoLoginCheckBox", "LoginButton", "DeviceInfoSaveButton",
                                 "DeviceInfoRecoverButton", "OnlineUpgradeButton", "ManualUpgradeButton"})
            QVERIFY2(!rig.Page<QWidget>(name)->isEnabled(), name);
        QCOMPARE(rig.Page<ZButton>("LoginButton")->Text(), QStringLiteral("Logout"));
    }

    void LoginFromThePage()
    {
        SettingsPageRig rig;
        QVERIFY(rig.LogIn());
        QCOMPARE(rig.Page<ZLabel>("ConnectedStatusLabel")->Text(), QStringLiteral("Connected"));
        QCOMPARE(rig.Page<ZLabel>("ConnectedStatusLabel")->ForeColor(), QColor(50, 230, 50));
        QCOMPARE(rig.Page<ZLabel>("StorageStatusLabel")->Text(), QStringLiteral("Normal"));
        QCOMPARE(rig.Page<ZLabel>("StorageCapacityLabel")->Text(), QStringLiteral("29.30GB"));
        QCOMPARE(rig.Page<ZLabel>("StorageFreeLabel")->Text(), QStringLiteral("11.72GB"));
        QCOMPARE(rig.Page<ZButton>("LoginButton")->Text(), QStringLiteral("Logout"));
        for (const char* name : {"IPaddressLineEdit", "NetPortLineEdit", "UserNameLineEdit", "PasswordLineEdit",
                                 "RemoteLoginCheckBox"})
            QVERIFY2(!rig.Page<QWidget>(name)->isEnabled(), name);
        QVERIFY(rig.Page<QWidget>("ManualUpgradeButton")->isEnabled());
        QVERIFY(rig.Page<QWidget>("UpdateLogButton")->isEnabled());

        // 16 channels: one item each, the first shown.
        auto* channels = rig.Page<ZComboBox>("ChannelSelectComboBox");
        QCOMPARE(channels->Items().size(), 16);
        QCOMPARE(channels->Items().first(), QStringLiteral("Channel 1"));
        QCOMPARE(channels->Items().last(), QStringLiteral("Channel 16"));
        QCOMPARE(channels->SelectedIndex(), 0);
        QCOMPARE(channels->Tag, 0);

        // Logging out: the items stay, nothing is selected, the sections empty.
        QTest::mouseClick(rig.Page<QWidget>("LoginButton"), Qt::LeftButton);
        QVERIFY(QTest::qWaitFor([&] { return rig.Page<ZBase>("LoginButton")->Tag == 0; }, 10000));
        QCOMPARE(channels->SelectedIndex(), -1);
        QCOMPARE(channels->Items().size(), 16);
        QCOMPARE(rig.Page<ZLabel>("StorageCapacityLabel")->Text(), QString());
        QVERIFY(!rig.Page<QWidget>("UpdateLogButton")->isEnabled());
    }

    void LoginFailuresNameTheirStep_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QString>("message");
        QTest::newRow("wrong password") << "password" << "ERROR username or password";
        QTest::newRow("silence") << "silence" << "Connection timeouts";
        QTest::newRow("third channel") << "channel" << "Failed to get channel settings";
    }
    void LoginFailuresNameTheirStep()
    {
        QFETCH(QString, fault);
        QFETCH(QString, message);
        SettingsPageRig rig;
        if (fault == QLatin1String("password")) {
            rig.Page<ZLineEdit>("PasswordLineEdit")->SetText(QStringLiteral("wrong"));
        } else if (fault == QLatin1String("silence")) {
            rig.Recorder->SetHandler(3, {});
        } else {
            rig.Recorder->SetHandler(16, [](emu::Exchange& x) {
                if (!x.request.payload.empty() && x.request.payload[0] == 2)
                    x.Reply(emu::kStatusBadRequest);
                else
                    emu::DefaultCommands().Find(16)->operator()(x);
            });
        }
        TipCatcher tips;
        QTest::mouseClick(rig.Page<QWidget>("LoginButton"), Qt::LeftButton);
        QVERIFY(QTest::qWaitFor([&] { return !tips.Seen.isEmpty(); }, 20000));
        QCOMPARE(tips.Seen, QStringList{message});
        QTest::qWait(50);
        QCOMPARE(rig.Recorder->CountRequests(4), size_t(0));  // no heartbeat
        QCOMPARE(rig.Page<ZButton>("LoginButton")->Text(), QStringLiteral("Login"));
    }

    void StorageSizes_data()
    {
        QTest::addColumn<int>("state");
        QTest::addColumn<int>("capacity");
        QTest::addColumn<int>("free");
        QTest::addColumn<QString>("stateText");
        QTest::addColumn<QString>("capacityText");
        QTest::addColumn<QString>("freeText");
        QTest::newRow("0 and 1024") << 1 << 0 << 1024 << "Normal" << "0MB" << "1024MB";
        QTest::newRow("1025 and 1536") << 1 << 1025 << 1536 << "Normal" << "1.00GB" << "1.50GB";
        QTest::newRow("full") << 2 << 2048 << 0 << "Full" << "2.00GB" << "0MB";
        QTest::newRow("no storage") << 0 << 2048 << 0 << "Not found" << "Not found" << "Not found";
    }
    void StorageSizes()
    {
        QFETCH(int, state);
        QFETCH(int, capacity);
        QFETCH(int, free);
        QFETCH(QString, stateText);
        QFETCH(QString, capacityText);
        QFETCH(QString, freeText);
        SettingsPageRig rig;
        rig.Edit<emu::DeviceRecords>([&](emu::DeviceRecords& r) {
            r.storageState = static_cast<uint32_t>(state);
            r.storageSize1 = static_cast<uint32_t>(capacity);
            r.storageSize2 = static_cast<uint32_t>(free);
        });
        QVERIFY(rig.LogIn());
        QCOMPARE(rig.Page<ZLabel>("StorageStatusLabel")->Text(), stateText);
        QCOMPARE(rig.Page<ZLabel>("StorageStatusLabel")->ForeColor(),
                 state == 1 ? QColor(100, 100, 100) : QColor(255, 0, 0));
        QCOMPARE(rig.Page<ZLabel>("StorageCapacityLabel")->Text(), capacityText);
        QCOMPARE(rig.Page<ZLabel>("StorageFreeLabel")->Text(), freeText);
    }

    void PortsForLoginAndSave_data()
    {
        QTest::addColumn<QString>("port");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<QString>("stored");
        QTest::newRow("65535") << "65535" << true << "65535";
        QTest::newRow("65536") << "65536" << false << "";
        QTest::newRow("-1") << "-1" << false << "";
        QTest::newRow("not a number is 0") << "abc" << true << "0";
    }
    void PortsForLoginAndSave()
    {
        QFETCH(QString, port);
        QFETCH(bool, accepted);
        QFETCH(QString, stored);
        SettingsPageRig rig;
        const QString before = rig.Device->Port;
        rig.Page<ZLineEdit>("NetPortLineEdit")->SetText(port);
        TipCatcher tips;
        QTest::mouseClick(rig.Page<QWidget>("DeviceInfoSaveButton"), Qt::LeftButton);
        if (accepted) {
            QVERIFY(QTest::qWaitFor([&] { return !tips.Seen.isEmpty(); }, 5000));
            QCOMPARE(tips.Seen, QStringList{QStringLiteral("Operation completely")});
            QCOMPARE(rig.Device->Port, stored);
        } else {
            QCOMPARE(ShownToolTip(), QStringLiteral("Port invalid"));
            QCOMPARE(rig.Device->Port, before);
            QToolTip::hideText();
            // The login refuses it too, before anything is sent.
            rig.Recorder->ClearLog();
            QTest::mouseClick(rig.Page<QWidget>("LoginButton"), Qt::LeftButton);
            QCOMPARE(ShownToolTip(), QStringLiteral("Port invalid"));
            QCOMPARE(rig.Recorder->Log().size(), size_t(0));
            QToolTip::hideText();
        }
    }

    void SaveChecksTheName()
    {
        SettingsPageRig rig;
        KesDevice* other = KesDevice::Create(QStringLiteral("Other"), QStringLiteral("2A000000000000000009"));
        QVERIFY(DeviceManage::AddDevice(other));
        auto* name = rig.Page<ZLineEdit>("DeviceNameLineEdit");
        name->SetText(QStringLiteral("Other"));
        QTest::mouseClick(rig.Page<QWidget>("DeviceInfoSaveButton"), Qt::LeftButton);
        QCOMPARE(ShownToolTip(), QStringLiteral("Name repeated"));
        QCOMPARE(rig.Device->Name, QStringLiteral("Box"));
        QToolTip::hideText();

        TipCatcher tips;
        name->SetText(QStringLiteral("  Box "));
        QTest::mouseClick(rig.Page<QWidget>("DeviceInfoSaveButton"), Qt::LeftButton);
        QVERIFY(QTest::qWaitFor([&] { return !tips.Seen.isEmpty(); }, 5000));
        QCOMPARE(rig.Device->Name, QStringLiteral("  Box "));
    }
};

QTEST_MAIN(SettingsPageTest)
#include "tst_settings_page.moc"
