// The device tab bar as the main window uses it: it follows the real device list (DeviceManage with KesDevice
// objects), the language and the theme colour; the operator selects by clicking a tab or choosing from the
// device menu and scrolls with the arrows.

#include "DeviceDialogFixture.h"
#include "DeviceTabBar.h"
#include "KesDevice.h"
#include "LanguageTexts.h"
#include "Skin.h"
#include "ZButton.h"
#include "ZMenu.h"
#include "ZPanel.h"

#include <QSignalSpy>
#include <QtTest>

#include <memory>

namespace {

QString DeviceId(int n)
{
    return QStringLiteral("4B0000000000000000%1").arg(n, 2, 10, QLatin1Char('0'));
}

} // namespace

class TestDeviceTabBar : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<DeviceDialogProgram> m_Program;
    DeviceTabBar* m_Bar = nullptr;
    int m_Devices = 0;  // devices made so far: names and IDs never repeat within a test

    // A bar made as the main window makes it (before the language loads), then the language loaded.
    DeviceTabBar* MakeBar(bool allTab, int width = 270)
    {
        m_Bar = new DeviceTabBar(allTab, allTab ? &TextMisc005 : nullptr, m_Program->MainWindow.get());
        m_Bar->setGeometry(10, 40, width, m_Bar->height());
        m_Bar->show();
        Language::Load(QStringLiteral("English"));
        QCoreApplication::sendPostedEvents();  // the library lays the bar out from a posted event
        return m_Bar;
    }

    KesDevice* AddDevice()
    {
        ++m_Devices;
        KesDevice* device = KesDevice::Create(QStringLiteral("Recorder %1").arg(m_Devices), DeviceId(m_Devices));
        if (device == nullptr || !DeviceManage::AddDevice(device)) {
            delete device;
            return nullptr;
        }
        return device;
    }

    template <class T>
    T* Child(const char* name) const
    {
        return m_Bar->findChild<T*>(QLatin1String(name));
    }
    QWidget* Strip() const { return Child<QWidget>("ButtonStrip"); }
    ZPanel* Panel() const { return Child<ZPanel>("ContainerPanel"); }

    QString ButtonTexts() const
    {
        QStringList texts;
        for (ZButton* button : m_Bar->Buttons())
            texts << button->Text();
        return texts.join(QLatin1Char('|'));
    }

    QString MenuTexts() const
    {
        ZMenu* menu = Child<ZMenu>("MoreDeviceListMenu");
        QStringList texts;
        for (int i = 0; i < menu->ItemCount(); ++i)
            texts << menu->Item(i)->Text;
        return texts.join(QLatin1Char('|'));
    }

    // Indexes of the buttons that show the underline.
    QString Underlined() const
    {
        QStringList shown;
        const QList<ZButton*>& buttons = m_Bar->Buttons();
        for (int i = 0; i < buttons.size(); ++i) {
            if (buttons[i]->BorderWidth() > 0)
                shown << QString::number(i);
        }
        return shown.join(QLatin1Char(','));
    }

    // Where each button sits in the strip, and the strip's width, as "x,x,x/width".
    QString StripLayout() const
    {
        QStringList xs;
        for (ZButton* button : m_Bar->Buttons())
            xs << QString::number(button->x());
        return xs.join(QLatin1Char(',')) + QLatin1Char('/') + QString::number(Strip()->width());
    }

    void Hover(bool in)
    {
        QEvent event(in ? QEvent::Enter : QEvent::Leave);
        QCoreApplication::sendEvent(m_Bar, &event);
    }

    void Click(QWidget* widget) { QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier, QPoint(3, 5)); }

    // Runs one step of a sequence: "a" adds a device, "r<i>" removes device i, "n<i>" renames device i,
    // "s<i>" selects device index i through the bar ("sA": all devices), "k<b>" clicks button b.
    void Step(const QString& step)
    {
        const QChar op = step.at(0);
        const QString arg = step.mid(1);
        const int n = arg == QLatin1String("A") ? DeviceTabBar::AllDevices : arg.toInt();
        if (op == QLatin1Char('a')) {
            QVERIFY(AddDevice() != nullptr);
        } else if (op == QLatin1Char('r')) {
            QVERIFY(DeviceManage::RemoveDevice(n));
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        } else if (op == QLatin1Char('n')) {
            KesDevice* device = DeviceManage::GetDevice(n);
            QVERIFY(device != nullptr);
            device->SetName(device->Name + QStringLiteral(" new"));
            QVERIFY(DeviceManage::UpdateDevice(device));
        } else if (op == QLatin1Char('s')) {
            m_Bar->SetSelectedDeviceIndex(n);
        } else if (op == QLatin1Char('k')) {
            Click(m_Bar->Buttons().at(n));
        } else {
            QFAIL(qPrintable(QStringLiteral("unknown step ") + step));
        }
    }

