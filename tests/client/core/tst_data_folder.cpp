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
#include <sys/stat.h>
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

// The permission bits of a path (not following a last symbolic link); -1 when it is missing.
int ModeOf(const QString& path)
{
    struct stat st {};
    if (::lstat(QFile::encodeName(path).constData(), &st) != 0)
        return -1;
    return static_cast<int>(st.st_mode & 07777);
}

void WriteWithMode(const QString& path, const QByteArray& content, int mode)
{
    WriteRaw(path, content);
    ::chmod(QFile::encodeName(path).constData(), static_cast<mode_t>(mode));
}

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
    void theDataFolderIsTheUsersAlone();
    void theFallbackClosesOnlyTheDeviceFiles();

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

// The device files hold the recorders' passwords: nothing in the data folder is another local user's to read,
// also what an earlier version wrote with the umask's mode. Backups and exports keep the umask.
void TestDataFolder::theDataFolderIsTheUsersAlone()
{
    const mode_t oldMask = ::umask(022);
    auto restoreMask = qScopeGuard([oldMask] { ::umask(oldMask); });
    const QString devices = g_DataPath + "/Devices";
    QVERIFY(QDir().mkpath(devices + "/old"));
    ::chmod(QFile::encodeName(g_DataPath).constData(), 0755);
    ::chmod(QFile::encodeName(devices).constData(), 0755);
    WriteWithMode(devices + "/4B000000000000000007", "{\"Password\": \"x\"}", 0644);
    WriteWithMode(devices + "/old/DeviceIndex", "4B000000000000000007", 0664);
    WriteWithMode(g_DataPath + "/SoftwareSetting", "{}", 0644);
    // A link in the data folder to a file elsewhere: the file is not the data folder's to change.
    WriteWithMode(m_home.path() + "/elsewhere", "x", 0644);
    QVERIFY(QFile::link(m_home.path() + "/elsewhere", g_DataPath + "/link"));

    QVERIFY(InitDataFolder());  // the next start
    QCOMPARE(ModeOf(g_DataPath), 0700);
    QCOMPARE(ModeOf(devices), 0700);
    QCOMPARE(ModeOf(devices + "/old"), 0700);
    QCOMPARE(ModeOf(devices + "/4B000000000000000007"), 0600);
    QCOMPARE(ModeOf(devices + "/old/DeviceIndex"), 0600);
    QCOMPARE(ModeOf(g_DataPath + "/SoftwareSetting"), 0600);
    QCOMPARE(ModeOf(m_home.path() + "/elsewhere"), 0644);

    // Written files are 0600 from their first byte on: a new one, and one that had another mode.
    QVERIFY(SaveDataFile("Devices/4C000000000000000008", "{}"));
    QCOMPARE(ModeOf(devices + "/4C000000000000000008"), 0600);
    ::chmod(QFile::encodeName(g_DataPath + "/SoftwareSetting").constData(), 0644);
    QCOMPARE(WriteDataFile("SoftwareSetting", "{ }", 3), 3);
    QCOMPARE(ModeOf(g_DataPath + "/SoftwareSetting"), 0600);
    QCOMPARE(ReadRaw(g_DataPath + "/SoftwareSetting"), QByteArray("{ }"));

    // A backup or an export follows the umask.
    QVERIFY(SaveFile(m_home.path() + "/export.txt", "x"));
    QCOMPARE(ModeOf(m_home.path() + "/export.txt"), 0644);
    QVERIFY(SaveFile(m_home.path() + "/private.txt", "x", FileAccess::OwnerOnly));
    QCOMPARE(ModeOf(m_home.path() + "/private.txt"), 0600);
}

void TestDataFolder::theFallbackClosesOnlyTheDeviceFiles()
{
    const mode_t oldMask = ::umask(022);
    auto restoreMask = qScopeGuard([oldMask] { ::umask(oldMask); });
    const QString program = m_home.path() + "/program";
    QVERIFY(QDir().mkpath(program + "/Devices"));
    ::chmod(QFile::encodeName(program).constData(), 0755);
    WriteWithMode(program + "/CalvoxClient", "#!", 0755);
    WriteWithMode(program + "/Devices/4B000000000000000007", "{}", 0644);
    WriteRaw(m_home.path() + "/blocker", "x");
    qputenv("XDG_DATA_HOME", QFile::encodeName(m_home.path() + "/blocker/share"));
    QVERIFY(InitDataFolder());
    QCOMPARE(g_DataPath, program);
    QCOMPARE(ModeOf(program), 0755);
    QCOMPARE(ModeOf(program + "/CalvoxClient"), 0755);
    QCOMPARE(ModeOf(program + "/Devices"), 0700);
    QCOMPARE(ModeOf(program + "/Devices/4B000000000000000007"), 0600);
}

QTEST_GUILESS_MAIN(TestDataFolder)
#include "tst_data_folder.moc"
