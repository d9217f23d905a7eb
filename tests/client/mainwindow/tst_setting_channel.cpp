// The settings page's clock, base settings, channel status and channel settings as the operator meets them: the
// real main window against the recorder emulator, the result read back from the emulator's records.
#include "SectionsRig.h"

#include "ChannelSelectForm.h"
#include "SoftwareSetting.h"
#include "WeekSelectForm.h"
#include "ZCheckBox.h"
#include "ZComboBox.h"
#include "ZHourMinutePicker.h"
#include "ZLabel.h"
#include "ZLineEdit.h"
#include "ZTabControl.h"
#include "ZTrackBar.h"

#include <QScopeGuard>
#include <QToolTip>

#include <cstring>

namespace {

using ChannelRecord = std::array<uint8_t, 980>;

QByteArray Slice(const uint8_t* bytes, int from, int count)
{
    return QByteArray(reinterpret_cast<const char*>(bytes) + from, count);
}

QByteArray Name28(const QByteArray& name)
{
    return name + QByteArray(28 - name.size(), '\0');
}

void PutText(uint8_t* field, const QByteArray& text)
{
    std::memset(field, 0, 28);
    std::memcpy(field, text.constData(), static_cast<size_t>(text.size()));
}

void PutNames(std::array<uint8_t, 561>& list, const QList<QByteArray>& names)
{
    list.fill(0);
    list[0] = static_cast<uint8_t>(names.size());
    for (int i = 0; i < names.size(); ++i)
        std::memcpy(list.data() + 1 + 28 * i, names[i].constData(), static_cast<size_t>(names[i].size()));
}

// Ticks exactly the given boxes of the open picker (boxes named prefix + two digits from 0), then confirms.
void AnswerPicker(QObject* owner, std::function<ZForm*()> shown, const QString& prefix, int count, QList<int> ticked)
{
    When(owner, [shown] { return shown() != nullptr; }, [=] {
        ZForm* form = shown();
        for (int i = 0; i < count; ++i) {
            auto* box = form->findChild<ZCheckBox*>(prefix + QStringLiteral("%1").arg(i, 2, 10, QLatin1Char('0')));
            if (box != nullptr && box->isEnabled() && box->Checked() != ticked.contains(i))
                QTest::mouseClick(box, Qt::LeftButton);
        }
        QTest::mouseClick(form->findChild<QWidget*>(QStringLiteral("ConfirmButton")), Qt::LeftButton);
    });
}

// A channel record of the 4-channel recorder's channel 2 (index 1) with every field set, 0xA5 in 964..979.
ChannelRecord PresetChannel()
{
    ChannelRecord r{};
    r.fill(0);
    uint8_t* b = r.data();
    // Monday slot 2: 08:30 to 12:00, "busy.wav"; Wednesday all day "hello.wav".
    uint8_t* monday2 = b + 128 * 1 + 33;
    monday2[0] = 1;
    monday2[1] = 8;
    monday2[2] = 30;
    monday2[3] = 12;
    PutText(monday2 + 5, "busy.wav");
    b[128 * 3 + 99] = 1;
    PutText(b + 128 * 3 + 100, "hello.wav");
    b[896] = 1;  // power-off alarm
    b[897] = 1;  // announcement
    PutText(b + 936, "bye.wav");
    b[899] = 3;  // audio
    b[900] = 1;  // auto-answer
    b[902] = 3;
    b[903] = 60;
    b[904] = 10;
    b[905] = 20;
    b[906] = 30;
    b[907] = 40;
    PutText(b + 908, QStringLiteral("Büro Süd").toUtf8());
    std::memset(b + 964, 0xA5, 16);
    return r;
}

}  // namespace

