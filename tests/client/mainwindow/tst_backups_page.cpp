// The backups page as the operator meets it: the real main window, a recorder of the in-process emulator with
// records, and the home folder (the first drive) in a temporary folder. The copies are read back from the disk,
// the log from the page's list.

#include "DataFolder.h"
#include "DeviceManage.h"
#include "KesDevice.h"
#include "MainForm.h"
#include "MainFormGlobals.h"
#include "MainFormUi.h"
#include "ProgramFolder.h"
#include "SoftwareSetting.h"
#include "StorageControl.h"
#include "StorageControlList.h"
#include "WaitForm.h"

#include "ZCheckBox.h"
#include "ZItemList.h"

#include "EmuFiles.h"
#include "Emulator.h"
#include "RecordTree.h"
#include "TestFolders.h"

#include <QFile>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

namespace emu = calvox::emu;

namespace {

const char kId[] = "4F000000000000000005";  // 4 channels

QByteArray ReadBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

emu::FixtureRecord Record(int day, int hour, int channel)
{
    emu::FixtureRecord r;
    r.year = 24;
    r.month = 5;
    r.day = static_cast<uint8_t>(day);
    r.hour = static_cast<uint8_t>(hour);
    r.channel = channel;
    r.audioBytes = 4000;
    return r;
}

QList<StorageControl*> Tiles(StorageControlList* list)
{
    return list->findChildren<StorageControl*>(QString(), Qt::FindDirectChildrenOnly);
}

} // namespace

