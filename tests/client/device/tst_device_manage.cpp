// The device list without a recorder: password scrambling, the registered-device files, adding, updating and
// removing devices (with their signal and the deferred deletion), device IDs that could become paths, and the
// local device list.

#include "DataFolder.h"
#include "DeviceManage.h"
#include "KesDevice.h"
#include "SoftwareSetting.h"
#include "StatusIcons.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPointer>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>
#include <thread>

namespace {

const QString kId1 = QStringLiteral("4B000000000000000001");  // KES2204S, 4 channels
const QString kId2 = QStringLiteral("4B000000000000000002");
const QString kId3 = QStringLiteral("6A000000000000000003");  // KES2216H, 16 channels

unsigned char* ChannelArg(int channel)
{
    return reinterpret_cast<unsigned char*>(static_cast<intptr_t>(channel));
}

// What a receiver saw of the device during DeviceListChanged.
struct SeenEvent {
    DeviceManageEvent Event;
    int Index;
    QString Name;
    QString ID;
};

}  // namespace

class TestDeviceManage : public QObject
{
    Q_OBJECT

private:
    QString DataFile(const QString& name) const { return m_Data->path() + QLatin1Char('/') + name; }

    void WriteData(const QString& name, const QByteArray& bytes)
    {
        QFile file(DataFile(name));
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        QCOMPARE(file.write(bytes), bytes.size());
    }

