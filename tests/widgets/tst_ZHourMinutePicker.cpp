#include "ZHourMinutePicker.h"

#include <QApplication>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>
#include <QtTest>

namespace {

const QPoint FieldCentre[4] = {QPoint(13, 12), QPoint(37, 12), QPoint(68, 12), QPoint(92, 12)};
const QPoint UpArrow(110, 8);
const QPoint DownArrow(110, 17);
const QPoint Colon(25, 12);

bool Press(ZHourMinutePicker& picker, QPoint pos, Qt::MouseButton button = Qt::LeftButton)
{
    QMouseEvent e(QEvent::MouseButtonPress, QPointF(pos), QPointF(picker.mapToGlobal(pos)), button, button,
                  Qt::NoModifier);
    return QApplication::sendEvent(&picker, &e);
}

bool Wheel(ZHourMinutePicker& picker, int delta)
{
    QWheelEvent e(QPointF(50, 12), QPointF(picker.mapToGlobal(QPoint(50, 12))), QPoint(), QPoint(0, delta),
                  Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    e.setAccepted(false);
    QApplication::sendEvent(&picker, &e);
    return e.isAccepted();
}

void Type(ZHourMinutePicker& picker, const QString& text)
{
    for (const QChar c : text) {
        QKeyEvent e(QEvent::KeyPress, c.unicode(), Qt::NoModifier, QString(c));
        QApplication::sendEvent(&picker, &e);
    }
}

int Value(const ZHourMinutePicker& picker, int field)
{
    switch (field) {
    case 0: return picker.StartHour();
    case 1: return picker.StartMinute();
    case 2: return picker.EndHour();
    default: return picker.EndMinute();
    }
}

void SetValue(ZHourMinutePicker& picker, int field, int value)
{
    switch (field) {
    case 0: picker.SetStartHour(value); break;
    case 1: picker.SetStartMinute(value); break;
    case 2: picker.SetEndHour(value); break;
    default: picker.SetEndMinute(value); break;
    }
}

int CountColour(const QImage& image, const QRect& area, const QColor& colour)
{
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            count += image.pixelColor(x, y).rgb() == colour.rgb();
    return count;
}

} // namespace

class TestZHourMinutePicker : public QObject
{
    Q_OBJECT

private slots:
    void Clamping_data();
    void Clamping();
    void ArrowsWrap_data();
    void ArrowsWrap();
    void Wheel_data();
    void Wheel();
    void Digits_data();
    void Digits();
    void ClickBetweenFieldsClearsSelection();
    void KeysWithoutSelectionAreSwallowed();
    void DisabledTakesNoClick();
    void ArrowsHiddenUntilColourSet();
    void SelectedFieldIsHighlighted();
    void TabMovesFocusOn();
    void FixedSize();
};

void TestZHourMinutePicker::Clamping_data()
{
    QTest::addColumn<int>("field");
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("stored");
    QTest::newRow("start hour 24") << 0 << 24 << 23;
    QTest::newRow("start hour -1") << 0 << -1 << 0;
    QTest::newRow("start minute -3") << 1 << -3 << 0;
    QTest::newRow("start minute 60") << 1 << 60 << 59;
    QTest::newRow("end hour 23") << 2 << 23 << 23;
    QTest::newRow("end hour 100") << 2 << 100 << 23;
    QTest::newRow("end minute 59") << 3 << 59 << 59;
    QTest::newRow("end minute 0") << 3 << 0 << 0;
}

void TestZHourMinutePicker::Clamping()
{
    QFETCH(int, field);
    QFETCH(int, value);
    QFETCH(int, stored);
    ZHourMinutePicker picker;
    SetValue(picker, field, value);
    QCOMPARE(Value(picker, field), stored);
    QCOMPARE(picker.property(QByteArray(field == 0 ? "StartHour" : field == 1 ? "StartMinute"
                                                  : field == 2 ? "EndHour" : "EndMinute")).toInt(), stored);
}

void TestZHourMinutePicker::ArrowsWrap_data()
{
    QTest::addColumn<int>("field");
    QTest::addColumn<int>("start");
    QTest::addColumn<bool>("up");
    QTest::addColumn<int>("result");
    QTest::newRow("end minute 59 up") << 3 << 59 << true << 0;
    QTest::newRow("end minute 0 down") << 3 << 0 << false << 59;
    QTest::newRow("start hour 23 up") << 0 << 23 << true << 0;
    QTest::newRow("start hour 0 down") << 0 << 0 << false << 23;
    QTest::newRow("start minute 30 up") << 1 << 30 << true << 31;
    QTest::newRow("end hour 12 down") << 2 << 12 << false << 11;
}

void TestZHourMinutePicker::ArrowsWrap()
{
    QFETCH(int, field);
    QFETCH(int, start);
    QFETCH(bool, up);
    QFETCH(int, result);
    ZHourMinutePicker picker;
    SetValue(picker, field, start);
    QVERIFY(Press(picker, FieldCentre[field]));
    QCOMPARE(picker.SelectedField(), field);
    Press(picker, up ? UpArrow : DownArrow);
    QCOMPARE(Value(picker, field), result);
    QCOMPARE(picker.SelectedField(), field);
    for (int other = 0; other < 4; ++other) {
        if (other != field)
            QCOMPARE(Value(picker, other), 0);
    }
}

void TestZHourMinutePicker::Wheel_data()
{
    QTest::addColumn<int>("field");
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("delta");
    QTest::addColumn<int>("result");
    QTest::newRow("up") << 1 << 10 << 120 << 11;
    QTest::newRow("down") << 1 << 10 << -120 << 9;
    QTest::newRow("zero counts as down") << 1 << 10 << 0 << 9;
    QTest::newRow("minute wraps up") << 1 << 59 << 120 << 0;
    QTest::newRow("hour wraps down") << 2 << 0 << -15 << 23;
}

void TestZHourMinutePicker::Wheel()
{
    QFETCH(int, field);
    QFETCH(int, start);
    QFETCH(int, delta);
    QFETCH(int, result);
    ZHourMinutePicker picker;
    SetValue(picker, field, start);
    // Without a selected field the wheel changes nothing and goes on to the parent.
    QVERIFY(!::Wheel(picker, delta));
    QCOMPARE(Value(picker, field), start);
    Press(picker, FieldCentre[field]);
    QVERIFY(::Wheel(picker, delta));
    QCOMPARE(Value(picker, field), result);
}

void TestZHourMinutePicker::Digits_data()
{
    QTest::addColumn<int>("field");
    QTest::addColumn<int>("start");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("result");
    QTest::newRow("hour 1 5") << 0 << 0 << QStringLiteral("15") << 15;
    QTest::newRow("hour 1 5 9") << 0 << 0 << QStringLiteral("159") << 9;
    QTest::newRow("minute 3 7") << 1 << 0 << QStringLiteral("37") << 37;
    QTest::newRow("hour 3 7 clamped") << 2 << 0 << QStringLiteral("37") << 23;
    QTest::newRow("minute 9 9 clamped") << 3 << 0 << QStringLiteral("99") << 59;
    QTest::newRow("from 7 typing 2") << 1 << 7 << QStringLiteral("2") << 59;
    QTest::newRow("letters ignored") << 0 << 0 << QStringLiteral("a1b2") << 12;
    QTest::newRow("Arabic-Indic digits") << 1 << 0 << (QString(QChar(0x0664)) + QChar(0x0662)) << 42;
}

void TestZHourMinutePicker::Digits()
{
    QFETCH(int, field);
    QFETCH(int, start);
    QFETCH(QString, typed);
    QFETCH(int, result);
    ZHourMinutePicker picker;
    SetValue(picker, field, start);
    Press(picker, FieldCentre[field]);
    Type(picker, typed);
    QCOMPARE(Value(picker, field), result);
}

void TestZHourMinutePicker::ClickBetweenFieldsClearsSelection()
{
    ZHourMinutePicker picker;
    picker.SetStartHour(5);
    Press(picker, FieldCentre[0]);
    QCOMPARE(picker.SelectedField(), 0);
    Press(picker, Colon);
    QCOMPARE(picker.SelectedField(), -1);
    Press(picker, UpArrow);
    Press(picker, DownArrow);
    QCOMPARE(picker.StartHour(), 5);
    // Any button selects.
    Press(picker, FieldCentre[2], Qt::RightButton);
    QCOMPARE(picker.SelectedField(), 2);
}

void TestZHourMinutePicker::KeysWithoutSelectionAreSwallowed()
{
    ZHourMinutePicker picker;
    Type(picker, QStringLiteral("12"));
    QCOMPARE(picker.StartHour(), 0);
    QCOMPARE(picker.EndHour(), 0);
    QKeyEvent e(QEvent::KeyPress, Qt::Key_5, Qt::NoModifier, QStringLiteral("5"));
    e.setAccepted(false);
    QApplication::sendEvent(&picker, &e);
    QVERIFY(e.isAccepted());
}

void TestZHourMinutePicker::DisabledTakesNoClick()
{
    ZHourMinutePicker picker;
    picker.setEnabled(false);
    QVERIFY(!Press(picker, FieldCentre[1]));
    QCOMPARE(picker.SelectedField(), -1);
}

void TestZHourMinutePicker::ArrowsHiddenUntilColourSet()
{
    const QRect arrows(106, 5, 9, 15);
    const QColor enabledColour(255, 0, 0);
    const QColor disabledColour(0, 0, 255);
    ZHourMinutePicker picker;
    picker.SetBackColor(Qt::white);
    QImage image = picker.grab().toImage();
    QCOMPARE(CountColour(image, arrows, QColor(Qt::white)), arrows.width() * arrows.height());

    picker.SetButtonColor(enabledColour);
    image = picker.grab().toImage();
    QVERIFY(CountColour(image, QRect(106, 5, 9, 6), enabledColour) >= 20);
    QVERIFY(CountColour(image, QRect(106, 14, 9, 6), enabledColour) >= 20);

    // Disabled: the disabled arrows, which are not there until their colour is set.
    picker.setEnabled(false);
    image = picker.grab().toImage();
    QCOMPARE(CountColour(image, arrows, enabledColour), 0);
    QCOMPARE(CountColour(image, arrows, QColor(Qt::white)), arrows.width() * arrows.height());
    picker.SetButtonColorDisable(disabledColour);
    image = picker.grab().toImage();
    QVERIFY(CountColour(image, arrows, disabledColour) >= 40);
}

void TestZHourMinutePicker::SelectedFieldIsHighlighted()
{
    const QColor highlight(0, 160, 0);
    ZHourMinutePicker picker;
    picker.SetBackColor(Qt::white);
    picker.SetSelectedItemBackColor(highlight);
    picker.SetSelectedItemForeColor(Qt::white);
    const QRect field(60, 3, 17, 19);
    QCOMPARE(CountColour(picker.grab().toImage(), field, highlight), 0);
    Press(picker, FieldCentre[2]);
    QVERIFY(CountColour(picker.grab().toImage(), field, highlight) > field.width() * field.height() / 2);
}

void TestZHourMinutePicker::TabMovesFocusOn()
{
    QWidget window;
    ZHourMinutePicker picker(&window);
    QWidget next(&window);
    next.setFocusPolicy(Qt::StrongFocus);
    next.setGeometry(0, 40, 50, 20);
    window.show();
    QApplication::setActiveWindow(&window);
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QTest::mouseClick(&picker, Qt::LeftButton, Qt::NoModifier, FieldCentre[1]);
    QTRY_VERIFY(picker.hasFocus());
    QCOMPARE(picker.SelectedField(), 1);
    QTest::keyClick(&picker, Qt::Key_Tab);
    QTRY_VERIFY(next.hasFocus());
    // Leaving the picker drops its selection.
    QCOMPARE(picker.SelectedField(), -1);
    picker.setFocus();
    QTRY_VERIFY(picker.hasFocus());
    QTest::keyClick(&picker, Qt::Key_Backtab, Qt::ShiftModifier);
    QTRY_VERIFY(next.hasFocus());
}

void TestZHourMinutePicker::FixedSize()
{
    ZHourMinutePicker picker;
    picker.resize(300, 100);
    QCOMPARE(picker.size(), QSize(120, 25));
    QCOMPARE(picker.minimumSize(), QSize(120, 25));
    QCOMPARE(picker.maximumSize(), QSize(120, 25));
}

QTEST_MAIN(TestZHourMinutePicker)
#include "tst_ZHourMinutePicker.moc"
