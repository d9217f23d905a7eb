#include "ZButton.h"
#include "ZCheckBox.h"
#include "ZSwitchButton.h"

#include <QMouseEvent>
#include <QPainter>
#include <QSignalSpy>
#include <QtTest>

namespace {

// A mouse event as a real press, drag and release would carry it (buttons held while moving).
QMouseEvent Mouse(QEvent::Type type, Qt::MouseButton button, QPoint pos)
{
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button);
    return QMouseEvent(type, QPointF(pos), QPointF(pos), QPointF(pos), button, held, Qt::NoModifier);
}

// Straight into the widget's handler: Qt does not route mouse events to a disabled widget, and the test
// wants to see that the widget itself ignores them. Returns whether the widget consumed the event.
bool Deliver(QWidget* w, QEvent* e)
{
    return static_cast<QObject*>(w)->event(e);
}

void Enter(QWidget* w)
{
    QEvent e(QEvent::Enter);
    Deliver(w, &e);
}

QColor Centre(QWidget* w)
{
    return w->grab().toImage().pixelColor(w->width() / 2, w->height() / 2);
}

// A 12 x 12 icon: a white square with a black dot in its middle, on transparent ground.
QPixmap WhiteIcon()
{
    QImage image(12, 12, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    for (int y = 2; y < 10; ++y)
        for (int x = 2; x < 10; ++x)
            image.setPixelColor(x, y, Qt::white);
    image.setPixelColor(5, 5, Qt::black);
    return QPixmap::fromImage(image);
}

enum Kind { Button, Switch, Check };

// The widget of that kind and the spy of its click signal (Clicked or CheckedChanged).
struct Clickable
{
    explicit Clickable(int kind)
    {
        switch (kind) {
        case Button: {
            auto* b = new ZButton;
            Spy.reset(new QSignalSpy(b, &ZButton::Clicked));
            Widget.reset(b);
            break;
        }
        case Switch: {
            auto* s = new ZSwitchButton;
            Spy.reset(new QSignalSpy(s, &ZSwitchButton::CheckedChanged));
            Widget.reset(s);
            break;
        }
        default: {
            auto* c = new ZCheckBox;
            Spy.reset(new QSignalSpy(c, &ZCheckBox::CheckedChanged));
            Widget.reset(c);
            break;
        }
        }
        Widget->resize(80, 30);
    }
    QScopedPointer<QWidget> Widget;
    QScopedPointer<QSignalSpy> Spy;
};

} // namespace

class TestZButtons : public QObject
{
    Q_OBJECT

private slots:
    void Click_data();
    void Click();
    void UncheckWhenClicked_data();
    void UncheckWhenClicked();
    void SetCheckedSignalsOnlyChanges();
    void ButtonStateColours();
    void ButtonImageRecoloured();
    void CheckMarkResourceIsWhite();
    void CheckBoxPainting();
    void SwitchHalves();
    void PropertiesByName();
};

void TestZButtons::Click_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<int>("button");
    QTest::addColumn<QVector<QPoint>>("path"); // press, moves..., release
    QTest::addColumn<int>("emitted");

    const QVector<QPoint> inside{QPoint(10, 10), QPoint(40, 15)};
    const QVector<QPoint> dragOut{QPoint(10, 10), QPoint(100, 15), QPoint(120, 40)};
    const QVector<QPoint> outAndBack{QPoint(10, 10), QPoint(100, 15), QPoint(60, 20)};
    const QVector<QPoint> edge{QPoint(10, 10), QPoint(80, 15)}; // x 80 is just past the right edge
    for (int kind : {Button, Switch, Check}) {
        const char* name = kind == Button ? "button" : (kind == Switch ? "switch" : "check box");
        QTest::addRow("%s: click", name) << kind << true << int(Qt::LeftButton) << inside << 1;
        QTest::addRow("%s: drag out, release outside", name) << kind << true << int(Qt::LeftButton) << dragOut << 0;
        QTest::addRow("%s: drag out and back", name) << kind << true << int(Qt::LeftButton) << outAndBack << 1;
        QTest::addRow("%s: release past the edge", name) << kind << true << int(Qt::LeftButton) << edge << 0;
        QTest::addRow("%s: right button", name) << kind << true << int(Qt::RightButton) << inside << 0;
        QTest::addRow("%s: middle button", name) << kind << true << int(Qt::MiddleButton) << inside << 0;
        QTest::addRow("%s: disabled", name) << kind << false << int(Qt::LeftButton) << inside << 0;
    }
}

