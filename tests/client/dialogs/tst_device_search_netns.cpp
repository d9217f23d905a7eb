// The page's search over a real network: this program's GUI thread enters a network namespace of its own before
// any thread exists, so the search thread and every SDK thread inherit it; an emulated recorder listens on
// 0.0.0.0:6066 in a second namespace behind a veth pair. The search broadcasts through the veth only: nothing
// leaves this machine. Found, registered from its row, logged in to; searched again before and after its
// deletion; and the page deleted in the middle of a search. Skipped where the namespaces cannot be made.

#include "DeviceDialogFixture.h"
#include "DeviceManageForm.h"
#include "KesDevice.h"
#include "NamespaceThread.h"
#include "RegisterDeviceForm.h"
#include "ZButton.h"
#include "ZLineEdit.h"
#include "ZProgressBar.h"

#include "EmuSearch.h"
#include "Emulator.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QToolTip>

#include <arpa/inet.h>
#include <ifaddrs.h>

namespace emu = calvox::emu;

namespace {

const char* const kRecorderId = "8B000000000000000123";  // KES32xxH, 64 channels
const QString kFoundRow = QStringLiteral("|KES32xxH|64|10.213.7.1|6066|8B000000000000000123|2.0.7.8");
const std::string kPath = "PATH=/usr/sbin:/sbin:/usr/bin:/bin ";

// Set by main before the application exists: whether this thread now has a network namespace of its own.
bool g_Isolated = false;
std::string g_IsolationError;

QStringList InterfaceNames()
{
    QStringList names;
    ifaddrs* list = nullptr;
    if (getifaddrs(&list) != 0)
        return {QStringLiteral("<getifaddrs failed>")};
    for (ifaddrs* a = list; a != nullptr; a = a->ifa_next) {
        const QString name = QString::fromLocal8Bit(a->ifa_name);
        if (!names.contains(name))
            names << name;
    }
    freeifaddrs(list);
    names.sort();
    return names;
}

}  // namespace

class TestDeviceSearchNetns : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<NamespaceThread> m_RecorderSide;
    std::unique_ptr<emu::Emulator> m_Emulator;
    emu::Recorder* m_Recorder = nullptr;
    std::unique_ptr<DevicePageProgram> m_Program;
    DeviceManageForm* m_Page = nullptr;

    template <class T>
    T* Child(const char* name) const
    {
        return m_Program->Child<T>(name);
    }
    ZGridList* Found() const { return Child<ZGridList>("SearchDeviceGridList"); }
    ZProgressBar* Bar() const { return Child<ZProgressBar>("SearchDeviceProgressBar"); }
    RegisterDeviceForm* Editor() const { return m_Page->findChild<RegisterDeviceForm*>(); }
    ZButton* EditorButton(const char* name) const { return Editor()->findChild<ZButton*>(QLatin1String(name)); }
    ZLineEdit* EditorField(const char* name) const { return Editor()->findChild<ZLineEdit*>(QLatin1String(name)); }

    void PressSearch() { QTest::mouseClick(Child<ZButton>("SearchDeviceButton"), Qt::LeftButton); }

    // Presses Search and waits until the search has ended (the bar hidden again); false when none started.
    bool Search()
    {
        PressSearch();
        if (!Bar()->isVisible())
            return false;
        QElapsedTimer waited;
        waited.start();
        while (Bar()->isVisible() && waited.elapsed() < 30000)
            QTest::qWait(10);
        return !Bar()->isVisible();
    }

    size_t SearchRequests() const { return m_Recorder->CountRequests(1); }

