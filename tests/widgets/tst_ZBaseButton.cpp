#include "ZBaseButton.h"

#include <QMouseEvent>
#include <QPainter>
#include <QtTest>

namespace {

// A concrete button that records its clicks and what it saw when clicked.
class Button : public ZBaseButton
{
public:
    using ZBaseButton::ZBaseButton;
    using ZBaseButton::IsHover;
    using ZBaseButton::IsPressed;
    int Clicks = 0;
    bool PressedAtClick = true;

    // Delivers e straight to the widget's handler (Qt would not route mouse events to a disabled widget).
    bool Deliver(QEvent* e) { return event(e); }

protected:
    void Paint(QPainter*) override {}
    void ClickedEvent() override
    {
        ++Clicks;
        PressedAtClick = IsPressed();
    }
};

QMouseEvent Mouse(QEvent::Type type, Qt::MouseButton button, QPoint pos)
{
    const Qt::MouseButtons buttons = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button);
    return QMouseEvent(type, QPointF(pos), QPointF(pos), QPointF(pos), button, buttons, Qt::NoModifier);
}

} // namespace

class TestZBaseButton : public QObject
{
    Q_OBJECT

private slots:
    void PressRelease_data();
    void PressRelease();
    void Hover();
    void DisablingClearsStates();
    void CanHoverOff();
    void Properties();
    void ClickMayDeleteTheButton();
};

void TestZBaseButton::PressRelease_data()
{
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<int>("button");
    QTest::addColumn<QPoint>("pressAt");
    QTest::addColumn<QPoint>("releaseAt");
    QTest::addColumn<bool>("pressedAfterPress");
    QTest::addColumn<int>("clicks");
    QTest::addColumn<bool>("releaseConsumed");

    QTest::newRow("inside, inside") << true << int(Qt::LeftButton) << QPoint(5, 5) << QPoint(70, 25) << true << 1 << true;
    QTest::newRow("inside, outside") << true << int(Qt::LeftButton) << QPoint(5, 5) << QPoint(81, 10) << true << 0 << true;
    QTest::newRow("inside, just past the edge") << true << int(Qt::LeftButton) << QPoint(5, 5) << QPoint(79, 30) << true << 0 << true;
    QTest::newRow("outside, inside") << true << int(Qt::LeftButton) << QPoint(-5, 5) << QPoint(10, 10) << false << 1 << true;
    QTest::newRow("right button") << true << int(Qt::RightButton) << QPoint(5, 5) << QPoint(6, 6) << false << 0 << true;
    QTest::newRow("disabled") << false << int(Qt::LeftButton) << QPoint(5, 5) << QPoint(6, 6) << false << 0 << false;
}

void TestZBaseButton::PressRelease()
{
    QFETCH(bool, enabled);
    QFETCH(int, button);
    QFETCH(QPoint, pressAt);
    QFETCH(QPoint, releaseAt);
    QFETCH(bool, pressedAfterPress);
    QFETCH(int, clicks);
    QFETCH(bool, releaseConsumed);

    Button b;
    b.resize(80, 30);
    b.setEnabled(enabled);
    QMouseEvent press = Mouse(QEvent::MouseButtonPress, Qt::MouseButton(button), pressAt);
    if (QRect(0, 0, 80, 30).contains(pressAt))
        b.Deliver(&press);
    QCOMPARE(b.IsPressed(), pressedAfterPress);
    QMouseEvent release = Mouse(QEvent::MouseButtonRelease, Qt::MouseButton(button), releaseAt);
    release.setAccepted(true);
    const bool handled = b.Deliver(&release);
    QCOMPARE(b.Clicks, clicks);
    QCOMPARE(b.IsPressed(), false);
    if (clicks)
        QCOMPARE(b.PressedAtClick, false);
    QCOMPARE(handled && release.isAccepted(), releaseConsumed);
}