void TestZButtons::Click()
{
    QFETCH(int, kind);
    QFETCH(bool, enabled);
    QFETCH(int, button);
    QFETCH(QVector<QPoint>, path);
    QFETCH(int, emitted);

    Clickable c(kind);
    QWidget* w = c.Widget.data();
    w->setEnabled(enabled);
    const auto b = Qt::MouseButton(button);
    QMouseEvent press = Mouse(QEvent::MouseButtonPress, b, path.first());
    Deliver(w, &press);
    for (int i = 1; i + 1 < path.size(); ++i) {
        QMouseEvent move = Mouse(QEvent::MouseMove, b, path.at(i));
        Deliver(w, &move);
    }
    QMouseEvent release = Mouse(QEvent::MouseButtonRelease, b, path.last());
    const bool consumed = Deliver(w, &release);
    QCOMPARE(c.Spy->count(), emitted);
    if (kind != Button && emitted == 1)
        QCOMPARE(c.Spy->at(0).at(0).toBool(), true);
    // Releases of an enabled button never reach the parent, whatever the button.
    QCOMPARE(consumed, enabled);
    if (kind != Button) {
        const bool checked = w->property("Checked").toBool();
        QCOMPARE(checked, emitted == 1);
    }
}

void TestZButtons::UncheckWhenClicked_data()
{
    QTest::addColumn<bool>("startChecked");
    QTest::addColumn<bool>("uncheckWhenClicked");
    QTest::addColumn<bool>("checkedAfter");
    QTest::addColumn<int>("emitted");

    QTest::newRow("unchecked, toggling") << false << true << true << 1;
    QTest::newRow("checked, toggling") << true << true << false << 1;
    QTest::newRow("unchecked, radio item") << false << false << true << 1;
    QTest::newRow("checked, radio item stays checked") << true << false << true << 0;
}

void TestZButtons::UncheckWhenClicked()
{
    QFETCH(bool, startChecked);
    QFETCH(bool, uncheckWhenClicked);
    QFETCH(bool, checkedAfter);
    QFETCH(int, emitted);

    ZCheckBox box;
    box.resize(100, 20);
    QCOMPARE(box.UncheckWhenClicked(), true);
    box.SetChecked(startChecked);
    box.SetUncheckWhenClicked(uncheckWhenClicked);
    QSignalSpy spy(&box, &ZCheckBox::CheckedChanged);
    QMouseEvent press = Mouse(QEvent::MouseButtonPress, Qt::LeftButton, QPoint(8, 10));
    QMouseEvent release = Mouse(QEvent::MouseButtonRelease, Qt::LeftButton, QPoint(8, 10));
    Deliver(&box, &press);
    Deliver(&box, &release);
    QCOMPARE(box.Checked(), checkedAfter);
    QCOMPARE(spy.count(), emitted);
}

void TestZButtons::SetCheckedSignalsOnlyChanges()
{
    ZCheckBox box;
    ZSwitchButton sw;
    QSignalSpy boxSpy(&box, &ZCheckBox::CheckedChanged);
    QSignalSpy swSpy(&sw, &ZSwitchButton::CheckedChanged);
    box.SetChecked(false);
    sw.SetChecked(false);
    QCOMPARE(boxSpy.count() + swSpy.count(), 0);
    box.SetChecked(true);
    box.SetChecked(true);
    sw.SetChecked(true);
    sw.SetChecked(true);
    QCOMPARE(boxSpy.count(), 1);
    QCOMPARE(swSpy.count(), 1);
    QCOMPARE(boxSpy.at(0).at(0).toBool(), true);
    box.SetChecked(false);
    QCOMPARE(boxSpy.count(), 2);
    QCOMPARE(boxSpy.at(1).at(0).toBool(), false);
}