private slots:
    void init()
    {
        m_Program = std::make_unique<DeviceDialogProgram>();
        m_Devices = 0;
    }

    void cleanup()
    {
        delete m_Bar;
        m_Bar = nullptr;
        m_Program.reset();
    }

    void sequences_data()
    {
        QTest::addColumn<bool>("allTab");
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QString>("emitted");
        QTest::addColumn<QString>("buttons");
        QTest::addColumn<QString>("underlined");

        // Without the all-devices button.
        QTest::newRow("first device selects itself, later ones do not")
            << false << "a a a" << "0" << "Recorder 1|Recorder 2|Recorder 3" << "0";
        QTest::newRow("selecting the selected index emits nothing")
            << false << "a a s1 s1" << "0 1" << "Recorder 1|Recorder 2" << "1";
        QTest::newRow("-1 clears the underline") << false << "a a s1 s-1" << "0 1 -1" << "Recorder 1|Recorder 2" << "";
        QTest::newRow("removing the last device") << false << "a r0" << "0 -1" << "" << "";
        QTest::newRow("removing the selected one selects the one before")
            << false << "a a a s2 r2" << "0 2 1" << "Recorder 1|Recorder 2" << "1";
        QTest::newRow("removing the selected first one selects the new first one")
            << false << "a a a r0" << "0 0" << "Recorder 2|Recorder 3" << "0";
        QTest::newRow("removing one in front shifts the selection")
            << false << "a a a s2 r0" << "0 2 1" << "Recorder 2|Recorder 3" << "1";
        QTest::newRow("removing one behind re-emits the selection")
            << false << "a a a s1 r2" << "0 1 1" << "Recorder 1|Recorder 2" << "1";
        QTest::newRow("removal with nothing selected re-emits none")
            << false << "a a s-1 r0" << "0 -1 -1" << "Recorder 2" << "";
        QTest::newRow("a click selects the button's device")
            << false << "a a a k2 k0" << "0 2 0" << "Recorder 1|Recorder 2|Recorder 3" << "0";
        QTest::newRow("renaming keeps the selection")
            << false << "a a s1 n1 n0" << "0 1" << "Recorder 1 new|Recorder 2 new" << "1";
        QTest::newRow("indexes that name no button change nothing")
            << false << "a a s2 sA s-5 s65534" << "0 -5" << "Recorder 1|Recorder 2" << "";
        QTest::newRow("a device added after all were removed selects itself")
            << false << "a r0 a" << "0 -1 0" << "Recorder 2" << "0";

        // With it: button 0 is all devices, button k device k - 1.
        QTest::newRow("all: adding selects nothing") << true << "a a" << "" << "All|Recorder 1|Recorder 2" << "";
        QTest::newRow("all: all devices is 0xffff") << true << "a sA" << "65535" << "All|Recorder 1" << "0";
        QTest::newRow("all: removing selected device 0 selects all devices")
            << true << "a a a s0 r0" << "0 65535" << "All|Recorder 2|Recorder 3" << "0";
        QTest::newRow("all: removing device 0 while device 3 is selected")
            << true << "a a a a s3 r0" << "3 2" << "All|Recorder 2|Recorder 3|Recorder 4" << "3";
        QTest::newRow("all: removing a device keeps all devices")
            << true << "a a sA r1" << "65535 65535" << "All|Recorder 1" << "0";
        QTest::newRow("all: removing the only device while it is selected")
            << true << "a s0 r0" << "0 65535" << "All" << "0";
        QTest::newRow("all: clicks") << true << "a a k0 k2 k1" << "65535 1 0" << "All|Recorder 1|Recorder 2" << "1";
        QTest::newRow("all: indexes that name no button change nothing")
            << true << "a s1 s65534" << "" << "All|Recorder 1" << "";
    }

    void sequences()
    {
        QFETCH(bool, allTab);
        QFETCH(QString, steps);
        QFETCH(QString, emitted);
        QFETCH(QString, buttons);
        QFETCH(QString, underlined);

        MakeBar(allTab);
        QSignalSpy spy(m_Bar, &DeviceTabBar::SelectedDeviceIndexChanged);
        for (const QString& step : steps.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
            Step(step);
            if (QTest::currentTestFailed())
                return;
        }
        QStringList seen;
        for (const QList<QVariant>& signal : spy)
            seen << QString::number(signal.at(0).toInt());
        QCOMPARE(seen.join(QLatin1Char(' ')), emitted);
        QCOMPARE(ButtonTexts(), buttons);
        QCOMPARE(Underlined(), underlined);
        // The menu lists the devices in list order, the bar's field tells the last value emitted.
        QStringList names;
        for (int i = 0; i < DeviceManage::DeviceCount(); ++i)
            names << DeviceManage::GetDevice(i)->Name;
        QCOMPARE(MenuTexts(), names.join(QLatin1Char('|')));
        if (!spy.isEmpty())
            QCOMPARE(m_Bar->SelectedDeviceIndex, spy.last().at(0).toInt());
    }

    // The all-devices caption comes from the language: nothing shows before the language loads.
    void allCaptionFollowsTheLanguage()
    {
        m_Bar = new DeviceTabBar(true, &TextMisc005, m_Program->MainWindow.get());
        QCOMPARE(ButtonTexts(), QString());
        QCOMPARE(Strip()->width(), 0);
        Language::Load(Language::Names().at(1));  // the second built-in language
        const QString chinese = TextMisc005;
        QVERIFY(!chinese.isEmpty() && chinese != QLatin1String("All"));
        QCOMPARE(ButtonTexts(), chinese);
        Language::Load(QStringLiteral("English"));
        QCOMPARE(ButtonTexts(), QStringLiteral("All"));
        ZButton* all = m_Bar->Buttons().at(0);
        QCOMPARE(all->width(), m_Bar->fontMetrics().horizontalAdvance(QStringLiteral("All")) + 10);
        QCOMPARE(Strip()->width(), all->width() + 10);
    }

    // Buttons follow one another 10 pixels apart; adding leaves the strip where it is, renaming and removing
    // arrange it again from its left end.
    void buttonsAreLaidOutInListOrder()
    {
        MakeBar(false);
        for (int i = 0; i < 6; ++i)
            QVERIFY(AddDevice() != nullptr);
        const QList<ZButton*>& buttons = m_Bar->Buttons();
        const int w = m_Bar->fontMetrics().horizontalAdvance(QStringLiteral("Recorder 1")) + 10;
        QCOMPARE(buttons.at(0)->size(), QSize(w, Strip()->height()));
        QCOMPARE(Strip()->height(), Panel()->height());
        QStringList expected;
        int x = 0;
        for (ZButton* button : buttons) {
            expected << QString::number(x);
            x += button->width() + 10;
        }
        QCOMPARE(StripLayout(), expected.join(QLatin1Char(',')) + QLatin1Char('/') + QString::number(x - 10));

        Hover(true);
        Click(Child<ZButton>("NextButton"));
        QVERIFY(Strip()->x() < 0);
        Step(QStringLiteral("n0"));
        QCOMPARE(Strip()->x(), 0);
        const int renamed = m_Bar->fontMetrics().horizontalAdvance(QStringLiteral("Recorder 1 new")) + 10;
        QCOMPARE(buttons.at(0)->width(), renamed);
        QCOMPARE(buttons.at(1)->x(), renamed + 10);
        QCOMPARE(Strip()->width(), x - w + renamed);  // arranged: 10 after every button, the last one too

        Click(Child<ZButton>("NextButton"));
        Step(QStringLiteral("r1"));
        QCOMPARE(Strip()->x(), 0);
        QCOMPARE(buttons.size(), 5);
        QCOMPARE(buttons.at(1)->x(), renamed + 10);
    }

    void arrowsFitTheBarWidth()
    {
        MakeBar(false, 270);
        QCOMPARE(Panel()->geometry(), QRect(25, 0, 200, 25));
        QCOMPARE(Child<ZButton>("PrevButton")->pos(), QPoint(0, 0));
        QCOMPARE(Child<ZButton>("NextButton")->pos(), QPoint(240, 0));
        QCOMPARE(Child<ZButton>("MoreDeviceButton")->pos(), QPoint(260, 0));

        m_Bar->resize(500, m_Bar->height());
        QCoreApplication::sendPostedEvents();
        QCOMPARE(Panel()->geometry(), QRect(25, 0, 430, 25));
        QCOMPARE(Child<ZButton>("MoreDeviceButton")->pos(), QPoint(490, 0));
    }

    void arrowsShowWhileTheMouseIsOverTheBar()
    {
        MakeBar(false);
        ZButton* arrows[] = {Child<ZButton>("PrevButton"), Child<ZButton>("NextButton"),
                             Child<ZButton>("MoreDeviceButton")};
        for (ZButton* arrow : arrows)
            QVERIFY(!arrow->isVisible());
        Hover(true);
        for (ZButton* arrow : arrows)
            QVERIFY(arrow->isVisible());
        Hover(false);
        for (ZButton* arrow : arrows)
            QVERIFY(!arrow->isVisible());
    }

    // Next moves by 100 until the strip's right end meets the panel's right edge; Prev back to the left end.
    void scrolling()
    {
        MakeBar(false, 270);
        for (int i = 0; i < 3; ++i)
            QVERIFY(AddDevice() != nullptr);
        Strip()->resize(450, Strip()->height());
        Hover(true);
        QStringList xs;
        for (int i = 0; i < 4; ++i) {
            Click(Child<ZButton>("NextButton"));
            xs << QString::number(Strip()->x());
        }
        for (int i = 0; i < 4; ++i) {
            Click(Child<ZButton>("PrevButton"));
            xs << QString::number(Strip()->x());
        }
        QCOMPARE(xs.join(QLatin1Char(' ')), QStringLiteral("-100 -200 -250 -250 -150 -50 0 0"));

        // A strip that fits does not move.
        Strip()->resize(200, Strip()->height());
        Click(Child<ZButton>("NextButton"));
        QCOMPARE(Strip()->x(), 0);
    }

    // Selecting a button scrolled out at the left brings it back to the left edge; one beyond the right edge
    // is left where it is.
    void selectingScrollsOnlyLeftwardButtonsIntoView()
    {
        MakeBar(false, 270);
        for (int i = 0; i < 8; ++i)
            QVERIFY(AddDevice() != nullptr);
        Hover(true);
        for (int i = 0; i < 20; ++i)
            Click(Child<ZButton>("NextButton"));
        QCOMPARE(Strip()->x() + Strip()->width(), Panel()->width());
        m_Bar->SetSelectedDeviceIndex(1);
        QCOMPARE(Strip()->x(), -m_Bar->Buttons().at(1)->x());
        m_Bar->SetSelectedDeviceIndex(7);
        QCOMPARE(Strip()->x(), -m_Bar->Buttons().at(1)->x());
    }

    // The menu lists every device; choosing one selects it, and the arrows stay while the menu is open.
    void deviceMenu()
    {
        MakeBar(true);
        for (int i = 0; i < 3; ++i)
            QVERIFY(AddDevice() != nullptr);
        QSignalSpy spy(m_Bar, &DeviceTabBar::SelectedDeviceIndexChanged);
        bool arrowsStayed = false;
        When(this, [] { return Shown<ZMenu>() != nullptr; }, [this, &arrowsStayed] {
            Hover(false);
            arrowsStayed = Child<ZButton>("NextButton")->isVisible();
            ChooseMenuItem(Shown<ZMenu>(), 2);
        });
        Hover(true);
        Click(Child<ZButton>("MoreDeviceButton"));
        QVERIFY(arrowsStayed);
        QCOMPARE(spy.size(), 1);
        QCOMPARE(spy.at(0).at(0).toInt(), 2);
        QCOMPARE(Underlined(), QStringLiteral("3"));
        // The menu's end hides the arrows although the mouse never left.
        QVERIFY(!Child<ZButton>("NextButton")->isVisible());

        // Closed without a choice: nothing changes.
        When(this, [] { return Shown<ZMenu>() != nullptr; }, [] { Shown<ZMenu>()->close(); });
        Click(Child<ZButton>("MoreDeviceButton"));
        QCOMPARE(spy.size(), 1);
    }

    void emptyDeviceMenuDoesNotOpen()
    {
        MakeBar(true);
        // A menu that opened would hold the click until this closes it.
        QObject scope;
        bool opened = false;
        When(&scope, [] { return Shown<ZMenu>() != nullptr; }, [&opened] {
            opened = true;
            Shown<ZMenu>()->close();
        });
        Hover(true);
        Click(Child<ZButton>("MoreDeviceButton"));
        QVERIFY(!opened);
    }

    // Underlines and the arrows' hover colour follow the theme colour; the grey line can be dropped.
    void themeColour()
    {
        MakeBar(false);
        QVERIFY(AddDevice() != nullptr);
        QVERIFY(AddDevice() != nullptr);
        const QColor red(200, 30, 30);
        Skin::SetThemeColor(red);
        emit g_Skin->SkinChanged();
        for (ZButton* button : m_Bar->Buttons()) {
            QCOMPARE(button->BorderColor(), red);
            QCOMPARE(button->BorderColorHover(), red);
        }
        QCOMPARE(Child<ZButton>("NextButton")->ImageColor(), QColor(230, 230, 230));
        QCOMPARE(Child<ZButton>("NextButton")->ImageColorHover(), red);
        QVERIFY(AddDevice() != nullptr);
        QCOMPARE(m_Bar->Buttons().last()->BorderColor(), red);

        QCOMPARE(Panel()->BorderWidth(), 1);
        m_Bar->SetContainerBorderWidth(0);
        QCOMPARE(Panel()->BorderWidth(), 0);
    }

    // The arrows are our drawings, loaded from the bar's resources.
    void arrowImagesLoad()
    {
        MakeBar(false);
        for (const char* name : {"PrevButton", "NextButton", "MoreDeviceButton"}) {
            const QPixmap image = Child<ZButton>(name)->Image();
            QVERIFY2(!image.isNull(), name);
            QCOMPARE(image.size(), QSize(10, 20));
        }
    }
};

QTEST_MAIN(TestDeviceTabBar)
#include "tst_device_tab_bar.moc"