class SettingChannelTest : public QObject
{
    Q_OBJECT

private slots:
    void ClockVerdict_data()
    {
        QTest::addColumn<QList<int>>("recorder");
        QTest::addColumn<QList<int>>("pc");
        QTest::addColumn<QString>("verdict");
        QTest::newRow("two minutes") << QList<int>{26, 3, 5, 10, 2} << QList<int>{26, 3, 5, 10, 0} << "Normal";
        QTest::newRow("three minutes") << QList<int>{26, 3, 5, 10, 3} << QList<int>{26, 3, 5, 10, 0} << "Abnormal";
        QTest::newRow("over midnight") << QList<int>{26, 3, 5, 23, 59} << QList<int>{26, 3, 6, 0, 0} << "Abnormal";
    }
    void ClockVerdict()
    {
        QFETCH(QList<int>, recorder);
        QFETCH(QList<int>, pc);
        QFETCH(QString, verdict);
        SectionsRig rig;
        QVERIFY(rig.LogIn());
        Calvox_DateTime* clock = CalvoxAPI_DateTime(rig.Device->Handle);
        clock->Year = static_cast<uint8_t>(recorder[0]);
        clock->Month = static_cast<uint8_t>(recorder[1]);
        clock->Day = static_cast<uint8_t>(recorder[2]);
        clock->Hour = static_cast<uint8_t>(recorder[3]);
        clock->Minute = static_cast<uint8_t>(recorder[4]);
        rig.Device->Time.Update([&](std::array<unsigned char, 7>& time) {
            for (int i = 0; i < 5; ++i)
                time[static_cast<size_t>(i)] = static_cast<unsigned char>(pc[i]);
        });
        rig.Form->FillDeviceTime(rig.Device);
        QCOMPARE(rig.Page<ZLabel>("DeviceTimeStatusLabel")->Text(), verdict);
        const QColor colour = verdict == QLatin1String("Normal") ? QColor(100, 100, 100) : QColor(255, 0, 0);
        QCOMPARE(rig.Page<ZLabel>("DeviceTimeLabel")->ForeColor(), colour);
        QCOMPARE(rig.Page<ZLabel>("DeviceTimeStatusLabel")->ForeColor(), colour);
        QCOMPARE(rig.Page<ZLabel>("DeviceTimeLabel")->Text(),
                 QStringLiteral("20%1-%2-%3 %4:%5")
                     .arg(recorder[0])
                     .arg(recorder[1], 2, 10, QLatin1Char('0'))
                     .arg(recorder[2], 2, 10, QLatin1Char('0'))
                     .arg(recorder[3], 2, 10, QLatin1Char('0'))
                     .arg(recorder[4], 2, 10, QLatin1Char('0')));
    }

    void ClockCheckAndSync()
    {
        SectionsRig rig;
        QVERIFY(rig.LogIn());
        rig.Edit<emu::DeviceRecords>([](emu::DeviceRecords& r) { r.dateTime = {26, 3, 5, 9, 7, 0, 4}; });
        rig.Click("CheckTimeButton");
        QCOMPARE(rig.Page<ZLabel>("DeviceTimeLabel")->Text(), QStringLiteral("2026-03-05 09:07"));
        QCOMPARE(rig.Page<ZLabel>("DeviceTimeStatusLabel")->Text(), QStringLiteral("Abnormal"));

        rig.Click("SyncTimeButton");
        const std::array<unsigned char, 7> pc = rig.Device->Time.Get();
        const std::array<uint8_t, 7> clock = rig.Records().dateTime;
        QCOMPARE(Slice(clock.data(), 0, 5), Slice(pc.data(), 0, 5));
        QCOMPARE(rig.Page<ZLabel>("DeviceTimeStatusLabel")->Text(), QStringLiteral("Normal"));
        QCOMPARE(rig.Page<ZLabel>("DeviceTimeLabel")->Text(), rig.Page<ZLabel>("LocalTimeLabel")->Text());
    }