void TestZButtons::ButtonStateColours()
{
    const QColor normal(200, 200, 200), hover(0, 160, 0), press(0, 0, 160);
    ZButton b;
    b.resize(80, 30);
    b.SetBackColor(normal);
    b.SetBackColorHover(hover);
    b.SetBackColorPress(press);
    QCOMPARE(Centre(&b), normal);
    Enter(&b);
    QCOMPARE(Centre(&b), hover);
    QMouseEvent pressEvent = Mouse(QEvent::MouseButtonPress, Qt::LeftButton, QPoint(40, 15));
    Deliver(&b, &pressEvent);
    QCOMPARE(Centre(&b), press);
    // Dragged outside while held: no longer hovered, still pressed.
    QMouseEvent out = Mouse(QEvent::MouseMove, Qt::LeftButton, QPoint(200, 15));
    Deliver(&b, &out);
    QCOMPARE(Centre(&b), press);
    QMouseEvent release = Mouse(QEvent::MouseButtonRelease, Qt::LeftButton, QPoint(200, 15));
    Deliver(&b, &release);
    QCOMPARE(Centre(&b), normal);
    // A right press shows no pressed look.
    Enter(&b);
    QMouseEvent right = Mouse(QEvent::MouseButtonPress, Qt::RightButton, QPoint(40, 15));
    Deliver(&b, &right);
    QCOMPARE(Centre(&b), hover);
    // Disabling drops the hover look.
    b.setEnabled(false);
    QCOMPARE(Centre(&b), normal);

    // Border and text follow the hover colours too.
    ZButton framed;
    framed.resize(80, 30);
    framed.SetBackColor(Qt::white);
    framed.SetBorder(PositionFlag::All);
    framed.SetBorderWidth(1);
    framed.SetBorderColor(Qt::black);
    framed.SetBorderColorHover(Qt::red);
    QCOMPARE(framed.grab().toImage().pixelColor(0, 15), QColor(Qt::black));
    Enter(&framed);
    QCOMPARE(framed.grab().toImage().pixelColor(0, 15), QColor(Qt::red));
}

void TestZButtons::ButtonImageRecoloured()
{
    const QColor back(50, 50, 50), red(220, 0, 0), blue(0, 0, 220);
    ZButton b;
    b.resize(40, 40); // the 12-px icon is centred at (14, 14)
    b.SetBackColor(back);
    b.SetBackColorHover(back);
    b.SetImage(WhiteIcon());
    auto pixel = [&b](int x, int y) { return b.grab().toImage().pixelColor(14 + x, 14 + y); };

    // Never recoloured: the image's own colours, hovered or not.
    b.SetImageColor(red);
    b.SetImageColorHover(blue);
    QCOMPARE(pixel(3, 3), QColor(Qt::white));
    QCOMPARE(pixel(5, 5), QColor(Qt::black));
    QCOMPARE(pixel(0, 0), back);

    b.SetReplaceImageColor(true);
    QCOMPARE(pixel(3, 3), red);
    QCOMPARE(pixel(5, 5), QColor(Qt::black)); // only white is recoloured
    QCOMPARE(pixel(0, 0), back);
    Enter(&b);
    QCOMPARE(pixel(3, 3), blue);
    b.SetImageColorHover(Qt::green);
    QCOMPARE(pixel(3, 3), QColor(Qt::green));

    // Recolouring off: the own colours again, also under the mouse.
    b.SetReplaceImageColor(false);
    QCOMPARE(pixel(3, 3), QColor(Qt::white));
    QEvent leave(QEvent::Leave);
    Deliver(&b, &leave);
    QCOMPARE(pixel(3, 3), QColor(Qt::white));

    // A null image removes the picture.
    b.SetReplaceImageColor(true);
    b.SetImage(QPixmap());
    QCOMPARE(pixel(3, 3), back);
    Enter(&b);
    QCOMPARE(pixel(3, 3), back);
}

void TestZButtons::CheckMarkResourceIsWhite()
{
    const QImage flag(QStringLiteral("://Icons/CheckBox/CheckFlag.png"));
    QCOMPARE(flag.size(), QSize(16, 16));
    int visible = 0;
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            const QRgb c = flag.pixel(x, y);
            if (qAlpha(c) == 0)
                continue;
            ++visible;
            QCOMPARE(c & 0xFFFFFFu, 0xFFFFFFu);
        }
    }
    QVERIFY(visible > 20);
}

