// The device management page as the operator meets it: the registered grid following the device list, adding a
// device by hand through the editor, the registered grid's menu (edit, delete under the wait panel against an
// emulated recorder that is logged in), and the placement of the grids on resize. The search is tested in
// tst_device_search_netns, inside network namespaces of its own.

#include "DeviceDialogFixture.h"
#include "DeviceManageForm.h"
#include "KesDevice.h"
#include "RegisterDeviceForm.h"
#include "ZButton.h"
#include "ZLineEdit.h"
#include "ZPanel.h"
#include "ZProgressBar.h"

#include "Emulator.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSignalSpy>

namespace emu = calvox::emu;

namespace {

const QString kIdA = QStringLiteral("4B000000000000000061");  // KES2204S, 4 channels
const QString kIdB = QStringLiteral("6A000000000000000062");  // KES2216H, 16 channels
const QString kIdC = QStringLiteral("4B000000000000000063");

// A registered device's row as the page shows it.
QString Row(const QString& name, const QString& model, int channels, const QString& address, const QString& port,
            const QString& id, const QString& version)
{
    return QStringList{name, model, QString::number(channels), address, port, id, version}.join(QLatin1Char('|'));
}

}  // namespace

class TestDeviceManageForm : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<DevicePageProgram> m_Program;
    DeviceManageForm* m_Page = nullptr;

    template <class T>
    T* Child(const char* name) const
    {
        return m_Program->Child<T>(name);
    }
    ZGridList* Registered() const { return Child<ZGridList>("RegisteredGridList"); }
    RegisterDeviceForm* Editor() const { return m_Page->findChild<RegisterDeviceForm*>(); }

    KesDevice* Register(const QString& name, const QString& id)
    {
        KesDevice* device = KesDevice::Create(name, id);
        if (device != nullptr && !DeviceManage::AddDevice(device)) {
            delete device;
            return nullptr;
        }
        return device;
    }

    // Clicks the add button and, in the editor, types the ID and the name and presses Register (or Cancel).
    void AddByHand(const QString& id, const QString& name, bool cancel = false)
    {
        When(this, [this] { return Editor()->isVisible(); }, [=] {
            QTest::keyClicks(Editor()->findChild<ZLineEdit*>(QStringLiteral("DeviceIDLineEdit")), id);
            QTest::keyClicks(Editor()->findChild<ZLineEdit*>(QStringLiteral("DeviceNameLineEdit")), name);
            QTest::mouseClick(Editor()->findChild<ZButton*>(cancel ? QStringLiteral("CancelButton")
                                                                    : QStringLiteral("RegisterButton")),
                              Qt::LeftButton);
        });
        QTest::mouseClick(Child<ZButton>("AddDeviceButton"), Qt::LeftButton);
    }

    // Right-clicks row `row` of the registered grid (-1: below the rows) and chooses menu item `item` (-1:
    // dismisses the menu), after `meanwhile` ran with the menu open. True when a menu opened.
    bool RightClickRegistered(int row, int item, std::function<void()> meanwhile = {})
    {
        return RightClick(Registered(), row, item, meanwhile);
    }
    bool RightClick(ZGridList* grid, int row, int item, std::function<void()> meanwhile = {})
    {
        if (row >= 0)
            SelectRow(grid, row);
        bool opened = false;
        When(this, [] { return Shown<ZMenu>() != nullptr; }, [&opened, item, meanwhile] {
            opened = true;
            if (meanwhile)
                meanwhile();
            ZMenu* menu = Shown<ZMenu>();
            if (item >= 0)
                ChooseMenuItem(menu, item);
            else
                menu->close();
        }, 300);
        const QPoint at = row >= 0 ? RowPoint(grid, row) : QPoint(30, grid->height() - 5);
        HoverAt(grid, at);
        QTest::mouseClick(grid, Qt::RightButton, Qt::NoModifier, at);
        QTest::qWait(350);  // a menu would have opened by now
        return opened;
    }

    // Replaces the device index file by a folder, so that writing it fails.
    void BlockDeviceIndex()
    {
        const QString index = m_Program->DataFile(QStringLiteral("Devices/DeviceIndex"));
        QFile::remove(index);
        QVERIFY(QDir().mkpath(index + QStringLiteral("/keep")));
    }