    void BaseSettingsRoundTrip()
    {
        SectionsRig rig;
        rig.Edit<emu::DeviceRecords>([](emu::DeviceRecords& r) {
            r.base.fill(0xA5);
            const uint8_t head[12] = {5, 60, 8, 4, '#', 2, 1, 15, 1, 6, 200, 2};
            std::memcpy(r.base.data(), head, sizeof head);
            std::memcpy(r.base.data() + 12, "0123456789", 10);
            std::memcpy(r.base.data() + 22, "*9", 2);
        });
        QVERIFY(rig.LogIn());
        QTemporaryDir backup;
        g_SoftwareSetting.BackupPath = backup.path() + QLatin1Char('/');
        const auto restore = qScopeGuard([] { g_SoftwareSetting.BackupPath.clear(); });
        QVERIFY(DeviceManage::AddLocalDevice(rig.Device));
        QCOMPARE(rig.Page<ZLineEdit>("RecordTimeMinLineEdit")->Text(), QStringLiteral("5"));
        QCOMPARE(rig.Page<ZLineEdit>("RecordTimeMaxLineEdit")->Text(), QStringLiteral("60"));
        QCOMPARE(rig.Page<ZLineEdit>("CircuitOutNumLineEdit")->Text(), QStringLiteral("#"));
        QCOMPARE(rig.Page<ZLineEdit>("KeyControlStartLineEdit")->Text(), QStringLiteral("0123456789"));
        QCOMPARE(rig.Page<ZLineEdit>("KeyControlEndLineEdit")->Text(), QStringLiteral("*9"));
        QCOMPARE(rig.Page<ZLineEdit>("DialWaitOffHookTimeLineEdit")->Text(), QStringLiteral("6"));
        QCOMPARE(rig.Page<ZComboBox>("VoiceSensitivityComboBox")->SelectedIndex(), 2);
        QCOMPARE(rig.Page<ZTrackBar>("ReserveSpaceTrackBar")->Value1(), 15);
        QVERIFY(rig.Page<ZCheckBox>("LoopUseStorageCheckBox")->Checked());
        QVERIFY(rig.Page<ZCheckBox>("SaveMissedCallCheckBox")->Checked());
        QVERIFY(!rig.Page<QWidget>("ReserveSpaceLabel")->isHidden());

        TipCatcher tips;
        rig.Page<ZLineEdit>("RecordTimeMinLineEdit")->SetText(QStringLiteral("7"));
        rig.Page<ZLineEdit>("RecordTimeMaxLineEdit")->SetText(QStringLiteral("300"));
        rig.Page<ZLineEdit>("KeyControlStartLineEdit")->SetText(QStringLiteral("12#"));
        rig.Page<ZLineEdit>("CircuitOutNumLineEdit")->SetText(QStringLiteral("9"));
        rig.Click("SaveBaseSettingButton");
        QCOMPARE(tips.Seen, QStringList{QStringLiteral("Operation completely")});
        std::array<uint8_t, 64> saved = rig.Records().base;
        QCOMPARE(saved[0], uint8_t(7));
        QCOMPARE(saved[1], uint8_t(255));
        QCOMPARE(saved[4], uint8_t('9'));
        QCOMPARE(saved[10], uint8_t(3));
        QCOMPARE(Slice(saved.data(), 12, 10), QByteArray("12#", 3) + QByteArray(7, '\0'));
        QCOMPARE(Slice(saved.data(), 32, 32), QByteArray(32, '\xA5'));
        QCOMPARE(DeviceManage::GetLocalDevice(QStringLiteral("Box"))->CircuitOutNum, int8_t('9'));

        // The same digit again: the local device list is left alone.
        DeviceManage::GetLocalDevice(QStringLiteral("Box"))->CircuitOutNum = '1';
        rig.Page<ZLineEdit>("RingEndTimeLineEdit")->SetText(QStringLiteral("30"));
        rig.Click("SaveBaseSettingButton");
        QCOMPARE(DeviceManage::GetLocalDevice(QStringLiteral("Box"))->CircuitOutNum, int8_t('1'));
        QCOMPARE(rig.Records().base[2], uint8_t(25));
        QCOMPARE(rig.Page<ZLineEdit>("RingEndTimeLineEdit")->Text(), QStringLiteral("25"));

        rig.Recorder->ClearLog();
        rig.Page<ZLineEdit>("CircuitOutNumLineEdit")->SetText(QStringLiteral("A"));
        rig.Click("SaveBaseSettingButton");
        QCOMPARE(tips.Seen.last(), QStringLiteral("Connection timeouts"));
        QCOMPARE(rig.Recorder->CountRequests(15), size_t(0));
        QCOMPARE(rig.Page<ZLineEdit>("CircuitOutNumLineEdit")->Text(), QStringLiteral("A"));
    }

