#include "ZLabel.h"

#include <QClipboard>
#include <QLineEdit>
#include <QMouseEvent>
#include <QVBoxLayout>
#include <QtTest>

namespace {

QMouseEvent Mouse(QEvent::Type type, Qt::MouseButton button, int x, Qt::MouseButtons held)
{
    const QPointF pos(x, 10);
    return QMouseEvent(type, pos, pos, pos, button, held, Qt::NoModifier);
}

void Press(QWidget* w, int x)
{
    QMouseEvent e = Mouse(QEvent::MouseButtonPress, Qt::LeftButton, x, Qt::LeftButton);
    QCoreApplication::sendEvent(w, &e);
}

void Drag(QWidget* w, int x)
{
    QMouseEvent e = Mouse(QEvent::MouseMove, Qt::NoButton, x, Qt::LeftButton);
    QCoreApplication::sendEvent(w, &e);
}

void Release(QWidget* w, int x)
{
    QMouseEvent e = Mouse(QEvent::MouseButtonRelease, Qt::LeftButton, x, Qt::NoButton);
    QCoreApplication::sendEvent(w, &e);
}

// x of the boundary before character index of the label's text (left-aligned text starts at x 0).
int Boundary(const ZLabel& label, int index)
{
    return QFontMetrics(label.font()).horizontalAdvance(label.Text().left(index));
}

bool HasColour(const QImage& image, const QColor& colour)
{
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixelColor(x, y) == colour)
                return true;
    return false;
}

// The right-most column with any painted pixel (-1 for none).
int RightmostInk(const QImage& image)
{
    for (int x = image.width() - 1; x >= 0; --x)
        for (int y = 0; y < image.height(); ++y)
            if (image.pixelColor(x, y).alpha() > 0)
                return x;
    return -1;
}

} // namespace

class TestZLabel : public QObject
{
    Q_OBJECT

private slots:
    void DragSelectAndCopy_data();
    void DragSelectAndCopy();
    void DoubleClickSelectsAll();
    void CaretLocation();
    void NoSelectionWithoutCanSelectText();
    void KeysPassOn_data();
    void KeysPassOn();
    void FocusOutDropsSelection();
    void TextBoundsAndProperties();
};

void TestZLabel::DragSelectAndCopy_data()
{
    QTest::addColumn<int>("from");
    QTest::addColumn<QVector<int>>("to"); // boundaries the mouse passes, the last one stays
    QTest::addColumn<QString>("selected");

    QTest::newRow("forward") << 6 << QVector<int>{8, 11} << QStringLiteral("world");
    QTest::newRow("backward") << 5 << QVector<int>{2, 0} << QStringLiteral("Hello");
    QTest::newRow("over and back across the anchor") << 6 << QVector<int>{9, 3} << QStringLiteral("lo ");
    QTest::newRow("back onto the anchor") << 6 << QVector<int>{9, 6} << QString();
}

void TestZLabel::DragSelectAndCopy()
{
    QFETCH(int, from);
    QFETCH(QVector<int>, to);
    QFETCH(QString, selected);

    ZLabel label;
    label.resize(200, 24);
    label.SetCanSelectText(true);
    label.SetText(QStringLiteral("Hello world"));
    label.SetSelectedTextBackColor(QColor(0, 0, 255));
    QGuiApplication::clipboard()->setText(QStringLiteral("before"));

    Press(&label, Boundary(label, from));
    QVERIFY(label.SelectedText().isEmpty());
    for (int index : to)
        Drag(&label, Boundary(label, index));
    Release(&label, Boundary(label, to.last()));
    QCOMPARE(label.SelectedText(), selected);
    // The highlight shows exactly when something is selected.
    QCOMPARE(HasColour(label.grab().toImage(), QColor(0, 0, 255)), !selected.isEmpty());

    QTest::keyClick(&label, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QGuiApplication::clipboard()->text(), selected);
}

void TestZLabel::DoubleClickSelectsAll()
{
    ZLabel label;
    label.resize(200, 40);
    label.SetCanSelectText(true);
    label.SetText(QStringLiteral("Device ID: 12345"));
    label.AppendText(QStringLiteral("\nline two"));
    Press(&label, 5);
    Release(&label, 5);
    QMouseEvent dbl = Mouse(QEvent::MouseButtonDblClick, Qt::LeftButton, 5, Qt::LeftButton);
    QCoreApplication::sendEvent(&label, &dbl);
    Release(&label, 5);
    QCOMPARE(label.SelectedText(), QStringLiteral("Device ID: 12345\nline two"));
    QTest::keyClick(&label, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("Device ID: 12345\nline two"));

    // A new press starts over.
    Press(&label, 5);
    QVERIFY(label.SelectedText().isEmpty());
}

void TestZLabel::CaretLocation()
{
    ZLabel label;
    label.resize(300, 24);
    QCOMPARE(label.ComputeCaretLocation(40), 0); // empty text
    const QString text = QStringLiteral("WiW m");
    label.SetText(text);
    const QFontMetrics fm(label.font());
    for (int i = 0; i < text.size(); ++i) {
        const int left = fm.horizontalAdvance(text.left(i));
        const int w = fm.horizontalAdvance(text.at(i));
        QCOMPARE(label.ComputeCaretLocation(left), i);
        if (w >= 4) {
            QCOMPARE(label.ComputeCaretLocation(left + 1), i);             // just after the boundary
            QCOMPARE(label.ComputeCaretLocation(left + w - 1), i + 1);     // just before the next one
        }
    }
    QCOMPARE(label.ComputeCaretLocation(-30), 0);
    QCOMPARE(label.ComputeCaretLocation(fm.horizontalAdvance(text) + 50), text.size());
}