class TestBackupsPage : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_Root;
    QTemporaryDir m_Storage;
    emu::Emulator m_Emulator;
    emu::Recorder* m_Recorder = nullptr;
    MainForm* m_Form = nullptr;
    KesDevice* m_Device = nullptr;

    ZItemList* Log() const { return m_Form->ui->BackupsStatusItemList; }

    // The log's lines, newest first, without their time stamps (each checked for its form).
    QStringList Messages() const
    {
        static const QRegularExpression stamp(QStringLiteral("^\\[\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d\\] "));
        QStringList messages;
        for (const QString& line : Log()->Items()) {
            if (!stamp.match(line).hasMatch())
                return {QStringLiteral("line without time stamp: ") + line};
            messages << line.mid(22);
        }
        return messages;
    }

    QString Top() const { return Messages().value(0); }

    StorageControl* HomeTile() const
    {
        for (StorageControl* tile : Tiles(g_StorageControlList)) {
            if (tile->Path == QDir::homePath() + QStringLiteral("/CalvoxBackups/"))
                return tile;
        }
        return nullptr;
    }

    QString DeviceFolder() const { return g_SoftwareSetting.BackupPath + QLatin1String(kId); }

    // Runs a backup from the page to its end.
    bool BackUp()
    {
        QTest::mouseClick(m_Form->ui->BackupButton, Qt::LeftButton);
        return QTest::qWaitFor([this] { return Top() == QLatin1String("Backup Completed"); }, 60000) &&
               QTest::qWaitFor([] { return !g_BackupThread->isRunning(); }, 10000);
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_Root.isValid() && m_Storage.isValid());
        if (qEnvironmentVariableIsEmpty("CALVOX_TIME_SCALE"))
            qputenv("CALVOX_TIME_SCALE", "0.05");
        QDir().mkpath(m_Root.filePath(QStringLiteral("home")));
        qputenv("HOME", m_Root.filePath(QStringLiteral("home")).toUtf8());
        QStandardPaths::setTestModeEnabled(true);
        qputenv("XDG_DATA_HOME", m_Root.filePath(QStringLiteral("data")).toUtf8());
        SetProgramFolder(m_Root.path());

        // A backup root elsewhere, so that the operator chooses the home folder's tile.
        QVERIFY(InitDataFolder());
        g_SoftwareSetting = SoftwareSetting();
        g_SoftwareSetting.BackupPath = m_Root.filePath(QStringLiteral("elsewhere/CalvoxBackups/"));
        QVERIFY(SaveSoftwareSetting());

        emu::RecorderConfig config;
        config.id = kId;
        config.port = 0;
        m_Recorder = m_Emulator.Add(config);
        QVERIFY(m_Recorder);
        emu::ServeFiles(*m_Recorder, m_Storage.path().toStdString());
        for (const emu::FixtureRecord& r : {Record(6, 9, 1), Record(6, 10, 2), Record(6, 11, 1), Record(7, 8, 4)})
            QVERIFY(emu::AddFixtureRecord(m_Storage.path().toStdString(), r) >= 0);

        m_Form = new MainForm();
        m_Form->show();
        m_Device = KesDevice::Create(QStringLiteral("Office"), QString::fromLatin1(kId));
        m_Device->SetNetAddr(QStringLiteral("127.0.0.1"), m_Recorder->Port());
        m_Device->UserName = m_Device->Password = QStringLiteral("admin");
        QVERIFY(DeviceManage::AddDevice(m_Device));
        QCOMPARE(m_Device->Login(), 0);
        m_Device->CreateHeartbeatThread();
        QVERIFY(QTest::qWaitFor([this] { return CalvoxAPI_ConnectStatus(m_Device->Handle) == 2; }, 10000));
        m_Form->ui->MainTabControl->SetSelectedIndex(5);
    }

    void cleanupTestCase()
    {
        delete m_Form;
        SetProgramFolder(QString());
    }

    void driveListFillsTheDriveArea()
    {
        QVERIFY(g_StorageControlList);
        QCOMPARE(g_StorageControlList->parentWidget(), m_Form->ui->StorageScrollArea);
        QCOMPARE(m_Form->ui->StorageScrollPanel->ScrollAreaSize(), g_StorageControlList->size());
        QVERIFY(HomeTile());
        QVERIFY(!HomeTile()->Checked());
    }

    void checkingTheHomeTileIsLogged()
    {
        QTest::mouseClick(HomeTile()->findChild<ZCheckBox*>(QStringLiteral("CheckBox")), Qt::LeftButton);
        QCOMPARE(Top(), QStringLiteral("Change backup disk completely"));
        QCOMPARE(g_SoftwareSetting.BackupPath, QDir::homePath() + QStringLiteral("/CalvoxBackups/"));
        QVERIFY(QFileInfo(g_SoftwareSetting.BackupPath).isDir());
        m_Form->StorageControlListEventDispose(BackupPathFailed);
        QCOMPARE(Top(), QStringLiteral("Change backup disk failed"));
    }

    void eventLines_data()
    {
        QTest::addColumn<int>("event");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("line");  // empty: nothing logged
        const QString wav = QStringLiteral("/b/%1/2405/06/CH01/240506090000-CH01.wav").arg(kId);
        QTest::newRow("0 check") << 0 << "" << "Auto backup check";
        QTest::newRow("1 started") << 1 << "" << "Start Backup";
        QTest::newRow("2 finished") << 2 << "" << "Backup Completed";
        QTest::newRow("3 no root") << 3 << "" << "Backup Failed";
        QTest::newRow("4 device started") << 4 << "" << "Device [Office] Start Backup";
        QTest::newRow("5 device done") << 5 << "" << "Device [Office] Backup Completely";
        QTest::newRow("6 device failed") << 6 << "" << "Device [Office] Backup Failed";
        QTest::newRow("7 device offline") << 7 << "" << "Device [Office] Disconnection";
        QTest::newRow("8 file") << 8 << wav << "Backup " + wav;
        QTest::newRow("9 retry") << 9 << wav << wav + "Download failed, retry in progress";
        QTest::newRow("10 paused") << 10 << wav << "Pause Backup";
        QTest::newRow("11 resumed") << 11 << wav << "Restore Backup";
        QTest::newRow("12 unknown") << 12 << wav << "";
    }

    void eventLines()
    {
        QFETCH(int, event);
        QFETCH(QString, text);
        QFETCH(QString, line);
        Log()->SetItems({QStringLiteral("[2024-05-06 07:08:09] older"), QStringLiteral("[2024-05-06 07:08:08] old")});
        m_Form->BackupEvent(BackupEventType(event), m_Device, text);
        if (line.isEmpty())
            QCOMPARE(Messages(), (QStringList{"older", "old"}));
        else if (event == 1)
            QCOMPARE(Messages(), QStringList{line});  // a run starts with an empty log
        else
            QCOMPARE(Messages(), (QStringList{line, "older", "old"}));
        m_Form->BackupEvent(BackupEvent_Finished, nullptr, QString());
    }

    void stopWhileIdleDoesNothing()
    {
        Log()->SetItems({});
        QTest::mouseClick(m_Form->ui->BackupStopButton, Qt::LeftButton);
        QVERIFY(Log()->Items().isEmpty());
        QVERIFY(!g_WaitForm->isVisible());
    }

    // Start Backup copies the recorder's records into the chosen folder; the button and the drive area are
    // disabled for the run only.
    void startBackupCopiesTheRecords()
    {
        QList<bool> enabledAt;  // button and drive area, at the start and at the end
        // Queued after the window's own handler, so it sees the page as that left it.
        QMetaObject::Connection watch = connect(g_BackupThread, &BackupThread::EventSignal, this,
                                                [&](BackupEventType event, KesDevice*, const QString&) {
                                                    if (event == BackupEvent_Started || event == BackupEvent_Finished)
                                                        enabledAt << m_Form->ui->BackupButton->isEnabled()
                                                                  << m_Form->ui->StorageScrollPanel->isEnabled();
                                                });
        QVERIFY(BackUp());
        disconnect(watch);
        QCOMPARE(enabledAt, (QList<bool>{false, false, true, true}));

        const QStringList expected = {
            "2405/06/CH01.Index", "2405/06/CH01/240506090000-CH01.wav", "2405/06/CH01/240506110000-CH01.wav",
            "2405/06/CH02.Index", "2405/06/CH02/240506100000-CH02.wav", "2405/07/CH04.Index",
            "2405/07/CH04/240507080000-CH04.wav",
        };
        QCOMPARE(FilesBelow(DeviceFolder()), expected);
        for (const QString& file : expected) {
            const QByteArray original = ReadBytes(m_Storage.filePath(QStringLiteral("RecordFiles/") + file));
            QVERIFY2(!original.isEmpty(), qPrintable(file));
            QVERIFY2(ReadBytes(DeviceFolder() + QLatin1Char('/') + file) == original, qPrintable(file));
        }

        QStringList lines = Messages();
        std::reverse(lines.begin(), lines.end());
        QStringList wanted = {"Start Backup", "Device [Office] Start Backup"};
        for (const QString& file : expected) {
            if (file.endsWith(QLatin1String(".wav")))
                wanted << "Backup " + DeviceFolder() + "/" + file;
        }
        wanted << "Device [Office] Backup Completely" << "Backup Completed";
        // The files in the order fetched: compare as sets, the rest in order.
        QCOMPARE(lines.size(), wanted.size());
        QCOMPARE(lines.mid(0, 2), wanted.mid(0, 2));
        QCOMPARE(lines.mid(lines.size() - 2), wanted.mid(wanted.size() - 2));
        QStringList files = lines.mid(2, lines.size() - 4);
        QStringList wantedFiles = wanted.mid(2, wanted.size() - 4);
        files.sort();
        wantedFiles.sort();
        QCOMPARE(files, wantedFiles);
    }

    // A slow run: the drive cannot change under it, and Stop keeps the wait panel up until the worker ended.
    void stopEndsASlowRun()
    {
        QDir(DeviceFolder()).removeRecursively();
        emu::Faults slow;
        slow.delayMs = 20;
        m_Recorder->SetFaults(slow);
        QTest::mouseClick(m_Form->ui->BackupButton, Qt::LeftButton);
        QVERIFY(QTest::qWaitFor([this] { return Top().startsWith(QLatin1String("Backup /")); }, 30000));
        QVERIFY(g_BackupThread->isRunning());

        // Checking another drive while the worker reads BackupPath is refused.
        const QString root = g_SoftwareSetting.BackupPath;
        const QByteArray settings = ReadBytes(DataFilePath(QStringLiteral("SoftwareSetting")));
        const QString other = m_Root.filePath(QStringLiteral("other"));
        QDir().mkpath(other);
        StorageControlList list(nullptr, QDir::homePath(),
                                {{QDir::homePath(), QString(), 1 << 30, 1 << 29}, {other, QString(), 1 << 30, 1 << 29}});
        list.show();
        QSignalSpy refused(&list, &StorageControlList::StorageControlListEvent);
        QTest::mouseClick(Tiles(&list)[1]->findChild<ZCheckBox*>(QStringLiteral("CheckBox")), Qt::LeftButton);
        QCOMPARE(refused.size(), 1);
        QCOMPARE(refused[0][0].value<StorageControlListEventType>(), BackupPathFailed);
        QVERIFY(Tiles(&list)[0]->Checked());
        QVERIFY(!Tiles(&list)[1]->Checked());
        QCOMPARE(g_SoftwareSetting.BackupPath, root);
        QCOMPARE(ReadBytes(DataFilePath(QStringLiteral("SoftwareSetting"))), settings);
        QVERIFY(!QFileInfo::exists(other + QStringLiteral("/CalvoxBackups")));

        bool waitShown = false;
        QTimer::singleShot(0, this, [&] { waitShown = g_WaitForm->isVisible(); });
        QTest::mouseClick(m_Form->ui->BackupStopButton, Qt::LeftButton);
        QVERIFY(waitShown);
        QVERIFY(!g_BackupThread->isRunning());
        QVERIFY(!g_WaitForm->isVisible());
        QVERIFY(Messages().contains(QStringLiteral("Stop Backup")));
        QVERIFY(QTest::qWaitFor([this] { return m_Form->ui->BackupButton->isEnabled(); }, 5000));
        QVERIFY(m_Form->ui->StorageScrollPanel->isEnabled());
        m_Recorder->SetFaults(emu::Faults());
    }
};

QTEST_MAIN(TestBackupsPage)
#include "tst_backups_page.moc"
