// The backup page's drive list as the operator meets it: tiles placed three to a row, the space texts and bars,
// checking a tile (the saved settings file read back), double-clicking one (the URL the desktop is asked to open).

#include "StorageControl.h"
#include "StorageControlList.h"

#include "backup/BackupThread.h"
#include "DataFolder.h"
#include "MainFormGlobals.h"
#include "Skin.h"
#include "SoftwareSetting.h"

#include "ZCheckBox.h"
#include "ZLabel.h"
#include "ZProgressBar.h"

#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QUrl>
#include <QtTest>

#include <QSemaphore>

#include <memory>

namespace {

const qint64 GiB = qint64(1) << 30;

QByteArray ReadFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool WriteFile(const QString& path, const QByteArray& data)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(data) == data.size();
}

// The BackupPath the settings file holds now.
QString SavedBackupPath()
{
    return QJsonDocument::fromJson(ReadFile(DataFilePath(QStringLiteral("SoftwareSetting"))))
        .object()
        .value(QStringLiteral("BackupPath"))
        .toString();
}

// A tile's parts, by their names.
template <typename T>
T* Part(StorageControl* tile, const char* name)
{
    T* part = tile->findChild<T*>(QLatin1String(name));
    if (!part)
        qFatal("tile without %s", name);
    return part;
}
ZLabel* NameLabel(StorageControl* tile) { return Part<ZLabel>(tile, "StorageNameLabel"); }
ZLabel* SpaceLabel(StorageControl* tile) { return Part<ZLabel>(tile, "SpaceLabel"); }
ZProgressBar* SpaceBar(StorageControl* tile) { return Part<ZProgressBar>(tile, "SpaceProgressBar"); }
ZCheckBox* CheckBox(StorageControl* tile) { return Part<ZCheckBox>(tile, "CheckBox"); }

QList<StorageControl*> Tiles(StorageControlList& list)
{
    return list.findChildren<StorageControl*>(QString(), Qt::FindDirectChildrenOnly);
}

// Records the URLs the desktop is asked to open.
class UrlCatcher : public QObject
{
    Q_OBJECT
public:
    QList<QUrl> Urls;
public slots:
    void Open(const QUrl& url) { Urls.append(url); }
};

// A backup run that lasts until the test lets it end.
class HeldBackup : public BackupThread
{
public:
    ~HeldBackup() override { Release(); }
    void Release()
    {
        if (isRunning()) {
            m_Gate.release();
            wait();
        }
    }

protected:
    void run() override { m_Gate.acquire(); }

private:
    QSemaphore m_Gate;
};

} // namespace

