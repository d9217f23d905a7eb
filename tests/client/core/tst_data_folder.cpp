// The data folder and its whole-file reads and writes, including a full disk.
#include "DataFolder.h"
#include "FileIo.h"
#include "ProgramFolder.h"
#include "TestFiles.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QtTest>

#include <sched.h>
#include <sys/mount.h>
#include <unistd.h>

namespace {

// A device that opens, claims a size and then fails to read.
class FailingDevice : public QIODevice {
public:
    qint64 size() const override { return 100; }
    bool isSequential() const override { return false; }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char*, qint64) override { return -1; }
};

}  // namespace

class TestDataFolder : public QObject {
    Q_OBJECT
private slots:
    void init();
    void initFolderUsesPerUserDataLocation();
    void initFolderFallsBackToProgramFolder();
    void programFolderCanBeRedirected();
    void readAndWriteTable_data();
    void readAndWriteTable();
    void readErrorFreesItsBuffer();
    void namesCannotLeaveTheFolder();
    void writeLeavesNoTemporaryFiles();
    void fullDiskReportsFailureAndKeepsOldContent();

private:
    QTemporaryDir m_home;
};

void TestDataFolder::init()
{
    QVERIFY(m_home.isValid());
    qputenv("XDG_DATA_HOME", QFile::encodeName(m_home.path() + "/share"));
    SetProgramFolder(m_home.path() + "/program");
    QVERIFY(QDir().mkpath(m_home.path() + "/program"));
    QVERIFY(InitDataFolder());
}

void TestDataFolder::initFolderUsesPerUserDataLocation()
{
    QCOMPARE(g_DataPath, m_home.path() + "/share/CalvoxClient");
    QVERIFY(QFileInfo(g_DataPath).isDir());
    QVERIFY(!g_DataPath.endsWith('/'));
}

void TestDataFolder::initFolderFallsBackToProgramFolder()
{
    // A regular file where the data folder's parent should be: the per-user folder cannot be made.
    WriteRaw(m_home.path() + "/blocker", "x");
    qputenv("XDG_DATA_HOME", QFile::encodeName(m_home.path() + "/blocker/share"));
    QVERIFY(InitDataFolder());
    QCOMPARE(g_DataPath, m_home.path() + "/program");

    SetProgramFolder(m_home.path() + "/blocker/program");
    QVERIFY(!InitDataFolder());
}

void TestDataFolder::programFolderCanBeRedirected()
{
    SetProgramFolder("/opt/calvox//bin/");
    QCOMPARE(ProgramFolder(), QString("/opt/calvox/bin"));
    SetProgramFolder(QString());
    QCOMPARE(ProgramFolder(), QCoreApplication::applicationDirPath());
}

void TestDataFolder::readAndWriteTable_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("before");  // "<missing>" for no file
    QTest::addColumn<QByteArray>("write");
    QTest::addColumn<int>("writeResult");
    QTest::addColumn<QByteArray>("after");

    QTest::newRow("missing file") << "Volume" << QByteArray("<missing>") << QByteArray("100") << 3
                                  << QByteArray("100");
    QTest::newRow("empty file") << "Volume" << QByteArray("") << QByteArray("7") << 1 << QByteArray("7");
    QTest::newRow("overwrite of a longer file")
        << "SoftwareSetting" << QByteArray("a much longer old content") << QByteArray("short") << 5
        << QByteArray("short");
    QTest::newRow("empty write") << "LastBackupTime" << QByteArray("old") << QByteArray() << 0 << QByteArray();
    QTest::newRow("missing sub-folder") << "Devices/ABCDEFGHIJKLMNOPQRST" << QByteArray("<missing>")
                                        << QByteArray("device") << 0 << QByteArray("<missing>");
    QTest::newRow("leading separator") << "/GridListSetting" << QByteArray("<missing>") << QByteArray("c") << 1
                                       << QByteArray("c");
}

void TestDataFolder::readAndWriteTable()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, before);
    QFETCH(QByteArray, write);
    QFETCH(int, writeResult);
    QFETCH(QByteArray, after);

    const QString path = g_DataPath + "/" + name;
    const bool exists = before != "<missing>";
    if (exists)
        WriteRaw(path, before);

    char* buffer = reinterpret_cast<char*>(0x1);  // must stay untouched on failure
    const int length = ReadDataFileToBuffer(name, &buffer);
    QByteArray array("untouched");
    const bool opened = ReadDataFile(name, &array);
    if (exists) {
        QCOMPARE(length, before.size());
        QCOMPARE(QByteArray(buffer, length), before);
        delete[] buffer;
        QVERIFY(opened);
        QCOMPARE(array, before);
    } else {
        QCOMPARE(length, -1);
        QVERIFY(buffer == reinterpret_cast<char*>(0x1));
        QVERIFY(!opened);
        QCOMPARE(array, QByteArray("untouched"));
    }

    QCOMPARE(WriteDataFile(name, write.constData(), write.size()), writeResult);
    QCOMPARE(ReadRaw(path), after);
    QCOMPARE(SaveDataFile(name, write), writeResult == write.size() && after != "<missing>");
}