    QByteArray ReadData(const QString& name) const
    {
        QFile file(DataFile(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }

    void WriteDeviceFile(const QString& fileId, const QString& id, const QString& name)
    {
        WriteData(QStringLiteral("Devices/") + fileId,
                  QJsonDocument(QJsonObject{{"ID", id}, {"Name", name}, {"Port", 6066}}).toJson());
    }

    QJsonObject ReadJson(const QString& path) const
    {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return QJsonObject();
        return QJsonDocument::fromJson(file.readAll()).object();
    }

    QStringList ListedNames() const
    {
        QStringList names;
        for (int i = 0; i < DeviceManage::DeviceCount(); ++i)
            names << DeviceManage::GetDevice(i)->Name;
        return names;
    }

    // Adds a device and checks that it went in.
    KesDevice* Add(const QString& name, const QString& id)
    {
        KesDevice* device = KesDevice::Create(name, id);
        if (device == nullptr || !DeviceManage::AddDevice(device)) {
            delete device;
            return nullptr;
        }
        return device;
    }

    void RecordEvents()
    {
        connect(g_DeviceManage, &DeviceManage::DeviceListChanged, this,
                [this](DeviceManageEvent event, KesDevice* device, int index) {
                    m_Seen.append({event, index, device ? device->Name : QString(), device ? device->ID : QString()});
                });
    }

    std::unique_ptr<QTemporaryDir> m_Data;
    std::unique_ptr<QTemporaryDir> m_Backup;
    std::unique_ptr<DeviceManage> m_Manage;
    QList<SeenEvent> m_Seen;

private slots:
    void init()
    {
        m_Data = std::make_unique<QTemporaryDir>();
        m_Backup = std::make_unique<QTemporaryDir>();
        QVERIFY(m_Data->isValid() && m_Backup->isValid());
        g_DataPath = m_Data->path();
        g_SoftwareSetting.BackupPath = m_Backup->path() + QLatin1Char('/');
        QVERIFY(QDir().mkpath(DataFile(QStringLiteral("Devices"))));
        m_Manage = std::make_unique<DeviceManage>();
        // The local device list lives as long as the program: empty it from the (still missing) file.
        QVERIFY(!DeviceManage::LoadLocalDeviceList());
        m_Seen.clear();
        RecordEvents();
    }

    void cleanup()
    {
        m_Manage.reset();
        QCOMPARE(DeviceManage::DeviceCount(), 0);
    }

    // --- passwords ---

    void passwordScrambling_data()
    {
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("stored");
        // Base64 without padding, odd-indexed characters first: YWJj -> W j | Y J.
        QTest::newRow("abc") << "abc" << "WjYJ";
        QTest::newRow("empty") << "" << "";
        QTest::newRow("one byte, two characters") << "a" << "QY";       // YQ
        QTest::newRow("two bytes, odd length") << "ab" << "WYI";         // YWI
        QTest::newRow("four bytes") << "abcd" << "WjAYJZ";               // YWJjZA
        QTest::newRow("non-ASCII, UTF-8") << QString::fromUtf8("ä") << "6wQ";  // w6Q
        QTest::newRow("digits") << "123456" << "TzD2MINU";               // MTIzNDU2
    }

    void passwordScrambling()
    {
        QFETCH(QString, password);
        QFETCH(QString, stored);
        QCOMPARE(DeviceManage::EncodePassword(password), stored);
        QCOMPARE(DeviceManage::DecodePassword(stored), password);
    }

    void passwordsOfManyLengthsComeBack()
    {
        const QString source = QString::fromUtf8("pässwörd€\xF0\x9F\x93\x9E-Z9");
        for (int n = 0; n <= source.size(); ++n) {
            if (n > 0 && source.at(n - 1).isHighSurrogate())
                continue;
            const QString password = source.left(n);
            QCOMPARE(DeviceManage::DecodePassword(DeviceManage::EncodePassword(password)), password);
        }
    }

    // --- icons ---

    void lineStateIconsAreLoadedFromTheResources()
    {
        for (int i = 0; i < kLineStateIconCount; ++i) {
            QVERIFY2(g_StatusIcons[i] != nullptr && !g_StatusIcons[i]->isNull(), qPrintable(QString::number(i)));
            QCOMPARE(g_StatusIcons[i]->size(), QSize(16, 16));
        }
    }

    // --- loading ---

    void indexOfSixtyBytesLoadsThreeDevicesInOrder()
    {
        WriteDeviceFile(kId1, kId1, QStringLiteral("Office"));
        WriteDeviceFile(kId2, kId2, QStringLiteral("Store"));
        WriteDeviceFile(kId3, kId3, QStringLiteral("Depot"));
        WriteData(QStringLiteral("Devices/DeviceIndex"), (kId3 + kId1 + kId2).toLatin1());
        QVERIFY(DeviceManage::LoadDevices());
        QCOMPARE(ListedNames(), (QStringList{"Depot", "Office", "Store"}));
        QCOMPARE(m_Seen.size(), 3);
        for (const SeenEvent& e : m_Seen)
            QVERIFY(e.Event == DeviceAdded && e.Index == 0);
        QCOMPARE(DeviceManage::GetDevice(0)->Channels, 16);
        QCOMPARE(DeviceManage::GetDevice(1)->Port, QStringLiteral("6066"));
    }

    void damagedIndexLoadsNothing()
    {
        WriteDeviceFile(kId1, kId1, QStringLiteral("Office"));
        WriteDeviceFile(kId2, kId2, QStringLiteral("Store"));
        WriteDeviceFile(kId3, kId3, QStringLiteral("Depot"));
        WriteData(QStringLiteral("Devices/DeviceIndex"), (kId1 + kId2 + kId3).toLatin1().left(59));
        QVERIFY(DeviceManage::LoadDevices());
        QCOMPARE(DeviceManage::DeviceCount(), 0);
        QVERIFY(m_Seen.isEmpty());
    }

    void secondDeviceOfTheSameNameIsNotLoaded()
    {
        WriteDeviceFile(kId1, kId1, QStringLiteral("Office"));
        WriteDeviceFile(kId2, kId2, QStringLiteral("Office"));
        WriteDeviceFile(kId3, kId3, QStringLiteral("Depot"));
        WriteData(QStringLiteral("Devices/DeviceIndex"), (kId2 + kId1 + kId3).toLatin1());
        QVERIFY(DeviceManage::LoadDevices());
        QCOMPARE(ListedNames(), (QStringList{"Office", "Depot"}));
        QCOMPARE(DeviceManage::GetDevice(0)->ID, kId2);
        // Its file stays.
        QVERIFY(QFile::exists(DataFile(QStringLiteral("Devices/") + kId1)));
    }

    void missingOrDamagedDeviceFileSkipsOnlyThatDevice()
    {
        WriteDeviceFile(kId1, kId1, QStringLiteral("Office"));
        WriteData(QStringLiteral("Devices/") + kId2, "{ not json");
        WriteData(QStringLiteral("Devices/DeviceIndex"), (kId1 + kId2 + kId3).toLatin1());
        QVERIFY(DeviceManage::LoadDevices());
        QCOMPARE(ListedNames(), QStringList{"Office"});
    }

    void savedDeviceComesBackWithItsSettings()
    {
        KesDevice* device = KesDevice::Create(QStringLiteral("Office"), kId1);
        device->SetNetAddr(QStringLiteral("127.0.0.5"), 6070);
        device->Version = QStringLiteral("2.1.3.5");
        device->UserName = QStringLiteral("admin");
        device->Password = QString::fromUtf8("gëheim");
        device->SavePassword = true;
        device->RemoteLogin = true;
        QVERIFY(DeviceManage::AddDevice(device));
        KesDevice* other = KesDevice::Create(QStringLiteral("Store"), kId2);
        other->Password = QStringLiteral("secret");
        QVERIFY(DeviceManage::AddDevice(other));

        const QJsonObject saved = ReadJson(DataFile(QStringLiteral("Devices/") + kId1));
        QCOMPARE(saved.value("Password").toString(), DeviceManage::EncodePassword(QString::fromUtf8("gëheim")));
        QCOMPARE(saved.value("Port").toInt(), 6070);
        QCOMPARE(ReadJson(DataFile(QStringLiteral("Devices/") + kId2)).value("Password").toString(), QString());
        QCOMPARE(ReadData(QStringLiteral("Devices/DeviceIndex")), (kId1 + kId2).toLatin1());

        m_Manage.reset();
        m_Manage = std::make_unique<DeviceManage>();
        QVERIFY(DeviceManage::LoadDevices());
        QCOMPARE(ListedNames(), (QStringList{"Office", "Store"}));
        KesDevice* loaded = DeviceManage::GetDevice(0);
        QCOMPARE(loaded->IPaddress, QStringLiteral("127.0.0.5"));
        QCOMPARE(loaded->Port, QStringLiteral("6070"));
        QCOMPARE(loaded->Version.Get(), QStringLiteral("2.1.3.5"));
        QCOMPARE(loaded->UserName, QStringLiteral("admin"));
        QCOMPARE(loaded->Password, QString::fromUtf8("gëheim"));
        QVERIFY(loaded->SavePassword && loaded->RemoteLogin && !loaded->AutoLogin);
        QCOMPARE(DeviceManage::GetDevice(1)->Password, QString());
    }

    // --- IDs that could become paths ---

    void idsThatAreNoPlainTwentyCharactersAreRefusedEverywhere()
    {
        const QStringList bad = {
            QStringLiteral("4B00000000000000/../"), QStringLiteral("4B0000000000000000.."),
            QStringLiteral("4B000000000000000/07"), QString::fromUtf8("4B00000000000000000é"),
            QStringLiteral("4B00000000000000 001"), QStringLiteral("4B0000000000000000001")};
        for (const QString& id : bad) {
            // Registration.
            QCOMPARE(DeviceManage::CheckDeviceID(id), 1);
            // A device the SDK accepts (it looks at the model character only) is still not added.
            std::unique_ptr<KesDevice> device(KesDevice::Create(QStringLiteral("Bad"), id));
            if (device)
                QVERIFY(!DeviceManage::AddDevice(device.get()));
        }
        QCOMPARE(DeviceManage::DeviceCount(), 0);
        QVERIFY(m_Seen.isEmpty());

        // The index file: a slice that holds a separator or non-ASCII bytes names no file, even one that exists.
        QVERIFY(QDir().mkpath(DataFile(QStringLiteral("Devices/4B000000000000"))));
        WriteDeviceFile(QStringLiteral("Xy"), kId2, QStringLiteral("Through dots"));
        const QByteArray nonAscii = QString::fromUtf8("4B00000000000000000é").toUtf8().left(20);
        WriteData(QStringLiteral("Devices/") + QString::fromUtf8(nonAscii), QJsonDocument(QJsonObject{
                      {"ID", kId3}, {"Name", "Non-ASCII"}}).toJson());
        // A device file whose own ID is a path.
        WriteData(QStringLiteral("Devices/") + kId1,
                  QJsonDocument(QJsonObject{{"ID", "4B0000000000000/../x"}, {"Name", "Own ID"}}).toJson());
        WriteDeviceFile(kId3, kId3, QStringLiteral("Good"));
        WriteData(QStringLiteral("Devices/DeviceIndex"),
                  QByteArray("4B000000000000/../Xy") + nonAscii + kId1.toLatin1() + kId3.toLatin1());
        QVERIFY(DeviceManage::LoadDevices());
        QCOMPARE(ListedNames(), QStringList{"Good"});

        // The local device list.
        QFile list(m_Backup->path() + QStringLiteral("/LocalDeviceList"));
        QVERIFY(list.open(QIODevice::WriteOnly));
        list.write(QJsonDocument(QJsonObject{{"../../etc/passwd000x", QJsonObject{{"Name", "Escape"}}},
                                             {kId1, QJsonObject{{"Name", "Office"}, {"Channels", 4}}}})
                       .toJson());
        list.close();
        QVERIFY(DeviceManage::LoadLocalDeviceList());
        QCOMPARE(DeviceManage::LocalDeviceNames(), QStringList{"Office"});
    }

    void sameIdIsNotAddedTwice()
    {
        QVERIFY(Add(QStringLiteral("Office"), kId1));
        QCOMPARE(DeviceManage::CheckDeviceID(kId1), 2);
        QCOMPARE(DeviceManage::CheckDeviceID(kId2), 0);
        QCOMPARE(DeviceManage::CheckDeviceID(kId1.left(19)), 1);
        QCOMPARE(DeviceManage::CheckDeviceID(QStringLiteral("ZZ000000000000000001")), 1);  // unknown model
        QVERIFY(!Add(QStringLiteral("Other"), kId1));
        QCOMPARE(DeviceManage::DeviceCount(), 1);
        QCOMPARE(DeviceManage::CheckDeviceName(QStringLiteral("Office")), 2);
        QCOMPARE(DeviceManage::CheckDeviceName(QStringLiteral("office")), 0);
    }

    // --- adding and removing ---

    void addWhoseIndexCannotBeWrittenChangesNothing()
    {
        QVERIFY(Add(QStringLiteral("Office"), kId1));
        m_Seen.clear();
        // A folder where the index file goes: the index cannot be replaced.
        QVERIFY(QFile::remove(DataFile(QStringLiteral("Devices/DeviceIndex"))));
        QVERIFY(QDir().mkpath(DataFile(QStringLiteral("Devices/DeviceIndex"))));
        std::unique_ptr<KesDevice> device(KesDevice::Create(QStringLiteral("Store"), kId2));
        QVERIFY(!DeviceManage::AddDevice(device.get()));
        QCOMPARE(ListedNames(), QStringList{"Office"});
        QCOMPARE(DeviceManage::IndexOfDevice(device.get()), -1);
        QVERIFY(m_Seen.isEmpty());
        // Its own file was written first and stays.
        QVERIFY(QFile::exists(DataFile(QStringLiteral("Devices/") + kId2)));
        QVERIFY(QFileInfo(DataFile(QStringLiteral("Devices/DeviceIndex"))).isDir());
    }

    void addWhoseDeviceFileCannotBeWrittenLeavesTheIndex()
    {
        QVERIFY(Add(QStringLiteral("Office"), kId1));
        QVERIFY(QDir().mkpath(DataFile(QStringLiteral("Devices/") + kId2)));
        std::unique_ptr<KesDevice> device(KesDevice::Create(QStringLiteral("Store"), kId2));
        QVERIFY(!DeviceManage::AddDevice(device.get()));
        QCOMPARE(ReadData(QStringLiteral("Devices/DeviceIndex")), kId1.toLatin1());
        QCOMPARE(DeviceManage::DeviceCount(), 1);
    }

    void removeSignalsWithTheLiveDeviceThenDeletesIt()
    {
        Add(QStringLiteral("Office"), kId1);
        KesDevice* store = Add(QStringLiteral("Store"), kId2);
        Add(QStringLiteral("Depot"), kId3);
        QPointer<KesDevice> watch(store);
        m_Seen.clear();
        QVERIFY(DeviceManage::RemoveDevice(1));
        QCOMPARE(m_Seen.size(), 1);
        QCOMPARE(m_Seen[0].Event, DeviceRemoved);
        QCOMPARE(m_Seen[0].Index, 1);
        QCOMPARE(m_Seen[0].Name, QStringLiteral("Store"));
        QCOMPARE(m_Seen[0].ID, kId2);
        QCOMPARE(ListedNames(), (QStringList{"Office", "Depot"}));
        QCOMPARE(ReadData(QStringLiteral("Devices/DeviceIndex")), (kId1 + kId3).toLatin1());
        QVERIFY(QFile::exists(DataFile(QStringLiteral("Devices/") + kId2)));
        QTRY_VERIFY(watch.isNull());
    }

    void removeOutOfRangeOrWithoutIndexWriteKeepsTheDevice()
    {
        Add(QStringLiteral("Office"), kId1);
        KesDevice* store = Add(QStringLiteral("Store"), kId2);
        m_Seen.clear();
        QVERIFY(!DeviceManage::RemoveDevice(-1));
        QVERIFY(!DeviceManage::RemoveDevice(2));
        QVERIFY(QFile::remove(DataFile(QStringLiteral("Devices/DeviceIndex"))));
        QVERIFY(QDir().mkpath(DataFile(QStringLiteral("Devices/DeviceIndex"))));
        QVERIFY(!DeviceManage::RemoveDevice(1));
        QVERIFY(m_Seen.isEmpty());
        QCOMPARE(DeviceManage::GetDevice(1), store);
        QVERIFY(!store->Closing);
    }

    void aHeldDeviceOutlivesItsRemovalUntilReleased()
    {
        Add(QStringLiteral("Office"), kId1);
        DeviceHold hold = DeviceManage::HoldDevice(QStringLiteral("Office"));
        QVERIFY(hold);
        QPointer<KesDevice> watch(hold.Device());
        QVERIFY(DeviceManage::RemoveDevice(0));
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
        QVERIFY(!watch.isNull());
        QCOMPARE(hold->Name, QStringLiteral("Office"));
        QVERIFY(!DeviceManage::HoldDevice(0));
        hold.Release();
        QTRY_VERIFY(watch.isNull());
    }

    void eventsQueuedBeforeRemovalAreDroppedByTheRelayAndArriveLiveElsewhere()
    {
        KesDevice* office = Add(QStringLiteral("Office"), kId1);
        KesDevice* store = Add(QStringLiteral("Store"), kId2);
        QList<QPair<KesDevice*, int>> relayed;
        connect(g_DeviceManage, &DeviceManage::DeviceEventSignal, this,
                [&](KesDevice* device, Calvox_EventType, unsigned char* data, int) {
                    relayed.append({device, static_cast<int>(reinterpret_cast<intptr_t>(data))});
                });
        // A receiver on the device's own signal, as the main window may connect: it reads the device.
        QStringList direct;
        connect(store, &KesDevice::DeviceEventSignal, this, [&](KesDevice* device, Calvox_EventType, unsigned char*, int) {
            direct << device->Name + QStringLiteral(" closing=") + QString::number(device->Closing);
        });
        // Events from another thread, as the heartbeat sends them: queued to this thread.
        std::thread heartbeat([&] {
            office->DeviceEventCallback(Calvox_Event_TalkTime, office->Handle, ChannelArg(0), 5);
            store->DeviceEventCallback(Calvox_Event_TalkTime, store->Handle, ChannelArg(1), 5);
            store->DeviceEventCallback(Calvox_Event_TalkTime, store->Handle, ChannelArg(2), 5);
        });
        heartbeat.join();
        QPointer<KesDevice> watch(store);
        QVERIFY(DeviceManage::RemoveDevice(1));
        QTRY_VERIFY(watch.isNull());
        QCOMPARE(relayed.size(), 1);
        QCOMPARE(relayed[0].first, office);
        QCOMPARE(relayed[0].second, 0);
        QCOMPARE(direct, (QStringList{"Store closing=1", "Store closing=1"}));
    }

    void updateWritesTheFileAndSignalsTheChange()
    {
        Add(QStringLiteral("Office"), kId1);
        KesDevice* store = Add(QStringLiteral("Store"), kId2);
        m_Seen.clear();
        store->SetName(QStringLiteral("Shop"));
        store->UserName = QStringLiteral("clerk");
        QVERIFY(DeviceManage::UpdateDevice(store));
        QCOMPARE(m_Seen.size(), 1);
        QCOMPARE(m_Seen[0].Event, DeviceChanged);
        QCOMPARE(m_Seen[0].Index, 1);
        QCOMPARE(ReadJson(DataFile(QStringLiteral("Devices/") + kId2)).value("Name").toString(), QStringLiteral("Shop"));
        std::unique_ptr<KesDevice> unlisted(KesDevice::Create(QStringLiteral("Depot"), kId3));
        QVERIFY(!DeviceManage::UpdateDevice(unlisted.get()));
        QVERIFY(!DeviceManage::UpdateDevice(nullptr));
        QVERIFY(!QFile::exists(DataFile(QStringLiteral("Devices/") + kId3)));
    }

    void versionIsWrittenOnlyWhenItChanged()
    {
        KesDevice* office = Add(QStringLiteral("Office"), kId1);
        office->Version = QStringLiteral("2.0.0.1");
        QVERIFY(DeviceManage::UpdateDevice(office));
        m_Seen.clear();
        const QDateTime before = QFileInfo(DataFile(QStringLiteral("Devices/") + kId1)).lastModified();
        const QByteArray content = ReadData(QStringLiteral("Devices/") + kId1);
        DeviceManage::SaveDeviceVersion(office);
        QVERIFY(m_Seen.isEmpty());
        QCOMPARE(ReadData(QStringLiteral("Devices/") + kId1), content);
        QCOMPARE(QFileInfo(DataFile(QStringLiteral("Devices/") + kId1)).lastModified(), before);

        office->Version = QStringLiteral("2.0.0.2");
        DeviceManage::SaveDeviceVersion(office);
        QCOMPARE(m_Seen.size(), 1);
        QCOMPARE(m_Seen[0].Event, DeviceChanged);
        QCOMPARE(ReadJson(DataFile(QStringLiteral("Devices/") + kId1)).value("Version").toString(),
                 QStringLiteral("2.0.0.2"));
    }

    void listChangesFromAnotherThreadHappenOnThisThread()
    {
        KesDevice* office = Add(QStringLiteral("Office"), kId1);
        Add(QStringLiteral("Store"), kId2);
        m_Seen.clear();
        QThread* signalThread = nullptr;
        connect(g_DeviceManage, &DeviceManage::DeviceListChanged, this,
                [&](DeviceManageEvent, KesDevice*, int) { signalThread = QThread::currentThread(); },
                Qt::DirectConnection);
        std::atomic<bool> done{false};
        bool removed = false;
        bool updated = false;
        std::thread worker([&] {
            office->UserName = QStringLiteral("night");
            updated = DeviceManage::UpdateDevice(office);
            removed = DeviceManage::RemoveDevice(1);
            done = true;
        });
        QTRY_VERIFY(done);
        worker.join();
        QVERIFY(updated && removed);
        QCOMPARE(signalThread, QThread::currentThread());
        QCOMPARE(m_Seen.size(), 2);
        QCOMPARE(m_Seen[1].Event, DeviceRemoved);
        QCOMPARE(m_Seen[1].Name, QStringLiteral("Store"));
    }

    // --- local device list ---

    void localListFixtures_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<bool>("loaded");
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QString>("firstId");
        QTest::addColumn<int>("firstDigit");
        QTest::addColumn<int>("firstChannels");
        QTest::newRow("one empty entry") << QByteArray(R"({"4B000000000000000001": {}})") << true << QStringList()
                                         << QString() << 0 << 0;
        QTest::newRow("two IDs with one name: the later ID")
            << QByteArray(R"({"4B000000000000000002": {"Name": "Office", "Channels": 4, "CircuitOutNum": 57},
                              "4B000000000000000001": {"Name": "Office", "Channels": 8, "CircuitOutNum": 35}})")
            << true << QStringList{"Office"} << kId2 << 57 << 4;
        QTest::newRow("digit as a signed character code")
            << QByteArray(R"({"4B000000000000000001": {"Name": "Office", "Channels": 4, "CircuitOutNum": 176}})")
            << true << QStringList{"Office"} << kId1 << -80 << 4;
        QTest::newRow("missing keys") << QByteArray(R"({"4B000000000000000001": {"Channels": 2}})") << true
                                      << QStringList{""} << kId1 << 0 << 2;
        QTest::newRow("channels above 64 held to 64")
            << QByteArray(R"({"4B000000000000000001": {"Name": "Office", "Channels": 1000}})") << true
            << QStringList{"Office"} << kId1 << 0 << 64;
        QTest::newRow("negative channels held to 0")
            << QByteArray(R"({"4B000000000000000001": {"Name": "Office", "Channels": -3}})") << true
            << QStringList{"Office"} << kId1 << 0 << 0;
        QTest::newRow("not JSON") << QByteArray("{{") << false << QStringList() << QString() << 0 << 0;
    }