class TestStorageControl : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_Root;
    QString m_Data;
    std::unique_ptr<Skin> m_Skin;

    // A folder below the temporary root, made.
    QString Folder(const QString& name)
    {
        const QString path = m_Root.filePath(name);
        QDir().mkpath(path);
        return path;
    }

    void SetBackupPath(const QString& path)
    {
        g_SoftwareSetting.BackupPath = path;
        QVERIFY(SaveSoftwareSetting());
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_Root.isValid());
        // The home folder (the first drive) and the autostart entry that every save writes stay in the root.
        qputenv("HOME", Folder(QStringLiteral("home/ann")).toUtf8());
        QStandardPaths::setTestModeEnabled(true);
        m_Data = Folder(QStringLiteral("data"));
        g_DataPath = m_Data;
        m_Skin = std::make_unique<Skin>();
        Skin::SetThemeColor(QColor(82, 178, 250));
    }

    void init()
    {
        g_DataPath = m_Data;
        g_SoftwareSetting = SoftwareSetting();
    }

    void tilesThreeToARow_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<QList<QPoint>>("positions");
        QTest::addColumn<QSize>("size");
        QTest::newRow("none") << 0 << QList<QPoint>() << QSize(870, 76);
        QTest::newRow("one") << 1 << QList<QPoint>{{30, 10}} << QSize(870, 76);
        QTest::newRow("four") << 4 << QList<QPoint>{{30, 10}, {310, 10}, {590, 10}, {30, 66}} << QSize(870, 132);
    }

    void tilesThreeToARow()
    {
        QFETCH(int, count);
        QFETCH(QList<QPoint>, positions);
        QFETCH(QSize, size);
        SetBackupPath(QStringLiteral("/nowhere/CalvoxBackups/"));
        QList<BackupDrive> drives;
        for (int i = 0; i < count; ++i)
            drives.append({QStringLiteral("/media/d%1").arg(i), QString(), 100 * GiB, 50 * GiB});
        StorageControlList list(nullptr, QStringLiteral("/home/ann"), drives);
        list.show();
        QCOMPARE(list.size(), size);
        const QList<StorageControl*> tiles = Tiles(list);
        QCOMPARE(tiles.size(), count);
        for (int i = 0; i < count; ++i) {
            QCOMPARE(tiles[i]->pos(), positions[i]);
            QCOMPARE(tiles[i]->size(), QSize(280, 56));
            QCOMPARE(tiles[i]->Path, QStringLiteral("/media/d%1/CalvoxBackups/").arg(i));
        }
        QVERIFY(!list.CheckedControl);
        // The picture the tiles show fills its 54 x 28 label: a smaller one would repeat.
        QCOMPARE(QImage(QStringLiteral(":/StorageControl/HardDisk.png")).size(), QSize(54, 28));
    }

    void captionNamesTheFolder_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("caption");
        QTest::newRow("labelled") << "/media/ann/Data" << "Data" << "Data (/media/ann/Data)";
        QTest::newRow("no label") << "/home/ann" << "" << "(/home/ann)";
        QTest::newRow("root") << "/" << "" << "(/)";
    }

    void captionNamesTheFolder()
    {
        QFETCH(QString, folder);
        QFETCH(QString, label);
        QFETCH(QString, caption);
        StorageControl tile(nullptr);
        tile.SetName(BackupFolderPath(folder), label);
        QCOMPARE(NameLabel(&tile)->Text(), caption);
        QCOMPARE(tile.Path, BackupFolderPath(folder));
    }

    void spaceTextAndBar_data()
    {
        QTest::addColumn<qint64>("total");
        QTest::addColumn<qint64>("free");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("percent");
        QTest::addColumn<bool>("red");
        QTest::newRow("12.5 of 100 GiB free") << 100 * GiB << 25 * GiB / 2 << "12.5GB / 100.0GB" << 87 << false;
        QTest::newRow("exactly 90 %") << 100 * GiB << 10 * GiB << "10.0GB / 100.0GB" << 90 << false;
        QTest::newRow("5 of 100 GiB free") << 100 * GiB << 5 * GiB << "5.0GB / 100.0GB" << 95 << true;
        QTest::newRow("1 TiB, one byte free") << 1024 * GiB << qint64(1) << "0.0GB / 1024.0GB" << 99 << true;
        QTest::newRow("2^62 bytes, half free")
            << (qint64(1) << 62) << (qint64(1) << 61) << "2147483648.0GB / 4294967296.0GB" << 50 << false;
        QTest::newRow("largest count, one byte free")
            << std::numeric_limits<qint64>::max() << qint64(1) << "0.0GB / 8589934592.0GB" << 99 << true;
        QTest::newRow("nothing known") << qint64(0) << qint64(0) << "0.0GB / 0.0GB" << 0 << false;
    }

    void spaceTextAndBar()
    {
        QFETCH(qint64, total);
        QFETCH(qint64, free);
        QFETCH(QString, text);
        QFETCH(int, percent);
        QFETCH(bool, red);
        const QColor design(82, 178, 250);
        const QColor theme(200, 120, 40);
        Skin::SetThemeColor(theme);
        StorageControl tile(nullptr);
        tile.SetSpace(total, free);
        QCOMPARE(SpaceLabel(&tile)->Text(), text);
        QCOMPARE(SpaceBar(&tile)->Value(), percent);
        // The colour follows the share only at the next skin change.
        QCOMPARE(SpaceBar(&tile)->ForeColor(), design);
        emit g_Skin->SkinChanged();
        QCOMPARE(SpaceBar(&tile)->ForeColor(), red ? QColor(Qt::red) : theme);
        Skin::SetThemeColor(design);
    }

    void hoverLightsOnlyAnEnabledTile()
    {
        StorageControl tile(nullptr);
        QEvent enter(QEvent::Enter);
        QEvent leave(QEvent::Leave);
        QCoreApplication::sendEvent(&tile, &enter);
        QCOMPARE(tile.BackColor(), QColor(82, 178, 250, 50));
        QCOMPARE(tile.BorderColor(), QColor(82, 178, 250));
        QCoreApplication::sendEvent(&tile, &leave);
        QCOMPARE(tile.BackColor().alpha(), 0);
        QCOMPARE(tile.BorderColor().alpha(), 0);
        tile.setEnabled(false);
        QCoreApplication::sendEvent(&tile, &enter);
        QCOMPARE(tile.BackColor().alpha(), 0);
    }

    // The first drive's folder becomes the backup root when none is set; here the system's own drives, with
    // the home folder in the temporary root.
    void emptyBackupPathBecomesTheHomeFolder()
    {
        const QString expected = QDir::homePath() + QStringLiteral("/CalvoxBackups/");
        StorageControlList list(nullptr);
        QCOMPARE(g_SoftwareSetting.BackupPath, expected);
        QCOMPARE(SavedBackupPath(), expected);
        const QList<StorageControl*> tiles = Tiles(list);
        QVERIFY(!tiles.isEmpty());  // the temporary root's volume has room
        QCOMPARE(tiles[0]->Path, expected);
        QCOMPARE(list.CheckedControl, tiles[0]);
        QVERIFY(tiles[0]->Checked());
    }

    void emptyBackupPathTakesTheFirstFolderEvenUnlisted()
    {
        StorageControlList list(nullptr, QStringLiteral("/home/ann"),
                                {{QStringLiteral("/media/usb"), QString(), 8 * GiB, 4 * GiB}});
        QCOMPARE(SavedBackupPath(), QStringLiteral("/home/ann/CalvoxBackups/"));
        QVERIFY(!list.CheckedControl);
    }

    void checkingAnotherTileMovesTheBackupRoot()
    {
        const QString a = Folder(QStringLiteral("check/a"));
        const QString b = Folder(QStringLiteral("check/b"));
        SetBackupPath(BackupFolderPath(a));
        StorageControlList list(nullptr, a, {{a, QString(), 100 * GiB, 50 * GiB}, {b, QString(), 100 * GiB, 50 * GiB}});
        list.show();
        const QList<StorageControl*> tiles = Tiles(list);
        QCOMPARE(list.CheckedControl, tiles[0]);
        QSignalSpy events(&list, &StorageControlList::StorageControlListEvent);

        QTest::mouseClick(CheckBox(tiles[1]), Qt::LeftButton);
        QCOMPARE(events.size(), 1);
        QCOMPARE(events[0][0].value<StorageControlListEventType>(), BackupPathChanged);
        QVERIFY(!tiles[0]->Checked());
        QVERIFY(tiles[1]->Checked());
        QCOMPARE(list.CheckedControl, tiles[1]);
        QVERIFY(QFileInfo(b + QStringLiteral("/CalvoxBackups")).isDir());
        QCOMPARE(g_SoftwareSetting.BackupPath, BackupFolderPath(b));
        QCOMPARE(SavedBackupPath(), BackupFolderPath(b));

        // The checked box stays checked and nothing is written again.
        const QByteArray saved = ReadFile(DataFilePath(QStringLiteral("SoftwareSetting")));
        QFile::remove(DataFilePath(QStringLiteral("SoftwareSetting")));
        QTest::mouseClick(CheckBox(tiles[1]), Qt::LeftButton);
        QCOMPARE(events.size(), 1);
        QVERIFY(tiles[1]->Checked());
        QVERIFY(!QFile::exists(DataFilePath(QStringLiteral("SoftwareSetting"))));
        QVERIFY(WriteFile(DataFilePath(QStringLiteral("SoftwareSetting")), saved));
    }

    // Each of these fails for root as well: no rights are involved.
    void aFailedChangeKeepsTheOldTile_data()
    {
        QTest::addColumn<QString>("failure");
        QTest::newRow("drive folder is a regular file") << "drive file";
        QTest::newRow("backup folder is a regular file") << "backup file";
        QTest::newRow("data folder is a regular file") << "data file";
    }

    void aFailedChangeKeepsTheOldTile()
    {
        QFETCH(QString, failure);
        const QString a = Folder(QStringLiteral("fail/a"));
        QString b = Folder(QStringLiteral("fail/") + failure);
        SetBackupPath(BackupFolderPath(a));
        const QByteArray before = ReadFile(DataFilePath(QStringLiteral("SoftwareSetting")));
        QString blocker;
        if (failure == QLatin1String("drive file")) {
            b += QStringLiteral("/file");
            blocker = b;
        } else if (failure == QLatin1String("backup file")) {
            blocker = b + QStringLiteral("/CalvoxBackups");
        }
        if (!blocker.isEmpty())
            QVERIFY(WriteFile(blocker, "not a folder"));

        StorageControlList list(nullptr, a, {{a, QString(), 100 * GiB, 50 * GiB}, {b, QString(), 100 * GiB, 50 * GiB}});
        list.show();
        const QList<StorageControl*> tiles = Tiles(list);
        QSignalSpy events(&list, &StorageControlList::StorageControlListEvent);
        const QString dataFile = m_Root.filePath(QStringLiteral("fail/data-file"));
        if (failure == QLatin1String("data file")) {
            QVERIFY(WriteFile(dataFile, "not a folder"));
            g_DataPath = dataFile;
        }

        QTest::mouseClick(CheckBox(tiles[1]), Qt::LeftButton);
        QCOMPARE(events.size(), 1);
        QCOMPARE(events[0][0].value<StorageControlListEventType>(), BackupPathFailed);
        QVERIFY(tiles[0]->Checked());
        QVERIFY(!tiles[1]->Checked());
        QCOMPARE(list.CheckedControl, tiles[0]);
        QCOMPARE(g_SoftwareSetting.BackupPath, BackupFolderPath(a));
        if (failure == QLatin1String("data file"))
            QCOMPARE(ReadFile(dataFile), QByteArray("not a folder"));
        else
            QCOMPARE(ReadFile(blocker), QByteArray("not a folder"));
        g_DataPath = m_Data;
        QCOMPARE(ReadFile(DataFilePath(QStringLiteral("SoftwareSetting"))), before);
    }

    void noChangeWhileABackupRuns()
    {
        const QString a = Folder(QStringLiteral("running/a"));
        const QString b = Folder(QStringLiteral("running/b"));
        SetBackupPath(BackupFolderPath(a));
        const QByteArray before = ReadFile(DataFilePath(QStringLiteral("SoftwareSetting")));
        StorageControlList list(nullptr, a, {{a, QString(), 100 * GiB, 50 * GiB}, {b, QString(), 100 * GiB, 50 * GiB}});
        list.show();
        const QList<StorageControl*> tiles = Tiles(list);
        QSignalSpy events(&list, &StorageControlList::StorageControlListEvent);
        HeldBackup run;
        g_BackupThread = &run;
        run.start();

        QTest::mouseClick(CheckBox(tiles[1]), Qt::LeftButton);
        QCOMPARE(events.size(), 1);
        QCOMPARE(events[0][0].value<StorageControlListEventType>(), BackupPathFailed);
        QVERIFY(tiles[0]->Checked());
        QVERIFY(!tiles[1]->Checked());
        QCOMPARE(g_SoftwareSetting.BackupPath, BackupFolderPath(a));
        QCOMPARE(ReadFile(DataFilePath(QStringLiteral("SoftwareSetting"))), before);
        QVERIFY(!QFileInfo::exists(b + QStringLiteral("/CalvoxBackups")));

        // Once the run has ended the same click goes through.
        run.Release();
        QTest::mouseClick(CheckBox(tiles[1]), Qt::LeftButton);
        g_BackupThread = nullptr;
        QCOMPARE(events.size(), 2);
        QCOMPARE(events[1][0].value<StorageControlListEventType>(), BackupPathChanged);
        QCOMPARE(SavedBackupPath(), BackupFolderPath(b));
    }

    void doubleClickMakesAndOpensTheFolder()
    {
        const QString drive = Folder(QStringLiteral("open/Disk #1"));
        SetBackupPath(QStringLiteral("/nowhere/CalvoxBackups/"));
        UrlCatcher catcher;
        QDesktopServices::setUrlHandler(QStringLiteral("file"), &catcher, "Open");
        StorageControlList list(nullptr, drive, {{drive, QString(), 100 * GiB, 50 * GiB}});
        list.show();
        StorageControl* tile = Tiles(list).value(0);
        QVERIFY(tile);

        QTest::mouseDClick(tile, Qt::RightButton, {}, QPoint(260, 10));
        QVERIFY(catcher.Urls.isEmpty());
        QVERIFY(!QFileInfo::exists(drive + QStringLiteral("/CalvoxBackups")));

        QTest::mouseDClick(tile, Qt::LeftButton, {}, QPoint(260, 10));
        QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
        QVERIFY(QFileInfo(drive + QStringLiteral("/CalvoxBackups")).isDir());
        QCOMPARE(catcher.Urls.size(), 1);
        QCOMPARE(catcher.Urls[0].toLocalFile(), BackupFolderPath(drive));
        QVERIFY(!catcher.Urls[0].hasFragment());
        QVERIFY(!tile->Checked());  // opening is not choosing
    }

    void cleanupTestCase() { m_Skin.reset(); }
};

QTEST_MAIN(TestStorageControl)
#include "tst_storage_control.moc"
