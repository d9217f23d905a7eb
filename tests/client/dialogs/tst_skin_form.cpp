// The skin colour page as the operator meets it: presets, sliders and number fields kept in step with one
// handler per action, and Apply writing the theme colour file (or, when it cannot, saying so and keeping the
// colour that the file holds).

#include "DeviceDialogFixture.h"

#include "SkinForm.h"

#include "ZButton.h"
#include "ZLineEdit.h"
#include "ZPanel.h"
#include "ZTrackBar.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSignalSpy>
#include <QtTest>

#include <functional>
#include <memory>
#include <vector>

namespace {

// What the page shows: the three fields, the three sliders, the saturation line and the preview.
struct PageState
{
    QString R, G, B;
    int H = 0, S = 0, L = 0;
    QColor Line, Preview;
};

}  // namespace

class SkinFormTest : public DialogTestCase
{
    Q_OBJECT

private:
    SkinForm* m_Page = nullptr;

    template <class T>
    T* Child(const char* name) const
    {
        return m_Page->findChild<T*>(QLatin1String(name));
    }
    ZLineEdit* Field(int i) const
    {
        static const char* names[] = {"ColorRLineEdit", "ColorGLineEdit", "ColorBLineEdit"};
        return Child<ZLineEdit>(names[i]);
    }
    ZTrackBar* Slider(int i) const
    {
        static const char* names[] = {"TrackBar1", "TrackBar2", "TrackBar3"};
        return Child<ZTrackBar>(names[i]);
    }
    PageState State() const
    {
        return {Field(0)->Text(), Field(1)->Text(), Field(2)->Text(), Slider(0)->Value1(), Slider(1)->Value1(),
                Slider(2)->Value1(), Slider(1)->MainLineBackColor(), Child<ZPanel>("ColorPanel")->BackColor()};
    }
    // The preset button whose top left corner is at this point of the page.
    ZButton* PresetAt(const QPoint& corner) const
    {
        for (ZButton* button : m_Page->findChildren<ZButton*>(QString(), Qt::FindDirectChildrenOnly)) {
            if (button->objectName().isEmpty() && button->geometry().topLeft() == corner)
                return button;
        }
        return nullptr;
    }
    // Types into a field as the operator does: click, select all, type.
    static void Type(ZLineEdit* field, const QString& text)
    {
        QTest::mouseClick(field, Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
        QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
        if (text.isEmpty())
            QTest::keyClick(field, Qt::Key_Backspace);
        else
            QTest::keyClicks(field, text);
    }
    QColor SavedThemeColor() const
    {
        QFile file(g_DataPath + "/SkinSetting");
        if (!file.open(QIODevice::ReadOnly))
            return QColor();
        const QJsonObject object = QJsonDocument::fromJson(file.readAll()).object();
        return QColor::fromRgba(static_cast<QRgb>(object.value("BackColor").toInt()));
    }

private slots:
    void initTestCase()
    {
        DialogTestCase::initTestCase();
        Language::Load(Language::Names().first());
        m_Page = new SkinForm(m_Main.get());
        Skin::Load();  // the default colour, saved, and the first SkinChanged
        m_Page->resize(904, 540);
        m_Page->show();
    }

    void cleanupTestCase()
    {
        delete m_Page;
        DialogTestCase::cleanupTestCase();
    }

    void init()
    {
        Skin::SetThemeColor(QColor(82, 178, 250));
        QVERIFY(Skin::Save());
    }

    void LayoutAndPresets()
    {
        int presets = 0;  // the buttons without a name; Apply has one
        for (ZButton* button : m_Page->findChildren<ZButton*>(QString(), Qt::FindDirectChildrenOnly))
            presets += button->objectName().isEmpty() ? 1 : 0;
        QCOMPARE(presets, 70);
        QVERIFY(Child<ZButton>("ApplyButton") != nullptr);
        QCOMPARE(Child<ZButton>("ApplyButton")->Text(), QString("Apply"));
        QVERIFY(PresetAt({70, 200}) && PresetAt({70 + 77 * 9, 200 + 42 * 6}));
        QCOMPARE(PresetAt({70 + 77 * 9, 200 + 42 * 6})->size(), QSize(70, 35));
        QCOMPARE(PresetAt({70 + 77 * 9, 200 + 42 * 6})->BackColor(), QColor(0x55402F));
        // The theme walk leaves the presets their colours.
        QCOMPARE(PresetAt({70, 200})->BackColor(), QColor(0xE991CB));
        // The first SkinChanged loaded the theme colour into every control.
        const PageState s = State();
        QCOMPARE((QStringList{s.R, s.G, s.B}), (QStringList{"82", "178", "250"}));
        QCOMPARE(s.Preview, QColor(82, 178, 250));
    }

    // Each action as the operator does it; every other control follows, and exactly one change handler runs
    // (the control acted on emits once, the others not at all).
    void OneActionKeepsEveryControlInStep_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QStringList>("fields");
        QTest::addColumn<QList<int>>("sliders");
        QTest::addColumn<QColor>("line");
        QTest::addColumn<int>("emitter");  // 0-2 sliders, 3-5 fields, -1 a preset
        QTest::newRow("preset 2CA9E1") << "preset" << QStringList{"44", "169", "225"} << QList<int>{198, 192, 135}
                                       << QColor::fromHsl(198, 255, 128) << -1;
        QTest::newRow("hue 200") << "hue" << QStringList{"41", "120", "159"} << QList<int>{200, 150, 100}
                                 << QColor(1, 170, 255) << 0;
        QTest::newRow("grey 128 typed") << "grey" << QStringList{"128", "128", "128"} << QList<int>{0, 0, 128}
                                        << QColor(255, 1, 1) << 5;
        QTest::newRow("300 typed in red") << "300" << QStringList{"255", "178", "250"}
                                          << QList<int>{QColor(255, 178, 250).hslHue(),
                                                        QColor(255, 178, 250).hslSaturation(),
                                                        QColor(255, 178, 250).lightness()}
                                          << QColor::fromHsl(QColor(255, 178, 250).hslHue(), 255, 128) << 3;
        QTest::newRow("red field emptied") << "empty" << QStringList{"", "178", "250"}
                                           << QList<int>{QColor(0, 178, 250).hslHue(),
                                                         QColor(0, 178, 250).hslSaturation(),
                                                         QColor(0, 178, 250).lightness()}
                                           << QColor::fromHsl(QColor(0, 178, 250).hslHue(), 255, 128) << 3;
    }