    void localListFixtures()
    {
        QFETCH(QByteArray, file);
        QFETCH(bool, loaded);
        QFETCH(QStringList, names);
        QFile out(m_Backup->path() + QStringLiteral("/LocalDeviceList"));
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write(file);
        out.close();
        QCOMPARE(DeviceManage::LoadLocalDeviceList(), loaded);
        QCOMPARE(DeviceManage::LocalDeviceNames(), names);
        QCOMPARE(m_Seen.size(), loaded ? 1 : 0);
        if (loaded)
            QCOMPARE(m_Seen[0].Event, LocalDeviceChanged);
        if (names.isEmpty())
            return;
        const LocalDeviceInfo* info = DeviceManage::GetLocalDevice(names[0]);
        QVERIFY(info);
        QTEST(info->ID, "firstId");
        QTEST(static_cast<int>(info->CircuitOutNum), "firstDigit");
        QTEST(info->Channels, "firstChannels");
        for (bool flag : info->ChannelFlags)
            QVERIFY(flag);
    }

    void localEntriesTakeTheDigitAsACharacterCode()
    {
        KesDevice* office = Add(QStringLiteral("Office"), kId1);
        KesDevice* store = Add(QStringLiteral("Store"), kId2);
        CalvoxAPI_BaseSetting(office->Handle)->Bytes[4] = '9';
        CalvoxAPI_BaseSetting(store->Handle)->Bytes[4] = 0;
        m_Seen.clear();
        QVERIFY(DeviceManage::AddLocalDevice(office));
        QVERIFY(DeviceManage::AddLocalDevice(store));
        QCOMPARE(m_Seen.size(), 2);
        const QJsonObject file = ReadJson(m_Backup->path() + QStringLiteral("/LocalDeviceList"));
        QCOMPARE(file.value(kId1).toObject(), (QJsonObject{{"Name", "Office"}, {"Channels", 4}, {"CircuitOutNum", 57}}));
        QCOMPARE(file.value(kId2).toObject().value("CircuitOutNum").toInt(), 0);
        QCOMPARE(DeviceManage::GetLocalDevice(QStringLiteral("Office"))->CircuitOutNum, int8_t('9'));

        // A name the map holds already: the file entry is rewritten, the map entry and the signal are not.
        LocalDeviceInfo* entry = DeviceManage::GetLocalDevice(QStringLiteral("Office"));
        entry->ChannelFlags[2] = false;
        CalvoxAPI_BaseSetting(office->Handle)->Bytes[4] = '#';
        m_Seen.clear();
        QVERIFY(DeviceManage::AddLocalDevice(office));
        QVERIFY(m_Seen.isEmpty());
        QCOMPARE(ReadJson(m_Backup->path() + QStringLiteral("/LocalDeviceList")).value(kId1).toObject()
                     .value("CircuitOutNum").toInt(), 35);
        QCOMPARE(DeviceManage::GetLocalDevice(QStringLiteral("Office")), entry);
        QCOMPARE(entry->CircuitOutNum, int8_t('9'));
        QVERIFY(!entry->ChannelFlags[2]);

    }