private slots:
    void initTestCase()
    {
        if (!g_Isolated)
            QSKIP(qPrintable(QStringLiteral("network namespaces cannot be made here (%1)")
                                 .arg(QString::fromStdString(g_IsolationError))));
        m_RecorderSide = std::make_unique<NamespaceThread>();
        QVERIFY2(m_RecorderSide->Error().empty(), m_RecorderSide->Error().c_str());
        if (m_RecorderSide->Shell(kPath + "ip link add cvxrec type veth peer name cvxsrch netns " +
                                  std::to_string(getpid())) != 0)
            QSKIP("a veth pair cannot be made here (ip link add ... type veth failed)");
        QCOMPARE(m_RecorderSide->Shell(kPath + "ip link set lo up && ip addr add 10.213.7.1/24 dev cvxrec && "
                                               "ip link set cvxrec up"),
                 0);
        // This thread's namespace; the limited broadcast needs a route, and the default one leads out of the veth.
        QCOMPARE(std::system((kPath + "ip link set lo up && ip addr add 10.213.7.2/24 dev cvxsrch && "
                                      "ip link set cvxsrch up && ip route add default dev cvxsrch")
                                 .c_str()),
                 0);
        QCOMPARE(InterfaceNames(), (QStringList{"cvxsrch", "lo"}));

        m_Emulator = std::make_unique<emu::Emulator>();
        m_RecorderSide->Run([this] {
            emu::RecorderConfig config;
            config.id = kRecorderId;
            config.bindAddress = "0.0.0.0";  // broadcasts arrive for the any-address only
            config.port = 6066;
            m_Recorder = m_Emulator->Add(config);
        });
        QVERIFY(m_Recorder);
        std::lock_guard<std::mutex> lock(m_Recorder->StateMutex());
        m_Recorder->State<emu::SearchIdentity>().advertisedAddress = inet_addr("10.213.7.1");
        m_Recorder->State<emu::SearchIdentity>().firmwareVersion = 0x02000708;
    }
    void cleanupTestCase()
    {
        if (m_Emulator)
            m_Emulator->Stop();
        m_Emulator.reset();
        m_RecorderSide.reset();
    }
    void init()
    {
        m_Program = std::make_unique<DevicePageProgram>();
        m_Page = m_Program->Page;
    }
    void cleanup() { m_Program.reset(); }

    // Found, registered from its row (ID locked), logged in to at the address the search gave; the next search
    // shows it registered, and after its deletion no more.
    void searchRegisterLoginDelete()
    {
        PressSearch();
        QVERIFY(Bar()->isVisible());
        QTRY_COMPARE_WITH_TIMEOUT(GridRows(Found()), QStringList{QStringLiteral("No") + kFoundRow}, 20000);
        // Search again while the search runs: nothing is cleared or reset.
        QTRY_VERIFY(Bar()->Value() > 0);
        const int progress = Bar()->Value();
        PressSearch();
        QVERIFY(Bar()->Value() >= progress);
        QCOMPARE(GridRows(Found()).size(), 1);
        QTRY_VERIFY_WITH_TIMEOUT(!Bar()->isVisible(), 30000);
        QCOMPARE(Bar()->Value(), 100);

        // Register it from its row.
        bool idLocked = false;
        QString idShown;
        When(this, [this] { return Editor()->isVisible(); }, [&] {
            idLocked = !EditorField("DeviceIDLineEdit")->isEnabled();
            idShown = EditorField("DeviceIDLineEdit")->Text();
            QTest::keyClicks(EditorField("DeviceNameLineEdit"), QStringLiteral("Lab"));
            QTest::mouseClick(EditorButton("RegisterButton"), Qt::LeftButton);
        });
        TipCatcher tips([this] { return GridRows(Found()).value(0).section('|', 0, 0); });
        const QPoint row = RowPoint(Found(), 0);
        HoverAt(Found(), row);
        QTest::mouseDClick(Found(), Qt::LeftButton, Qt::NoModifier, row);
        QTRY_COMPARE(tips.Seen, QStringList{"Operation completely / No"});  // "Yes" once the message closed
        QVERIFY(idLocked);
        QCOMPARE(idShown, QString::fromLatin1(kRecorderId));
        QCOMPARE(GridRows(Found()), QStringList{QStringLiteral("Yes") + kFoundRow});
        QCOMPARE(GridRows(Child<ZGridList>("RegisteredGridList")),
                 QStringList{QStringLiteral("Lab") + kFoundRow});

        QFile file(m_Program->DataFile(QStringLiteral("Devices/") + QString::fromLatin1(kRecorderId)));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QJsonObject stored = QJsonDocument::fromJson(file.readAll()).object();
        QCOMPARE(stored.value("IPaddress").toString(), QStringLiteral("10.213.7.1"));
        QCOMPARE(stored.value("Port").toInt(), 6066);
        QCOMPARE(stored.value("Version").toString(), QStringLiteral("2.0.7.8"));

        KesDevice* device = DeviceManage::GetDevice(0);
        QVERIFY(device);
        device->UserName = device->Password = QStringLiteral("admin");
        m_Recorder->ClearLog();
        QCOMPARE(device->Login(), 0);
        bool loginFromSearcher = false;
        for (const emu::LoggedRequest& request : m_Recorder->Log())
            loginFromSearcher |= request.command == 3 && request.from.sin_addr.s_addr == inet_addr("10.213.7.2");
        QVERIFY(loginFromSearcher);

        // Searched again: registered. Its row's Register item opens the editor, which refuses the ID.
        QVERIFY(Search());
        QCOMPARE(GridRows(Found()), QStringList{QStringLiteral("Yes") + kFoundRow});
        QString refusal;
        When(this, [this] { return Editor()->isVisible(); }, [&] {
            QTest::keyClicks(EditorField("DeviceNameLineEdit"), QStringLiteral("Lab 2"));
            QTest::mouseClick(EditorButton("RegisterButton"), Qt::LeftButton);
            refusal = QToolTip::text();
            QTest::mouseClick(EditorButton("CancelButton"), Qt::LeftButton);
        });
        SelectRow(Found(), 0);
        When(this, [] { return Shown<ZMenu>() != nullptr; }, [] { ChooseMenuItem(Shown<ZMenu>(), 0); });
        HoverAt(Found(), row);
        QTest::mouseClick(Found(), Qt::RightButton, Qt::NoModifier, row);
        QTRY_COMPARE(refusal, QStringLiteral("Device has been registered"));
        QCOMPARE(DeviceManage::DeviceCount(), 1);

        // Deleted from the registered grid's menu; the search rows stay until the next search.
        ZGridList* registered = Child<ZGridList>("RegisteredGridList");
        SelectRow(registered, 0);
        When(this, [] { return Shown<ZMenu>() != nullptr; }, [] { ChooseMenuItem(Shown<ZMenu>(), 1); });
        HoverAt(registered, RowPoint(registered, 0));
        QTest::mouseClick(registered, Qt::RightButton, Qt::NoModifier, RowPoint(registered, 0));
        QTRY_COMPARE(tips.Seen.size(), 2);
        QCOMPARE(tips.Seen.at(1).section(" / ", 0, 0), QStringLiteral("Operation completely"));
        QCOMPARE(DeviceManage::DeviceCount(), 0);
        QCOMPARE(GridRows(Found()), QStringList{QStringLiteral("Yes") + kFoundRow});
        QVERIFY(Search());
        QCOMPARE(GridRows(Found()), QStringList{QStringLiteral("No") + kFoundRow});
    }

    // Deleting the page while it searches returns only after the search has ended: no request leaves after it.
    void deletingThePageMidSearch()
    {
        PressSearch();
        QTRY_VERIFY_WITH_TIMEOUT(GridRows(Found()).size() == 1, 20000);
        QVERIFY(Bar()->isVisible());
        QElapsedTimer took;
        took.start();
        delete m_Page;
        m_Page = m_Program->Page = nullptr;
        const size_t requests = SearchRequests();
        QTest::qWait(300);
        QCOMPARE(SearchRequests(), requests);
        QVERIFY(took.elapsed() > 0);
    }
};

int main(int argc, char** argv)
{
    // Before any thread exists: every thread this program starts inherits the namespace.
    if (::unshare(CLONE_NEWNET) == 0)
        g_Isolated = true;
    else
        g_IsolationError = std::string("unshare(CLONE_NEWNET): ") + std::strerror(errno);
    QApplication app(argc, argv);
    TestDeviceSearchNetns test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_device_search_netns.moc"