    void OneActionKeepsEveryControlInStep()
    {
        QFETCH(QString, action);
        QFETCH(QStringList, fields);
        QFETCH(QList<int>, sliders);
        QFETCH(QColor, line);
        QFETCH(int, emitter);
        emit g_Skin->SkinChanged();  // back to the theme colour
        if (action == "hue") {
            // Saturation and lightness first, then the hue is the action measured.
            Slider(1)->SetValue1(150);
            Slider(2)->SetValue1(100);
        }
        if (action == "grey") {
            Field(0)->SetText("128");
            Field(1)->SetText("128");
        }
        std::vector<std::unique_ptr<QSignalSpy>> spies;
        for (int i = 0; i < 3; ++i)
            spies.push_back(std::make_unique<QSignalSpy>(Slider(i), &ZTrackBar::Value1Changed));
        for (int i = 0; i < 3; ++i)
            spies.push_back(std::make_unique<QSignalSpy>(Field(i), &ZLineEdit::TextChanged));

        const QColor lineBefore = Slider(1)->MainLineBackColor();
        if (action == "preset") {
            ZButton* preset = PresetAt({147, 326});
            QVERIFY(preset != nullptr);
            QTest::mouseClick(preset, Qt::LeftButton, Qt::NoModifier, QPoint(35, 17));
        } else if (action == "hue") {
            Slider(0)->SetValue1(200);
        } else if (action == "grey") {
            Type(Field(2), "128");
        } else if (action == "300") {
            Type(Field(0), "300");
        } else {
            Type(Field(0), "");
        }

        const PageState s = State();
        QCOMPARE((QStringList{s.R, s.G, s.B}), fields);
        QCOMPARE((QList<int>{s.H, s.S, s.L}), sliders);
        QCOMPARE(s.Line.rgb(), line.rgb());
        if (action == "hue" || action == "grey" || action == "preset")
            QVERIFY(lineBefore != line);
        QColor expectedPreview;
        expectedPreview.setRgb(fields[0].toInt(), fields[1].toInt(), fields[2].toInt());
        if (action == "hue")
            expectedPreview = QColor::fromHsl(200, 150, 100);
        QCOMPARE(s.Preview.rgb(), expectedPreview.rgb());
        for (int i = 0; i < 6; ++i) {
            // Typing is several changes of the field typed in (one per key); the others never change.
            const bool typed = emitter >= 3;
            const int count = spies[i]->count();
            QVERIFY2(i != emitter ? count == 0 : typed ? count >= 1 : count == 1,
                     qPrintable(QString("control %1 emitted %2 times").arg(i).arg(count)));
        }
    }