    void ChannelRoundTrip()
    {
        SectionsRig rig;
        rig.Edit<emu::DeviceRecords>([](emu::DeviceRecords& r) {
            PutNames(r.playBackFiles, {"hello.wav", "busy.wav", "bye.wav"});
            const ChannelRecord preset = PresetChannel();
            std::memcpy(r.channel[1].data(), preset.data(), preset.size());
        });
        QVERIFY(rig.LogIn());
        rig.ListFiles();
        rig.Page<ZComboBox>("ChannelSelectComboBox")->SetSelectedIndex(1);

        QCOMPARE(rig.Page<ZLineEdit>("ChannelNameLineEdit")->Text(), QStringLiteral("Büro Süd"));
        QCOMPARE(rig.Page<ZComboBox>("RecordConditionComboBox")->SelectedIndex(), 3);
        QCOMPARE(rig.Page<ZLineEdit>("LostVoltageLineEdit")->Text(), QStringLiteral("10"));
        QCOMPARE(rig.Page<ZLineEdit>("RingVoltageLineEdit")->Text(), QStringLiteral("40"));
        QVERIFY(rig.Page<ZCheckBox>("LostWarningCheckBox")->Checked());
        QVERIFY(rig.Page<ZCheckBox>("AnnouncementCheckBox")->Checked());
        QCOMPARE(rig.Page<ZComboBox>("AnnouncementComboBox")->SelectedIndex(), 2);
        QVERIFY(rig.Page<ZCheckBox>("AutoReplyCheckBox")->Checked());
        QCOMPARE(rig.Page<ZLineEdit>("AutoReplyRingCountLineEdit")->Text(), QStringLiteral("3"));
        QCOMPARE(rig.Page<ZLineEdit>("LeaveWordTimeLineEdit")->Text(), QStringLiteral("60"));
        QVERIFY(rig.Page<ZCheckBox>("AllDayLongReplyCheckBox4")->Checked());
        QCOMPARE(rig.Page<ZComboBox>("AllDayLongReplyComboBox4")->SelectedIndex(), 0);
        QVERIFY(rig.Page<ZCheckBox>("ReplyTimeSlotCheckBox2_2")->Checked());
        QCOMPARE(rig.Page<ZHourMinutePicker>("ReplyTimeSlotPicker2_2")->StartMinute(), 30);
        QCOMPARE(rig.Page<ZComboBox>("ReplyTimeSlotComboBox2_2")->SelectedIndex(), 1);

        TipCatcher tips;
        rig.Page<ZLineEdit>("ChannelNameLineEdit")->SetText(QStringLiteral("Lager"));
        rig.Page<ZLineEdit>("RingVoltageLineEdit")->SetText(QStringLiteral("25"));
        rig.Page<ZLineEdit>("LeaveWordTimeLineEdit")->SetText(QStringLiteral("300"));
        rig.Page<ZComboBox>("RecordConditionComboBox")->SetSelectedIndex(4);
        rig.Click("SaveChannelSettingButton");
        QCOMPARE(tips.Seen, QStringList{QStringLiteral("Operation completely")});
        ChannelRecord expected = PresetChannel();
        PutText(expected.data() + 908, "Lager");
        expected[907] = 25;
        expected[903] = 200;
        expected[899] = 4;
        const ChannelRecord saved = rig.Records().channel[1];
        QCOMPARE(Slice(saved.data(), 0, 980), Slice(expected.data(), 0, 980));

        // Nine three-byte characters and one more: 28 bytes.
        rig.ShowSection(960);
        rig.Recorder->ClearLog();
        rig.Page<ZLineEdit>("ChannelNameLineEdit")->SetText(QString(9, QChar(0x4E2D)) + QLatin1Char('x'));
        QToolTip::hideText();
        rig.Click("SaveChannelSettingButton");
        QCOMPARE(TipFieldAmong({rig.Page<QWidget>("ChannelNameLineEdit")}), QStringLiteral("ChannelNameLineEdit"));
        QCOMPARE(rig.Recorder->CountRequests(17), size_t(0));
        // 27 bytes are kept.
        rig.Page<ZLineEdit>("ChannelNameLineEdit")->SetText(QString(9, QChar(0x4E2D)));
        rig.Click("SaveChannelSettingButton");
        QCOMPARE(tips.Seen.last(), QStringLiteral("Operation completely"));
        QCOMPARE(Slice(rig.Records().channel[1].data(), 908, 28), Name28(QString(9, QChar(0x4E2D)).toUtf8()));
    }

    void AFileGoneFromTheListStopsSave()
    {
        SectionsRig rig;
        rig.Edit<emu::DeviceRecords>([](emu::DeviceRecords& r) {
            PutNames(r.playBackFiles, {"busy.wav", "bye.wav"});
            const ChannelRecord preset = PresetChannel();
            std::memcpy(r.channel[0].data(), preset.data(), preset.size());
        });
        QVERIFY(rig.LogIn());
        rig.ListFiles();
        // Wednesday's all-day file is no longer listed: no selection, and Save points at it.
        QCOMPARE(rig.Page<ZComboBox>("AllDayLongReplyComboBox4")->SelectedIndex(), -1);
        QVERIFY(rig.Page<QWidget>("AllDayLongReplyComboBox4")->isEnabled());
        // The week tabs stand right of the section, beyond the test screen's right edge.
        rig.PutOnScreen("AllDayLongReplyComboBox4");
        QToolTip::hideText();
        TipCatcher tips;
        rig.Click("SaveChannelSettingButton");
        QCOMPARE(rig.Page<ZTabControl>("WeekTabControl")->SelectedIndex(), 3);
        QCOMPARE(TipFieldAmong({rig.Page<QWidget>("AllDayLongReplyComboBox4")}), QStringLiteral("AllDayLongReplyComboBox4"));
        QCOMPARE(rig.Recorder->CountRequests(17), size_t(0));
        QVERIFY(tips.Seen.isEmpty());
    }