void TestDataFolder::readErrorFreesItsBuffer()
{
    // Under LeakSanitizer a buffer left behind by the failed read is reported.
    FailingDevice device;
    QVERIFY(device.open(QIODevice::ReadOnly));
    char* buffer = nullptr;
    QCOMPARE(ReadAllToNewBuffer(&device, &buffer), -1);
    QVERIFY(buffer == nullptr);

    QBuffer source;
    source.setData("0123456789");
    QVERIFY(source.open(QIODevice::ReadOnly));
    QCOMPARE(ReadAllToNewBuffer(&source, &buffer), 10);
    QCOMPARE(QByteArray(buffer, 10), QByteArray("0123456789"));
    delete[] buffer;
}

void TestDataFolder::namesCannotLeaveTheFolder()
{
    WriteRaw(m_home.path() + "/share/outside", "secret");
    QByteArray data;
    QVERIFY(!ReadDataFile("../outside", &data));
    QVERIFY(!ReadDataFile("Devices/../../outside", &data));
    QCOMPARE(WriteDataFile("../outside", "x", 1), 0);
    QVERIFY(!SaveDataFile("Contacts/../../outside", "x"));
    QVERIFY(!MakeDataFolder("../escape"));
    QCOMPARE(ReadRaw(m_home.path() + "/share/outside"), QByteArray("secret"));
    QVERIFY(!QFileInfo::exists(m_home.path() + "/share/escape"));

    // Dots inside a name are fine.
    QVERIFY(MakeDataFolder("Contacts/a..b"));
    QVERIFY(MakeDataFolder("Contacts/a..b"));  // true when it exists already
    QVERIFY(SaveDataFile("Contacts/a..b/..book", "b"));
}

void TestDataFolder::writeLeavesNoTemporaryFiles()
{
    QVERIFY(MakeDataFolder("Devices"));
    for (int i = 0; i < 3; ++i)
        QVERIFY(SaveDataFile("Devices/DeviceIndex", QByteArray(1000 * (3 - i), 'a' + i)));
    QCOMPARE(QDir(g_DataPath + "/Devices").entryList(QDir::Files | QDir::Hidden), QStringList{"DeviceIndex"});
    QCOMPARE(ReadRaw(g_DataPath + "/Devices/DeviceIndex"), QByteArray(1000, 'c'));
}

void TestDataFolder::fullDiskReportsFailureAndKeepsOldContent()
{
    // A private mount namespace lets the test mount a tiny tmpfs without touching the machine's mounts.
    if (::unshare(CLONE_NEWNS) != 0)
        QSKIP("cannot make a private mount namespace (needs root or CAP_SYS_ADMIN): full-disk case not run");
    if (::mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
        QSKIP("cannot make the mounts private: full-disk case not run");
    QTemporaryDir disk;
    QVERIFY(disk.isValid());
    if (::mount("tmpfs", QFile::encodeName(disk.path()).constData(), "tmpfs", 0, "size=64k") != 0)
        QSKIP("cannot mount a small tmpfs: full-disk case not run");
    auto unmount = qScopeGuard([&] { ::umount2(QFile::encodeName(disk.path()).constData(), MNT_DETACH); });

    g_DataPath = disk.path();
    const QByteArray old("{\"Language\": \"English\"}");
    QCOMPARE(WriteDataFile("SoftwareSetting", old.constData(), old.size()), old.size());

    // Fill the disk to the last byte.
    QFile filler(disk.path() + "/filler");
    QVERIFY(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
    const QByteArray block(1024, 'f');
    while (filler.write(block) == block.size()) {
    }
    filler.close();

    const QByteArray longer(8192, 'n');
    QCOMPARE(WriteDataFile("SoftwareSetting", longer.constData(), longer.size()), -1);
    QVERIFY(!SaveDataFile("SoftwareSetting", longer));
    QCOMPARE(ReadRaw(disk.path() + "/SoftwareSetting"), old);
    QCOMPARE(QDir(disk.path()).entryList(QDir::Files | QDir::Hidden), (QStringList{"filler", "SoftwareSetting"}));

    // With room again the same write goes through: it was the disk, not the write.
    QVERIFY(QFile::remove(disk.path() + "/filler"));
    QCOMPARE(WriteDataFile("SoftwareSetting", longer.constData(), longer.size()), longer.size());
    QCOMPARE(ReadRaw(disk.path() + "/SoftwareSetting"), longer);
}

QTEST_GUILESS_MAIN(TestDataFolder)
#include "tst_data_folder.moc"