void TestZBaseButton::Hover()
{
    Button b;
    b.resize(80, 30);
    QEvent enter(QEvent::Enter);
    b.Deliver(&enter);
    QVERIFY(b.IsHover());
    QMouseEvent out = Mouse(QEvent::MouseMove, Qt::NoButton, QPoint(90, 10));
    b.Deliver(&out);
    QVERIFY(!b.IsHover());
    QMouseEvent in = Mouse(QEvent::MouseMove, Qt::NoButton, QPoint(40, 10));
    b.Deliver(&in);
    QVERIFY(b.IsHover());
    QEvent leave(QEvent::Leave);
    b.Deliver(&leave);
    QVERIFY(!b.IsHover());

    // Hiding drops both states.
    b.show();
    b.Deliver(&enter);
    QMouseEvent press = Mouse(QEvent::MouseButtonPress, Qt::LeftButton, QPoint(5, 5));
    b.Deliver(&press);
    b.hide();
    QVERIFY(!b.IsHover());
    QVERIFY(!b.IsPressed());
}

void TestZBaseButton::DisablingClearsStates()
{
    Button b;
    b.resize(80, 30);
    QEvent enter(QEvent::Enter);
    b.Deliver(&enter);
    QMouseEvent press = Mouse(QEvent::MouseButtonPress, Qt::LeftButton, QPoint(5, 5));
    b.Deliver(&press);
    QVERIFY(b.IsHover() && b.IsPressed());
    b.setEnabled(false);
    QVERIFY(!b.IsHover());
    QVERIFY(!b.IsPressed());
    b.Deliver(&enter);
    b.Deliver(&press);
    QVERIFY(!b.IsHover());
    QVERIFY(!b.IsPressed());
}

void TestZBaseButton::CanHoverOff()
{
    Button b;
    b.resize(80, 30);
    QEvent enter(QEvent::Enter);
    b.Deliver(&enter);
    QVERIFY(b.IsHover());
    b.SetCanHover(false);
    QVERIFY(!b.IsHover());
    b.Deliver(&enter);
    QMouseEvent in = Mouse(QEvent::MouseMove, Qt::NoButton, QPoint(40, 10));
    b.Deliver(&in);
    QVERIFY(!b.IsHover());
    QMouseEvent press = Mouse(QEvent::MouseButtonPress, Qt::LeftButton, QPoint(5, 5));
    QMouseEvent release = Mouse(QEvent::MouseButtonRelease, Qt::LeftButton, QPoint(5, 5));
    b.Deliver(&press);
    b.Deliver(&release);
    QCOMPARE(b.Clicks, 1); // clicks do not depend on hover
}

void TestZBaseButton::Properties()
{
    Button b;
    QCOMPARE(int(b.Alignment()), 0x84);
    QCOMPARE(b.CanHover(), true);
    QCOMPARE(b.TextOffset(), QPoint(0, 0));
    b.SetAlignment(Qt::AlignRight | Qt::AlignVCenter);
    QCOMPARE(int(b.Alignment()), 0x82);
    b.SetAlignment(Qt::AlignLeft | Qt::AlignTop | Qt::AlignAbsolute | Qt::AlignmentFlag(0x10000));
    QCOMPARE(int(b.Alignment()), 0x21 | 0x10);
    QVERIFY(b.setProperty("Text", QStringLiteral("OK")));
    QCOMPARE(b.Text(), QStringLiteral("OK"));
    QVERIFY(b.setProperty("alignment", QVariant::fromValue(Qt::Alignment(Qt::AlignLeft | Qt::AlignVCenter))));
    QCOMPARE(int(b.Alignment()), 0x81);
    QVERIFY(b.setProperty("TextOffset", QPoint(2, -1)));
    QCOMPARE(b.TextOffset(), QPoint(2, -1));
    QVERIFY(b.setProperty("CanHover", false));
    QCOMPARE(b.CanHover(), false);
}

// A click that closes and deletes its window must not touch the deleted button afterwards (ASan).
void TestZBaseButton::ClickMayDeleteTheButton()
{
    class SelfDeleting : public Button
    {
    public:
        using Button::Button;

    protected:
        void ClickedEvent() override { delete this; }
    };
    auto* b = new SelfDeleting;
    b->resize(80, 30);
    QMouseEvent press = Mouse(QEvent::MouseButtonPress, Qt::LeftButton, QPoint(5, 5));
    QMouseEvent release = Mouse(QEvent::MouseButtonRelease, Qt::LeftButton, QPoint(5, 5));
    b->Deliver(&press);
    QVERIFY(b->Deliver(&release));
}

QTEST_MAIN(TestZBaseButton)
#include "tst_ZBaseButton.moc"