    // Saturation and lightness change neither the other sliders nor the saturation line.
    void SaturationAndLightnessLeaveTheRest()
    {
        emit g_Skin->SkinChanged();
        const PageState before = State();
        Slider(1)->SetValue1(40);
        Slider(2)->SetValue1(60);
        const PageState after = State();
        QCOMPARE(after.H, before.H);
        QCOMPARE(after.Line, before.Line);
        const QColor color = QColor::fromHsl(before.H, 40, 60);
        QCOMPARE((QStringList{after.R, after.G, after.B}),
                 (QStringList{QString::number(color.red()), QString::number(color.green()),
                              QString::number(color.blue())}));
    }

    // "300" is held at 255, so Apply saves the colour shown, not black.
    void ApplySavesTheClampedColour()
    {
        emit g_Skin->SkinChanged();
        Type(Field(0), "300");
        QCOMPARE(Field(0)->Text(), QString("255"));
        QSignalSpy changed(g_Skin, &Skin::SkinChanged);
        QTest::mouseClick(Child<ZButton>("ApplyButton"), Qt::LeftButton, Qt::NoModifier, QPoint(50, 15));
        QCOMPARE(changed.count(), 1);
        QCOMPARE(SavedThemeColor(), QColor(255, 178, 250));
        QCOMPARE(g_ThemeColor, QColor(255, 178, 250));
        QCOMPARE(Child<ZPanel>("ColorPanel")->BackColor(), QColor(255, 178, 250));
    }

    void ApplyUntouchedWritesTheThemeAgain()
    {
        emit g_Skin->SkinChanged();
        QFile::remove(g_DataPath + "/SkinSetting");
        QSignalSpy changed(g_Skin, &Skin::SkinChanged);
        QTest::mouseClick(Child<ZButton>("ApplyButton"), Qt::LeftButton, Qt::NoModifier, QPoint(50, 15));
        QCOMPARE(changed.count(), 1);
        QCOMPARE(SavedThemeColor(), QColor(82, 178, 250));
    }

    // A save that cannot reach the disk: a failure box, the colour the file still holds, no re-colouring.
    void FailedSaveKeepsTheOldColour()
    {
        emit g_Skin->SkinChanged();
        PresetAt({147, 326})->Clicked();
        const QString dataPath = g_DataPath;
        g_DataPath = dataPath + "/missing/folder";
        QSignalSpy changed(g_Skin, &Skin::SkinChanged);
        TipCatcher tips;
        QTest::mouseClick(Child<ZButton>("ApplyButton"), Qt::LeftButton, Qt::NoModifier, QPoint(50, 15));
        g_DataPath = dataPath;
        QCOMPARE(tips.Seen, QStringList{"Operation failed"});
        QCOMPARE(changed.count(), 0);
        QCOMPARE(g_ThemeColor, QColor(82, 178, 250));
        QCOMPARE(SavedThemeColor(), QColor(82, 178, 250));
        // The pick stays on the page until the next SkinChanged.
        QCOMPARE(Child<ZPanel>("ColorPanel")->BackColor(), QColor(0x2CA9E1));
    }
};

QTEST_MAIN(SkinFormTest)
#include "tst_skin_form.moc"