    void ApplyToOtherChannels()
    {
        SectionsRig rig;
        rig.Edit<emu::DeviceRecords>([](emu::DeviceRecords& r) {
            PutNames(r.playBackFiles, {"hello.wav", "busy.wav", "bye.wav"});
            for (int c = 0; c < 4; ++c) {
                ChannelRecord preset = PresetChannel();
                PutText(preset.data() + 908, QByteArray("L") + QByteArray::number(c + 1));
                std::memset(preset.data() + 964, 0x10 + c, 16);
                preset[904] = static_cast<uint8_t>(c);
                std::memcpy(r.channel[static_cast<size_t>(c)].data(), preset.data(), preset.size());
            }
        });
        QVERIFY(rig.LogIn());
        rig.ListFiles();
        rig.Page<ZComboBox>("ChannelSelectComboBox")->SetSelectedIndex(1);
        rig.Page<ZLineEdit>("LostVoltageLineEdit")->SetText(QStringLiteral("77"));
        rig.Page<ZLineEdit>("ChannelNameLineEdit")->SetText(QStringLiteral("Shown"));

        TipCatcher tips;
        const auto picker = [] { return static_cast<ZForm*>(Shown<ChannelSelectForm>()); };
        AnswerPicker(this, picker, QStringLiteral("ChannelCheck"), 64, {0, 2, 3});
        rig.Click("ChannelSettingCopyToButton");
        QCOMPARE(tips.Seen, QStringList{QStringLiteral("Operation completely")});
        emu::DeviceRecords records = rig.Records();
        for (int c : {0, 2, 3}) {
            const uint8_t* sent = records.channel[static_cast<size_t>(c)].data();
            QCOMPARE(sent[904], uint8_t(77));
            QCOMPARE(Slice(sent, 908, 28), Name28(QByteArray("L") + QByteArray::number(c + 1)));
            QCOMPARE(Slice(sent, 964, 16), QByteArray(16, static_cast<char>(0x10 + c)));
        }
        QCOMPARE(records.channel[1][904], uint8_t(1));

        // Channel 3 refused: channel 1 changed, channel 4 untouched.
        rig.Recorder->SetHandler(17, [](emu::Exchange& x) {
            const std::vector<uint8_t>& p = x.request.payload;
            if (p.size() != 4 + 8 + 980 || p[0] == 2) {
                x.Reply(emu::kStatusBadRequest);
                return;
            }
            std::memcpy(x.recorder.State<emu::DeviceRecords>().channel[p[0]].data(), p.data() + 8, 980);
            x.Reply(0);
        });
        rig.Page<ZLineEdit>("LostVoltageLineEdit")->SetText(QStringLiteral("88"));
        AnswerPicker(this, picker, QStringLiteral("ChannelCheck"), 64, {0, 2, 3});
        rig.Click("ChannelSettingCopyToButton");
        QCOMPARE(tips.Seen.last(), QStringLiteral("Connection timeouts"));
        records = rig.Records();
        QCOMPARE(records.channel[0][904], uint8_t(88));
        QCOMPARE(records.channel[2][904], uint8_t(77));
        QCOMPARE(records.channel[3][904], uint8_t(77));
    }

    void ApplyToNeedsThePermission()
    {
        SectionsRig rig;
        rig.Edit<emu::LoginState>([](emu::LoginState& l) { l.FindUser("admin")->permission = 0x1D; });
        QVERIFY(rig.LogIn());
        TipCatcher tips;
        rig.Click("ChannelSettingCopyToButton");
        rig.Click("SaveChannelSettingButton");
        rig.Click("SaveBaseSettingButton");
        QCOMPARE(tips.Seen, Repeated(3, QStringLiteral("Permission denied")));
        QCOMPARE(Shown<ChannelSelectForm>(), static_cast<ChannelSelectForm*>(nullptr));
        QCOMPARE(rig.Recorder->CountRequests(17), size_t(0));
        QCOMPARE(rig.Recorder->CountRequests(15), size_t(0));
    }