private slots:
    void initTestCase()
    {
        if (qEnvironmentVariableIsEmpty("CALVOX_TIME_SCALE"))
            qputenv("CALVOX_TIME_SCALE", "0.2");
    }
    void init()
    {
        m_Program = std::make_unique<DevicePageProgram>();
        m_Page = m_Program->Page;
    }
    void cleanup() { m_Program.reset(); }

    // Every change of the device list reaches the grid in order; an index outside the rows changes nothing.
    void gridFollowsTheDeviceList_data()
    {
        QTest::addColumn<QString>("script");
        QTest::addColumn<QStringList>("rows");
        const QString a = Row("Front", "KES2204S", 4, "", "", kIdA, "");
        const QString b = Row("Back", "KES2216H", 16, "", "", kIdB, "");
        const QString c = Row("Store", "KES2204S", 4, "", "", kIdC, "");
        const QString bChanged = Row("Back Office", "KES2216H", 16, "10.0.0.9", "6066", kIdB, "3.1.0.0");
        // +: add A, B or C; ~1: device 1 renamed, readdressed and upgraded; -i: remove device i; L: a local
        // device change; c9 / r9 / r-1: a change or a removal announced for an index outside the rows.
        QTest::newRow("add") << "+A +B +C" << QStringList{a, b, c};
        QTest::newRow("change") << "+A +B +C ~1" << QStringList{a, bChanged, c};
        QTest::newRow("remove middle") << "+A +B +C -1" << QStringList{a, c};
        QTest::newRow("remove first, add") << "+A +B -0 +C" << QStringList{b, c};
        QTest::newRow("local device change") << "+A +B L" << QStringList{a, b};
        QTest::newRow("change out of range") << "+A +B c2 c-1" << QStringList{a, b};
        QTest::newRow("remove out of range") << "+A +B r2 r-1" << QStringList{a, b};
    }
    void gridFollowsTheDeviceList()
    {
        QFETCH(QString, script);
        QFETCH(QStringList, rows);
        const QMap<QString, QPair<QString, QString>> devices{
            {"A", {"Front", kIdA}}, {"B", {"Back", kIdB}}, {"C", {"Store", kIdC}}};
        for (const QString& step : script.split(QLatin1Char(' '))) {
            const QString arg = step.mid(1);
            switch (step.at(0).toLatin1()) {
            case '+':
                QVERIFY(Register(devices[arg].first, devices[arg].second));
                break;
            case '~': {
                KesDevice* device = DeviceManage::GetDevice(arg.toInt());
                device->SetName(QStringLiteral("Back Office"));
                device->SetNetAddr(QStringLiteral("10.0.0.9"), 6066);
                device->Version = QStringLiteral("3.1.0.0");
                QVERIFY(DeviceManage::UpdateDevice(device));
                break;
            }
            case '-':
                QVERIFY(DeviceManage::RemoveDevice(arg.toInt()));
                break;
            case 'L':
                emit g_DeviceManage->DeviceListChanged(LocalDeviceChanged, nullptr, 0);
                break;
            case 'c':
                emit g_DeviceManage->DeviceListChanged(DeviceChanged, DeviceManage::GetDevice(0), arg.toInt());
                break;
            case 'r':
                emit g_DeviceManage->DeviceListChanged(DeviceRemoved, DeviceManage::GetDevice(0), arg.toInt());
                break;
            }
        }
        QCOMPARE(GridRows(Registered()), rows);
    }

    // The texts come from the language: column headers and menu items.
    void textsFromTheLanguage()
    {
        QStringList headers;
        for (const ZGridListColumn& column : Registered()->Columns)
            headers << column.Text;
        QCOMPARE(headers.join('|'), QStringLiteral("Device Name|Model|Channel|IP Address|Port|Device ID|Firmware Version"));
        headers.clear();
        for (const ZGridListColumn& column : Child<ZGridList>("SearchDeviceGridList")->Columns)
            headers << column.Text;
        QCOMPARE(headers.join('|'), QStringLiteral("Registered|Model|Channel|IP Address|Port|Device ID|Firmware Version"));
        ZMenu* menu = Child<ZMenu>("RegisteredDeviceGridListMenu");
        QCOMPARE(menu->ItemCount(), 2);
        QCOMPARE(menu->Item(0)->Text, QStringLiteral("Edit "));
        QCOMPARE(menu->Item(1)->Text, QStringLiteral("Delete"));
        QCOMPARE(Child<ZMenu>("SearchDeviceGridListMenu")->Item(0)->Text, QStringLiteral("Register"));
    }

    // A new theme colour reaches the strip's buttons (with their hover and press shades), the headings, the
    // grids' top lines and the search bar.
    void skinColoursThePage()
    {
        const QColor theme(200, 60, 90);
        Skin::SetThemeColor(theme);
        emit g_Skin->SkinChanged();
        for (const char* name : {"AddDeviceButton", "SearchDeviceButton"}) {
            ZButton* button = Child<ZButton>(name);
            QCOMPARE(button->BackColor(), theme);
            QCOMPARE(button->BackColorHover(), QColor(200, 60, 90, 200));
            QCOMPARE(button->BackColorPress(), QColor(200, 60, 90, 100));
        }
        QCOMPARE(Child<ZLabel>("Label1")->ForeColor(), theme);
        QCOMPARE(Child<ZLabel>("Label2")->ForeColor(), theme);
        QCOMPARE(Registered()->BorderColor(), theme);
        QCOMPARE(Child<ZGridList>("SearchDeviceGridList")->BorderColor(), theme);
        QCOMPARE(Child<ZProgressBar>("SearchDeviceProgressBar")->ForeColor(), theme);
        QCOMPARE(m_Page->BackColor(), QColor(Qt::white));  // the page keeps its own
    }

    // A device typed in by hand gets a row without address and port; the message shows once the row is there.
    // When the index cannot be written the add fails: no row, and the device made for it is deleted again
    // (its SDK connection with it: the handle the SDK gave it is stale afterwards).
    void addByHand_data()
    {
        QTest::addColumn<bool>("indexWritable");
        QTest::newRow("added") << true;
        QTest::newRow("index unwritable") << false;
    }
    void addByHand()
    {
        QFETCH(bool, indexWritable);
        if (!indexWritable)
            BlockDeviceIndex();
        // Handles count up and are never reused: the page's device gets the next one.
        KesDevice* probe = KesDevice::Create(QStringLiteral("probe"), kIdC);
        QVERIFY(probe);
        const Calvox_DeviceHandle pageHandle = probe->Handle + 1;
        delete probe;

        TipCatcher tips([this] { return QString::number(Registered()->DataSource()->Rows.size()); });
        AddByHand(QStringLiteral("  ") + kIdA, QStringLiteral("Front "));
        QTRY_COMPARE(tips.Seen.size(), 1);
        if (indexWritable) {
            QCOMPARE(tips.Seen, QStringList{"Operation completely / 1"});
            QCOMPARE(GridRows(Registered()), QStringList{Row("Front", "KES2204S", 4, "", "", kIdA, "")});
            QCOMPARE(DeviceManage::GetDevice(0)->Handle, pageHandle);
            QVERIFY(QFile::exists(m_Program->DataFile(QStringLiteral("Devices/") + kIdA)));
        } else {
            QCOMPARE(tips.Seen, QStringList{"Operation failed / 0"});
            QCOMPARE(GridRows(Registered()), QStringList());
            QCOMPARE(DeviceManage::DeviceCount(), 0);
            QVERIFY(CalvoxAPI_DeviceID(pageHandle) == nullptr);
            QVERIFY(CalvoxAPI_DeviceID(pageHandle + 1) == nullptr);  // nothing else was made
        }
    }

    void cancellingTheEditorAddsNothing()
    {
        TipCatcher tips;
        AddByHand(kIdA, QStringLiteral("Front"), true);
        QTest::qWait(50);
        QCOMPARE(tips.Seen, QStringList());
        QCOMPARE(DeviceManage::DeviceCount(), 0);
        QCOMPARE(GridRows(Registered()), QStringList());
    }

    // Edit from the menu and a double click both ask the main window for the device of that row; without a
    // selected row no menu opens.
    void editRequests()
    {
        QVERIFY(Register(QStringLiteral("Front"), kIdA));
        QVERIFY(Register(QStringLiteral("Back"), kIdB));
        QSignalSpy edits(m_Page, &DeviceManageForm::EditDevice);
        QVERIFY(RightClickRegistered(1, 0));
        const QPoint at = RowPoint(Registered(), 0);
        HoverAt(Registered(), at);
        QTest::mouseDClick(Registered(), Qt::LeftButton, Qt::NoModifier, at);
        QCOMPARE(edits.size(), 2);
        QCOMPARE(edits.at(0).at(0).toInt(), 1);
        QCOMPARE(edits.at(1).at(0).toInt(), 0);

        QVERIFY(!RightClickRegistered(-1, -1));  // a press below the rows clears the selection
        QCOMPARE(Registered()->SelectedRowIndex(), -1);
        QVERIFY(RightClickRegistered(0, -1));    // dismissed: nothing happens
        QCOMPARE(edits.size(), 2);
        QCOMPARE(DeviceManage::DeviceCount(), 2);
        QVERIFY(!RightClick(Child<ZGridList>("SearchDeviceGridList"), -1, -1));  // nothing found, nothing chosen
    }

    // Deleting a device that is logged in to a recorder, its heartbeat running: no question, the removal runs
    // under the wait panel while the GUI keeps turning, receivers of the removal still read the device, the row
    // goes and the success message shows. With the index unwritable the device and its row stay.
    void deleteFromTheMenu_data()
    {
        QTest::addColumn<bool>("indexWritable");
        QTest::newRow("removed") << true;
        QTest::newRow("index unwritable") << false;
    }
    void deleteFromTheMenu()
    {
        QFETCH(bool, indexWritable);
        emu::Emulator emulator;
        emu::RecorderConfig config;
        config.id = kIdB.toStdString();
        config.port = 0;
        emu::Recorder* recorder = emulator.Add(config);
        QVERIFY(recorder);
        QVERIFY(Register(QStringLiteral("Front"), kIdA));
        QPointer<KesDevice> device = Register(QStringLiteral("Back"), kIdB);
        QVERIFY(device);
        device->SetNetAddr(QStringLiteral("127.0.0.1"), recorder->Port());
        device->UserName = device->Password = QStringLiteral("admin");
        QCOMPARE(device->Login(), 0);
        device->CreateHeartbeatThread();
        QVERIFY(recorder->WaitForRequests(4, 2, 5000));  // the heartbeat polls
        if (!indexWritable)
            BlockDeviceIndex();

        // The GUI thread keeps running timers while the device's threads are stopped.
        int ticks = 0;
        int ticksAfterRemoval = -1;
        QTimer gui;
        connect(&gui, &QTimer::timeout, this, [&] { ++ticks; });
        gui.start(1);
        QString removedName;
        connect(g_DeviceManage, &DeviceManage::DeviceListChanged, this,
                [&](DeviceManageEvent event, KesDevice* removed, int index) {
                    if (event == DeviceRemoved) {
                        removedName = QStringLiteral("%1@%2").arg(removed->Name).arg(index);
                        ticksAfterRemoval = ticks;
                        // The recorder falls silent: the heartbeat's poll in flight now retries while it stops.
                        emu::Faults silent;
                        silent.dropRequests = 1.0;
                        recorder->SetFaults(silent);
                    }
                });
        TipCatcher tips([&] { return QString::number(ticks - ticksAfterRemoval); });

        QVERIFY(RightClickRegistered(1, 1));
        QTRY_COMPARE(tips.Seen.size(), 1);
        if (indexWritable) {
            QCOMPARE(removedName, QStringLiteral("Back@1"));
            QVERIFY2(tips.Seen.at(0).startsWith("Operation completely / "), qPrintable(tips.Seen.at(0)));
            QVERIFY2(tips.Seen.at(0).section(" / ", 1).toInt() > 0, "no GUI timer ran while the device stopped");
            QCOMPARE(GridRows(Registered()), QStringList{Row("Front", "KES2204S", 4, "", "", kIdA, "")});
            QTRY_VERIFY(device.isNull());
        } else {
            QCOMPARE(removedName, QString());
            QCOMPARE(tips.Seen.at(0).section(" / ", 0, 0), QStringLiteral("Operation failed"));
            QCOMPARE(GridRows(Registered()).size(), 2);
            QCOMPARE(DeviceManage::GetDevice(1), device.data());
            QCOMPARE(CalvoxAPI_ConnectStatus(device->Handle), 2);
        }
    }

    // The list changes while the menu is open (a device loaded meanwhile): the row chosen is no longer the
    // one shown, so Delete does nothing rather than remove another device.
    void aListChangeUnderTheMenuCancelsTheChoice()
    {
        QVERIFY(Register(QStringLiteral("Front"), kIdA));
        QVERIFY(Register(QStringLiteral("Back"), kIdB));
        TipCatcher tips;
        QVERIFY(RightClickRegistered(1, 1, [this] { QVERIFY(Register(QStringLiteral("Store"), kIdC)); }));
        QCOMPARE(tips.Seen, QStringList());
        QCOMPARE(DeviceManage::DeviceCount(), 3);
        QCOMPARE(GridRows(Registered()).size(), 3);
    }

    // At the design size the grids and the strip take their design geometry; the bar sits centred over the
    // search rows at any size.
    void placementOnResize_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QRect>("registered");
        QTest::addColumn<QRect>("strip");
        QTest::addColumn<QRect>("search");
        QTest::addColumn<QPoint>("bar");
        QTest::newRow("design") << QSize(904, 540) << QRect(1, 40, 903, 225) << QRect(1, 265, 903, 50)
                                << QRect(1, 315, 903, 225) << QPoint(302, 435);
        QTest::newRow("larger, odd") << QSize(1201, 701) << QRect(1, 40, 1200, 305) << QRect(1, 345, 1200, 50)
                                     << QRect(1, 395, 1200, 306) << QPoint(451, 395 + 30 + (306 - 30 - 15) / 2);
    }
    void placementOnResize()
    {
        QFETCH(QSize, size);
        QFETCH(QRect, registered);
        QFETCH(QRect, strip);
        QFETCH(QRect, search);
        QFETCH(QPoint, bar);
        m_Page->resize(size);
        QCOMPARE(Registered()->geometry(), registered);
        QCOMPARE(Child<ZPanel>("Panel")->geometry(), strip);
        QCOMPARE(Child<ZGridList>("SearchDeviceGridList")->geometry(), search);
        QCOMPARE(Child<ZProgressBar>("SearchDeviceProgressBar")->pos(), bar);
        QCOMPARE(Child<ZProgressBar>("SearchDeviceProgressBar")->size(), QSize(300, 15));
    }
};

QTEST_MAIN(TestDeviceManageForm)
#include "tst_device_manage_form.moc"