void TestZButtons::CheckBoxPainting()
{
    const QColor frame(10, 10, 10), frameHover(0, 120, 255), frameDisabled(150, 150, 150);
    const QColor box(255, 255, 255), boxDisabled(230, 230, 230), tick(0, 128, 0), tickDisabled(90, 90, 90);
    ZCheckBox c;
    c.resize(120, 24); // box at (0, 4)
    QCOMPARE(int(c.Alignment()), int(Qt::AlignVCenter));
    c.SetCheckRectColor(frame);
    c.SetCheckRectColorHover(frameHover);
    c.SetCheckRectColorDisabled(frameDisabled);
    c.SetCheckRectBackColor(box);
    c.SetCheckRectBackColorDisabled(boxDisabled);
    auto shot = [&c] { return c.grab().toImage(); };

    // The tick's bright pixels: where the resource is fully opaque.
    const QImage flag(QStringLiteral("://Icons/CheckBox/CheckFlag.png"));
    QPoint opaque;
    for (int i = 0; i < 256 && opaque.isNull(); ++i)
        if (qAlpha(flag.pixel(i % 16, i / 16)) == 255)
            opaque = QPoint(i % 16, i / 16);
    QVERIFY(!opaque.isNull());
    const QPoint tickPixel = opaque + QPoint(0, 4);

    QCOMPARE(shot().pixelColor(8, 12), box);
    QCOMPARE(shot().pixelColor(0, 4), frame);
    QCOMPARE(shot().pixelColor(15, 19), frame);
    Enter(&c);
    QCOMPARE(shot().pixelColor(0, 10), frameHover);

    // Checked without a flag colour: no tick.
    c.SetChecked(true);
    QCOMPARE(shot().pixelColor(tickPixel), box);
    c.SetCheckFlagColor(tick);
    QCOMPARE(shot().pixelColor(tickPixel), tick);

    // Disabled: the disabled colours, no hover.
    c.setEnabled(false);
    QCOMPARE(shot().pixelColor(0, 10), frameDisabled);
    QCOMPARE(shot().pixelColor(2, 18), boxDisabled);
    QCOMPARE(shot().pixelColor(tickPixel), boxDisabled); // no disabled tick colour yet
    c.SetCheckFlagColorDisabled(tickDisabled);
    QCOMPARE(shot().pixelColor(tickPixel), tickDisabled);
}

void TestZButtons::SwitchHalves()
{
    const QColor back(200, 200, 200), lit(0, 100, 200);
    ZSwitchButton s;
    s.resize(41, 20); // halves of 20; column 40 belongs to neither
    s.SetBackColor(back);
    s.SetCheckedBackColor(lit);
    QImage img = s.grab().toImage();
    QCOMPARE(img.pixelColor(0, 10), lit);
    QCOMPARE(img.pixelColor(19, 10), lit);
    QCOMPARE(img.pixelColor(20, 10), back);
    QCOMPARE(img.pixelColor(40, 10), back);
    QMouseEvent press = Mouse(QEvent::MouseButtonPress, Qt::LeftButton, QPoint(5, 5));
    QMouseEvent release = Mouse(QEvent::MouseButtonRelease, Qt::LeftButton, QPoint(5, 5));
    Deliver(&s, &press);
    Deliver(&s, &release);
    QVERIFY(s.Checked());
    img = s.grab().toImage();
    QCOMPARE(img.pixelColor(19, 10), back);
    QCOMPARE(img.pixelColor(20, 10), lit);
    QCOMPARE(img.pixelColor(39, 10), lit);
    QCOMPARE(img.pixelColor(40, 10), back);
}

void TestZButtons::PropertiesByName()
{
    const QColor c(1, 2, 3);
    ZButton b;
    for (const char* name : {"BackColorHover", "BackColorPress", "ForeColorHover", "BorderColorHover", "ImageColor",
                             "ImageColorHover"}) {
        QVERIFY2(b.setProperty(name, c), name);
        QCOMPARE(b.property(name).value<QColor>(), c);
    }
    QVERIFY(b.setProperty("Image", WhiteIcon()));
    QCOMPARE(b.Image().size(), QSize(12, 12));
    QVERIFY(b.setProperty("ReplaceImageColor", true));
    QVERIFY(b.ReplaceImageColor());

    ZSwitchButton s;
    QVERIFY(s.setProperty("LeftText", QStringLiteral("Off")));
    QVERIFY(s.setProperty("RightText", QStringLiteral("On")));
    QVERIFY(s.setProperty("CheckedBackColor", c));
    QVERIFY(s.setProperty("CheckedFontColor", c));
    QVERIFY(s.setProperty("Checked", true));
    QCOMPARE(s.LeftText(), QStringLiteral("Off"));
    QCOMPARE(s.RightText(), QStringLiteral("On"));
    QVERIFY(s.Checked());

    ZCheckBox box;
    for (const char* name : {"CheckFlagColor", "CheckFlagColorDisabled", "CheckRectColor", "CheckRectColorHover",
                             "CheckRectColorDisabled", "CheckRectBackColor", "CheckRectBackColorDisabled"}) {
        QVERIFY2(box.setProperty(name, c), name);
        QCOMPARE(box.property(name).value<QColor>(), c);
    }
    QVERIFY(box.setProperty("UncheckWhenClicked", false));
    QVERIFY(!box.UncheckWhenClicked());
    QVERIFY(box.setProperty("Checked", true));
    QVERIFY(box.Checked());
}

QTEST_MAIN(TestZButtons)
#include "tst_ZButtons.moc"