    void DayCopyAndDetection()
    {
        SectionsRig rig;
        rig.Edit<emu::DeviceRecords>([](emu::DeviceRecords& r) {
            PutNames(r.playBackFiles, {"hello.wav", "busy.wav", "bye.wav"});
            const ChannelRecord preset = PresetChannel();
            std::memcpy(r.channel[0].data(), preset.data(), preset.size());
            r.voltage[0] = 48;
        });
        QVERIFY(rig.LogIn());
        rig.ListFiles();
        // Monday (slot 2 from 08:30 to 12:00 with "busy.wav") onto Tuesday and Friday.
        const auto picker = [] { return static_cast<ZForm*>(Shown<WeekSelectForm>()); };
        AnswerPicker(this, picker, QStringLiteral("WeekCheck"), 7, {1, 2, 5});
        rig.Click("AutoReplyCopyToButton2");
        for (int day : {3, 6}) {
            const QByteArray slot = QStringLiteral("_2").toLatin1();
            QVERIFY(rig.Page<ZCheckBox>("ReplyTimeSlotCheckBox" + QByteArray::number(day) + slot)->Checked());
            QCOMPARE(rig.Page<ZHourMinutePicker>("ReplyTimeSlotPicker" + QByteArray::number(day) + slot)->EndHour(), 12);
            QCOMPARE(rig.Page<ZComboBox>("ReplyTimeSlotComboBox" + QByteArray::number(day) + slot)->SelectedIndex(), 1);
        }
        for (int day : {1, 4, 5, 7})
            QVERIFY(!rig.Page<ZCheckBox>("ReplyTimeSlotCheckBox" + QByteArray::number(day) + "_2")->Checked());
        QVERIFY(rig.Page<ZCheckBox>("AllDayLongReplyCheckBox4")->Checked());

        rig.Click("CheckLostVoltageButton");
        QCOMPARE(rig.Page<ZLineEdit>("LostVoltageLineEdit")->Text(), QStringLiteral("48"));
        QCOMPARE(rig.Page<ZLineEdit>("LostVoltageLineEdit")->ForeColor(), QColor(255, 0, 0));
        TipCatcher tips;
        rig.Click("SaveChannelSettingButton");
        QCOMPARE(tips.Seen, QStringList{QStringLiteral("Operation completely")});
        QCOMPARE(rig.Page<ZLineEdit>("LostVoltageLineEdit")->ForeColor(), QColor(100, 100, 100));
        QCOMPARE(rig.Records().channel[0][904], uint8_t(48));
        QCOMPARE(rig.Records().channel[0][128 * 5 + 33 + 3], uint8_t(12));
    }

    void ModelWithoutPlayback()
    {
        SectionsRig rig("C0000000000000000001");
        rig.Edit<emu::DeviceRecords>([](emu::DeviceRecords& r) {
            ChannelRecord preset = PresetChannel();
            std::memcpy(r.channel[0].data(), preset.data(), preset.size());
        });
        QVERIFY(rig.LogIn());
        for (const char* name : {"AnnouncementCheckBox", "AutoReplyCheckBox"}) {
            QVERIFY2(!rig.Page<ZCheckBox>(name)->Checked(), name);
            QVERIFY2(!rig.Page<QWidget>(name)->isEnabled(), name);
        }
        QCOMPARE(rig.Page<ZLineEdit>("AutoReplyRingCountLineEdit")->Text(), QString());
        QCOMPARE(rig.Page<ZLineEdit>("LeaveWordTimeLineEdit")->Text(), QString());
        QCOMPARE(rig.Page<ZLineEdit>("DialWaitOffHookTimeLineEdit")->Text(), QString());
        QVERIFY(!rig.Page<QWidget>("UploadAudioFileButton")->isEnabled());
        // What the page does not show goes back as the recorder gave it.
        TipCatcher tips;
        rig.Click("SaveChannelSettingButton");
        QCOMPARE(tips.Seen, QStringList{QStringLiteral("Operation completely")});
        const ChannelRecord saved = rig.Records().channel[0];
        QCOMPARE(saved[900], uint8_t(1));
        QCOMPARE(saved[903], uint8_t(60));
    }
};

QTEST_MAIN(SettingChannelTest)
#include "tst_setting_channel.moc"