void TestZLabel::NoSelectionWithoutCanSelectText()
{
    ZLabel label;
    label.resize(200, 24);
    label.SetText(QStringLiteral("Hello world"));
    label.SetSelectedTextBackColor(QColor(0, 0, 255));
    Press(&label, 0);
    Drag(&label, 150);
    QVERIFY(label.SelectedText().isEmpty());

    // A selection made while allowed is not highlighted once selecting is switched off.
    label.SetCanSelectText(true);
    QMouseEvent dbl = Mouse(QEvent::MouseButtonDblClick, Qt::LeftButton, 5, Qt::LeftButton);
    QCoreApplication::sendEvent(&label, &dbl);
    QVERIFY(HasColour(label.grab().toImage(), QColor(0, 0, 255)));
    label.SetCanSelectText(false);
    QVERIFY(!HasColour(label.grab().toImage(), QColor(0, 0, 255)));
    QGuiApplication::clipboard()->setText(QStringLiteral("kept"));
    QTest::keyClick(&label, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("kept"));

    // A drag with another button does not select.
    label.SetCanSelectText(true);
    Press(&label, 0);
    QMouseEvent rightDrag = Mouse(QEvent::MouseMove, Qt::NoButton, 150, Qt::RightButton);
    QCoreApplication::sendEvent(&label, &rightDrag);
    QVERIFY(label.SelectedText().isEmpty());
}

void TestZLabel::KeysPassOn_data()
{
    QTest::addColumn<bool>("canSelect");
    QTest::newRow("plain label") << false;
    QTest::newRow("selectable label") << true;
}

// Tab leaves a label that holds the focus; a plain label leaves every key to its form.
void TestZLabel::KeysPassOn()
{
    QFETCH(bool, canSelect);

    class Form : public QWidget
    {
    public:
        int Keys = 0;

    protected:
        void keyPressEvent(QKeyEvent*) override { ++Keys; }
    } form;
    auto* layout = new QVBoxLayout(&form);
    auto* label = new ZLabel(&form);
    label->SetText(QStringLiteral("Caption"));
    label->SetCanSelectText(canSelect);
    auto* edit = new QLineEdit(&form);
    layout->addWidget(label);
    layout->addWidget(edit);
    form.show();
    QApplication::setActiveWindow(&form);
    QVERIFY(QTest::qWaitForWindowActive(&form));
    label->setFocus(Qt::MouseFocusReason);
    QVERIFY(label->hasFocus());

    QTest::keyClick(label, Qt::Key_Return);
    QCOMPARE(form.Keys, canSelect ? 0 : 1);
    QTest::keyClick(label, Qt::Key_Tab);
    QVERIFY(edit->hasFocus());
}

void TestZLabel::FocusOutDropsSelection()
{
    QWidget form;
    auto* label = new ZLabel(&form);
    label->setGeometry(0, 0, 200, 24);
    auto* edit = new QLineEdit(&form);
    edit->setGeometry(0, 30, 100, 24);
    label->SetCanSelectText(true);
    label->SetText(QStringLiteral("Hello world"));
    form.show();
    QApplication::setActiveWindow(&form);
    QVERIFY(QTest::qWaitForWindowActive(&form));
    label->setFocus(Qt::MouseFocusReason);
    Press(label, 0);
    Drag(label, Boundary(*label, 5));
    QCOMPARE(label->SelectedText(), QStringLiteral("Hello"));
    edit->setFocus(Qt::MouseFocusReason);
    QVERIFY(label->SelectedText().isEmpty());
}

void TestZLabel::TextBoundsAndProperties()
{
    ZLabel label;
    QCOMPARE(int(label.Alignment()), int(Qt::AlignVCenter));
    QCOMPARE(label.BackColor(), QColor(Qt::transparent));
    QCOMPARE(label.focusPolicy(), Qt::ClickFocus);
    QVERIFY(label.setProperty("Text", QStringLiteral("Right")));
    QVERIFY(label.setProperty("alignment", QVariant::fromValue(Qt::Alignment(Qt::AlignRight | Qt::AlignVCenter))));
    QVERIFY(label.setProperty("CanSelectText", true));
    QVERIFY(label.setProperty("SelectedTextBackColor", QColor(1, 2, 3)));
    QVERIFY(label.setProperty("SelectedTextForeColor", QColor(4, 5, 6)));
    QCOMPARE(label.SelectedTextForeColor(), QColor(4, 5, 6));
    QVERIFY(label.CanSelectText());
    label.SetAlignment(Qt::AlignRight | Qt::AlignVCenter | Qt::AlignAbsolute);
    QCOMPARE(int(label.Alignment()), 0x82 | 0x10);

    // Right-aligned text ends at width - 2 (antialiasing may touch one more column), and follows a resize.
    label.SetAlignment(Qt::AlignRight | Qt::AlignVCenter);
    label.SetForeColor(Qt::black);
    label.resize(150, 30);
    int ink = RightmostInk(label.grab().toImage());
    QVERIFY2(ink > 130 && ink <= 149, qPrintable(QString::number(ink)));
    label.resize(300, 30);
    ink = RightmostInk(label.grab().toImage());
    QVERIFY2(ink > 280 && ink <= 299, qPrintable(QString::number(ink)));
}

QTEST_MAIN(TestZLabel)
#include "tst_ZLabel.moc"
