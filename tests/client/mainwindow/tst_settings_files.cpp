// The settings page's file operations as the operator meets them: firmware upgrades (local image and update
// server), announcement files, the device log. The real main window against the recorder emulator; the file
// dialogs are answered as the operator would; results are read back from the emulator's storage and log.
#include "SettingsPageRig.h"

#include "LocalHttpServer.h"
#include "SingleProgressForm.h"
#include "workers/DownloadFirmwareThread.h"

#include "ZButton.h"
#include "ZComboBox.h"
#include "ZItemList.h"
#include "ZProgressBar.h"

#include <QFileDialog>

namespace {

const int kModelIndex = 3;                 // the rig's recorder, "6B...": KES2216H
const quint32 kDeviceFirmware = 0x02010305;  // what the emulator reports at login

QByteArray FirmwareImage(quint32 model, quint32 version)
{
    QByteArray image(512 + 300, '\0');
    for (int i = 0; i < 4; ++i) {
        image[i] = static_cast<char>(model >> (8 * i));
        image[4 + i] = static_cast<char>(version >> (8 * i));
    }
    for (int i = 512; i < image.size(); ++i)
        image[i] = static_cast<char>(i * 13);
    return image;
}

QString WriteFile(const QString& folder, const QString& name, const QByteArray& bytes)
{
    QDir().mkpath(folder);
    QFile file(folder + QLatin1Char('/') + name);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(file.fileName()));
    return file.fileName();
}

QByteArray ReadFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

// The progress dialog's parts while it shows.
struct Progress {
    static SingleProgressForm* Form() { return Shown<SingleProgressForm>(); }
    static QString Text() { return Form()->findChild<ZLabel*>(QStringLiteral("ContentLabel"))->Text(); }
    static QString Button() { return Form()->findChild<ZButton*>(QStringLiteral("CancelButton"))->Text(); }
    static int Bar() { return Form()->findChild<ZProgressBar*>(QStringLiteral("ProgressBar"))->Value(); }
    static void Press() { QTest::mouseClick(Form()->findChild<ZButton*>(QStringLiteral("CancelButton")), Qt::LeftButton); }
};

}  // namespace

class SettingsFilesTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_Local;