    void updateTouchesOnlyListedDevicesAndFollowsARename()
    {
        KesDevice* office = Add(QStringLiteral("Office"), kId1);
        KesDevice* store = Add(QStringLiteral("Store"), kId2);
        QVERIFY(DeviceManage::AddLocalDevice(office));
        const QString listPath = m_Backup->path() + QStringLiteral("/LocalDeviceList");
        QFile file(listPath);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray content = file.readAll();
        file.close();
        QVERIFY(!DeviceManage::UpdateLocalDevice(store));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), content);
        file.close();

        // Renamed through UpdateDevice: the file keeps the ID with the new name; the map gains the new name and
        // keeps the old one until it is loaded again.
        CalvoxAPI_BaseSetting(office->Handle)->Bytes[4] = '0';
        office->SetName(QStringLiteral("Head office"));
        m_Seen.clear();
        QVERIFY(DeviceManage::UpdateDevice(office));
        QCOMPARE(ReadJson(listPath).value(kId1).toObject().value("Name").toString(), QStringLiteral("Head office"));
        QCOMPARE(DeviceManage::LocalDeviceNames(), (QStringList{"Head office", "Office"}));
        QCOMPARE(m_Seen.size(), 2);
        QCOMPARE(m_Seen[0].Event, LocalDeviceChanged);
        QCOMPARE(m_Seen[1].Event, DeviceChanged);
        QCOMPARE(DeviceManage::GetLocalDevice(QStringLiteral("Head office"))->CircuitOutNum, int8_t('0'));
        QVERIFY(!DeviceManage::GetLocalDevice(QStringLiteral("Nobody")));
    }

    void localListWithoutABackupFolderWritesNothing()
    {
        KesDevice* office = Add(QStringLiteral("Office"), kId1);
        g_SoftwareSetting.BackupPath.clear();
        const QString stray = QDir::current().filePath(QStringLiteral("LocalDeviceList"));
        const bool strayBefore = QFile::exists(stray);
        QVERIFY(!DeviceManage::LoadLocalDeviceList());
        QVERIFY(!DeviceManage::AddLocalDevice(office));
        QVERIFY(!DeviceManage::UpdateLocalDevice(office));
        QCOMPARE(QFile::exists(stray), strayBefore);
        QVERIFY(DeviceManage::LocalDeviceNames().isEmpty());
        // A folder that does not exist.
        g_SoftwareSetting.BackupPath = m_Backup->path() + QStringLiteral("/missing/");
        QVERIFY(!DeviceManage::AddLocalDevice(office));
        QVERIFY(DeviceManage::LocalDeviceNames().isEmpty());
    }

    void notJsonIsReplacedByAnAdd()
    {
        KesDevice* office = Add(QStringLiteral("Office"), kId1);
        const QString listPath = m_Backup->path() + QStringLiteral("/LocalDeviceList");
        QFile file(listPath);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("garbage");
        file.close();
        QVERIFY(!DeviceManage::UpdateLocalDevice(office));
        QVERIFY(DeviceManage::AddLocalDevice(office));
        QCOMPARE(ReadJson(listPath).keys(), QStringList{kId1});
    }

    void backupThreadAddsWhileTheGuiReadsAndUpdates()
    {
        QList<KesDevice*> devices;
        for (int i = 0; i < 6; ++i)
            devices << Add(QStringLiteral("Device %1").arg(i), QStringLiteral("4B0000000000000000%1").arg(i, 2, 10, QLatin1Char('0')));
        std::atomic<bool> done{false};
        std::thread backup([&] {
            for (int round = 0; round < 20; ++round) {
                for (KesDevice* device : devices)
                    DeviceManage::AddLocalDevice(device);
            }
            done = true;
        });
        while (!done) {
            for (const QString& name : DeviceManage::LocalDeviceNames()) {
                LocalDeviceInfo copy;
                QVERIFY(DeviceManage::CopyLocalDevice(name, &copy));
                QCOMPARE(copy.Channels, 4);
            }
            DeviceManage::UpdateLocalDevice(devices[0]);
            QCoreApplication::processEvents();
        }
        backup.join();
        QCOMPARE(DeviceManage::LocalDeviceNames().size(), 6);
        QCOMPARE(ReadJson(m_Backup->path() + QStringLiteral("/LocalDeviceList")).size(), 6);
    }
};

// No GUI: the offscreen platform plugin leaves its screen allocated at exit, which the leak checker reports.
QTEST_GUILESS_MAIN(TestDeviceManage)
#include "tst_device_manage.moc"