private slots:
    void ManualUpgradeRefusesOtherModelsAndOlderImages_data()
    {
        QTest::addColumn<int>("model");
        QTest::addColumn<int>("version");
        QTest::addColumn<QString>("message");
        QTest::newRow("other model") << kModelIndex + 1 << 0x03000000 << "Firmware file is invalid";
        QTest::newRow("older") << kModelIndex << 0x02010304 << "Firmware version is too old";
        QTest::newRow("the same") << kModelIndex << int(kDeviceFirmware) << "Firmware version is too old";
    }
    void ManualUpgradeRefusesOtherModelsAndOlderImages()
    {
        QFETCH(int, model);
        QFETCH(int, version);
        QFETCH(QString, message);
        SettingsPageRig rig;
        QVERIFY(rig.LogIn());
        const QString image = WriteFile(m_Local.path(), QStringLiteral("image"),
                                        FirmwareImage(static_cast<quint32>(model), static_cast<quint32>(version)));
        TipCatcher tips;
        AnswerFileDialog(this, image);
        QTest::mouseClick(rig.Page<QWidget>("ManualUpgradeButton"), Qt::LeftButton);
        QCOMPARE(tips.Seen, QStringList{message});
        QCOMPARE(rig.Recorder->CountRequests(28), size_t(0));
    }

    void ManualUpgradeUploadsAndRestarts()
    {
        SettingsPageRig rig;
        QVERIFY(rig.LogIn());
        const QByteArray bytes = FirmwareImage(kModelIndex, 0x02010400);
        const QString image = WriteFile(m_Local.path(), QStringLiteral("good.bin"), bytes);
        TipCatcher tips;
        int bar = -1;
        AnswerFileDialog(this, image);
        When(this, [] { return Progress::Form() != nullptr && Progress::Button() == QLatin1String("Restart device"); },
             [&] {
                 bar = Progress::Bar();
                 Progress::Press();
             });
        QTest::mouseClick(rig.Page<QWidget>("ManualUpgradeButton"), Qt::LeftButton);
        QCOMPARE(bar, 100);
        QCOMPARE(ReadFile(rig.StoragePath(QStringLiteral("/Upgrade/Image.bin"))), bytes);
        QCOMPARE(rig.Edit<emu::DeviceRecords>([](emu::DeviceRecords& r) { return r.reboots; }), 1);
        QCOMPARE(tips.Seen, QStringList{QStringLiteral("Upgrades completely")});
    }

    void OnlineUpgrade_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("good image") << "good";
        QTest::newRow("another model's image") << "other";
        QTest::newRow("cancelled while downloading") << "cancel";
    }
    void OnlineUpgrade()
    {
        QFETCH(QString, kind);
        LocalHttpServer server;
        QVERIFY(server.Port() != 0);
        qputenv("CALVOX_UPDATE_SERVER", QStringLiteral("127.0.0.1:%1").arg(server.Port()).toUtf8());
        server.Serve("/KES2216H/Version.json", R"({"Version":"2.1.4.0","Updates-English":["Faster"]})");
        const QByteArray bytes = FirmwareImage(kind == QLatin1String("other") ? kModelIndex + 1 : kModelIndex,
                                               0x02010400);
        server.Serve("/KES2216H/KES2216H-2.1.4.0.bin", bytes.toStdString());
        SettingsPageRig rig;
        QVERIFY(rig.LogIn());
        QCOMPARE(rig.Page<ZLabel>("NewVersionsLabel")->Text(), QStringLiteral("2.1.4.0"));
        const QString local = DownloadFirmwareThread::DefaultFolder() + QStringLiteral("KES2216H-2.1.4.0.bin");

        TipCatcher tips;
        QString ended;
        if (kind == QLatin1String("cancel")) {
            server.SetTrickle(20);
            When(this, [] { return Progress::Form() != nullptr; }, [] { Progress::Press(); });
        } else {
            When(this, [] {
                return Progress::Form() != nullptr && Progress::Text() != QLatin1String("Downloading...") &&
                       Progress::Text() != QLatin1String("Uploading...");
            }, [&] {
                ended = Progress::Text();
                Progress::Press();
            });
        }
        QTest::mouseClick(rig.Page<QWidget>("OnlineUpgradeButton"), Qt::LeftButton);
        if (kind == QLatin1String("good")) {
            QCOMPARE(ended, QStringLiteral("Upload Finished"));
            QCOMPARE(ReadFile(local), bytes);
            QCOMPARE(ReadFile(rig.StoragePath(QStringLiteral("/Upgrade/Image.bin"))), bytes);
            QCOMPARE(rig.Edit<emu::DeviceRecords>([](emu::DeviceRecords& r) { return r.reboots; }), 1);
            QCOMPARE(tips.Seen, QStringList{QStringLiteral("Upgrades completely")});
        } else {
            if (kind == QLatin1String("other"))
                QCOMPARE(ended, QStringLiteral("Firmware file is invalid"));
            else
                QVERIFY(!QFile::exists(local));
            QCOMPARE(rig.Recorder->CountRequests(28), size_t(0));
            QVERIFY(!QFile::exists(rig.StoragePath(QStringLiteral("/Upgrade/Image.bin"))));
            QCOMPARE(rig.Edit<emu::DeviceRecords>([](emu::DeviceRecords& r) { return r.reboots; }), 0);
            QVERIFY(tips.Seen.isEmpty());
        }
        qunsetenv("CALVOX_UPDATE_SERVER");  // the next rig points it at a closed port again
    }

    void AnnouncementsUploadListAndDelete()
    {
        SettingsPageRig rig;
        QVERIFY(QDir().mkpath(rig.StoragePath(QStringLiteral("/PlayBackFiles"))));
        WriteFile(rig.StoragePath(QStringLiteral("/PlayBackFiles")), QStringLiteral("m.wav"), "m");
        WriteFile(rig.StoragePath(QStringLiteral("/PlayBackFiles")), QStringLiteral("z.wav"), "z");
        QVERIFY(rig.LogIn());
        // The base-settings section enables these for a recorder that plays files; not the subject here.
        rig.Page<QWidget>("UploadAudioFileButton")->setEnabled(true);
        rig.Page<QWidget>("DeleteAudioFileButton")->setEnabled(true);
        auto* list = rig.Page<ZItemList>("PlayBackFilesItemList");
        QCOMPARE(list->Items(), (QStringList{"m.wav", "z.wav"}));
        auto* announcement = rig.Page<ZComboBox>("AnnouncementComboBox");
        auto* group = rig.Page<ZComboBox>("GroupComboBox4");
        QCOMPARE(announcement->Items(), list->Items());
        announcement->SetSelectedIndex(1);  // z.wav
        group->SetSelectedIndex(0);         // m.wav

        // "a.wav" sorts before both: the choices keep their names.
        const QByteArray audio(700, 'x');
        const QString path = WriteFile(m_Local.path(), QStringLiteral("a.wav"), audio);
        AnswerFileDialog(this, path);
        When(this, [] { return Progress::Form() != nullptr && Progress::Button() == QLatin1String("Completed"); },
             [] { Progress::Press(); });
        QTest::mouseClick(rig.Page<QWidget>("UploadAudioFileButton"), Qt::LeftButton);
        QCOMPARE(ReadFile(rig.StoragePath(QStringLiteral("/PlayBackFiles/a.wav"))), audio);
        QCOMPARE(list->Items(), (QStringList{"a.wav", "m.wav", "z.wav"}));
        QCOMPARE(rig.Page<ZComboBox>("ReplyTimeSlotComboBox7_3")->Items(), list->Items());
        QCOMPARE(announcement->SelectedText(), QStringLiteral("z.wav"));
        QCOMPARE(group->SelectedText(), QStringLiteral("m.wav"));
        QCOMPARE(rig.Page<ZComboBox>("GroupComboBox5")->SelectedIndex(), -1);

        // Names the recorder's file system must not get: refused before anything is sent.
        for (const QString& name : {QString::fromUtf8("h\xc3\xa9llo.wav"), QStringLiteral("a\\b.wav")}) {
            const QString refused = WriteFile(m_Local.path(), name, audio);
            rig.Recorder->ClearLog();
            TipCatcher tips;
            AnswerFileDialog(this, refused);
            QTest::mouseClick(rig.Page<QWidget>("UploadAudioFileButton"), Qt::LeftButton);
            QCOMPARE(tips.Seen, QStringList{QStringLiteral("Name of file is invalid")});
            QCOMPARE(rig.Recorder->CountRequests(28), size_t(0));
        }

        // Delete the selected line: gone on the recorder and from the lists, choices of other names kept.
        list->SetSelectedIndex(0);
        QTest::mouseClick(rig.Page<QWidget>("DeleteAudioFileButton"), Qt::LeftButton);
        QVERIFY(!QFile::exists(rig.StoragePath(QStringLiteral("/PlayBackFiles/a.wav"))));
        QCOMPARE(list->Items(), (QStringList{"m.wav", "z.wav"}));
        QCOMPARE(announcement->SelectedText(), QStringLiteral("z.wav"));

        // Nothing selected: nothing happens.
        list->SetSelectedIndex(-1);
        rig.Recorder->ClearLog();
        QTest::mouseClick(rig.Page<QWidget>("DeleteAudioFileButton"), Qt::LeftButton);
        QCOMPARE(rig.Recorder->CountRequests(30), size_t(0));
    }

    void DeviceLog()
    {
        SettingsPageRig rig;
        WriteFile(rig.StoragePath(QStringLiteral("/RecordFiles")), QStringLiteral("Log.txt"), "a\r\nb\r\nc\r\n");
        QVERIFY(rig.LogIn());
        auto* list = rig.Page<ZItemList>("LogItemList");
        QVERIFY(list->Items().isEmpty());  // the login does not read the log
        QTest::mouseClick(rig.Page<QWidget>("UpdateLogButton"), Qt::LeftButton);
        QCOMPARE(list->Items(), (QStringList{"a", "b", "c", ""}));

        // A long log is scrolled to its end.
        QByteArray many;
        for (int i = 0; i < 100; ++i)
            many += "line " + QByteArray::number(i) + "\r\n";
        WriteFile(rig.StoragePath(QStringLiteral("/RecordFiles")), QStringLiteral("Log.txt"), many);
        QTest::mouseClick(rig.Page<QWidget>("UpdateLogButton"), Qt::LeftButton);
        QCOMPARE(list->Items().size(), 101);
        const int shown = list->VScrollBarValue();
        QVERIFY(shown > 0);
        list->SetVScrollBarValue(1 << 30);  // limited to the end: no further
        QCOMPARE(list->VScrollBarValue(), shown);

        // Download: byte-equal; cancelled: no file.
        const QString target = m_Local.filePath(QStringLiteral("log.txt"));
        AnswerFileDialog(this, target);
        When(this, [] { return Progress::Form() != nullptr && Progress::Button() == QLatin1String("Completed"); },
             [] { Progress::Press(); });
        QTest::mouseClick(rig.Page<QWidget>("DownloadLogButton"), Qt::LeftButton);
        QCOMPARE(ReadFile(target), many);

        const QString cancelled = m_Local.filePath(QStringLiteral("cancelled.txt"));
        rig.Recorder->SetHandler(29, {});  // the recorder falls silent: the download hangs until cancelled
        AnswerFileDialog(this, cancelled);
        When(this, [] { return Progress::Form() != nullptr; }, [] { Progress::Press(); });
        QTest::mouseClick(rig.Page<QWidget>("DownloadLogButton"), Qt::LeftButton);
        QVERIFY(!QFile::exists(cancelled));
        rig.Recorder->ClearHandler(29);

        // Delete empties the list without another read; then no log file: silent, list kept.
        QTest::mouseClick(rig.Page<QWidget>("DeleteLogButton"), Qt::LeftButton);
        QVERIFY(!QFile::exists(rig.StoragePath(QStringLiteral("/RecordFiles/Log.txt"))));
        QVERIFY(list->Items().isEmpty());
        list->SetItems({QStringLiteral("kept")});
        TipCatcher tips;
        QTest::mouseClick(rig.Page<QWidget>("UpdateLogButton"), Qt::LeftButton);
        QTest::qWait(100);
        QVERIFY(tips.Seen.isEmpty());
        QCOMPARE(list->Items(), QStringList{QStringLiteral("kept")});
    }
};

QTEST_MAIN(SettingsFilesTest)
#include "tst_settings_files.moc"
