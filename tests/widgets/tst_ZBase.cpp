#include "OrientationType.h"
#include "PositionType.h"
#include "TextType.h"
#include "ZBase.h"
#include "ZEvent.h"
#include "ZPanel.h"
#include "ui_TestForm.h"

#include <QPainter>
#include <QtTest>

namespace {

// The smallest concrete widget: fills itself with BackColor and counts its paints.
class Plain : public ZBase
{
public:
    using ZBase::ZBase;
    int Paints = 0;

protected:
    void Paint(QPainter* painter) override
    {
        ++Paints;
        painter->fillRect(0, 0, width(), height(), BackColor());
    }
};

// A panel that counts its layout runs.
class CountingPanel : public ZPanel
{
public:
    using ZPanel::ZPanel;
    int Layouts = 0;
    void ReLayout() override
    {
        ++Layouts;
        ZPanel::ReLayout();
    }
};

// Counts the library events that reach a widget, by type.
class ZEventCounter : public QObject
{
public:
    QMap<int, int> Counts;
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() >= 1000 && e->type() <= 1002)
            ++Counts[e->type()];
        return false;
    }
};

void Settle()
{
    for (int i = 0; i < 5; ++i) {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
    }
}

} // namespace

class TestZBase : public QObject
{
    Q_OBJECT

private slots:
    void Defaults();
    void PropertiesByName_data();
    void PropertiesByName();
    void IsPassiveIsReadOnly();
    void EnumHoldersConvertByName();
    void UicGeneratedCodeSetsProperties();
    void SettersRepaintOnlyOnChange();
    void BorderChangesPostOneEvent();
    void ChildResizeAsksContainerUntilLaidOut();
    void DockChangeAsksContainerOnce();
    void GridListPaint_paintsChildrenAtOffset();
    void SetPassiveObjectName_prefixesTree();
    void LibraryIconIsBuiltIn();
};

void TestZBase::Defaults()
{
    Plain w;
    QCOMPARE(w.Dock(), DockType::None);
    QCOMPARE(int(w.Anchor()), 5);
    QCOMPARE(w.Radius(), 0);
    QVERIFY(!w.BackColor().isValid());
    QVERIFY(!w.ForeColor().isValid());
    QVERIFY(!w.BorderColor().isValid());
    QCOMPARE(int(w.Border()), 0);
    QCOMPARE(w.BorderWidth(), 0);
    QCOMPARE(w.UserFlag(), false);
    QCOMPARE(w.IsPassive(), false);
    QCOMPARE(w.CanReLayoutParent(), true);
    QCOMPARE(w.IsSetByLayout(), false);
    QCOMPARE(w.TabIndex, 0);
    QCOMPARE(w.Tag, qintptr(0));
    QCOMPARE(w.focusPolicy(), Qt::ClickFocus);
    QCOMPARE(w.property("Anchor").toInt(), 5);
    QCOMPARE(w.property("Anchor").value<PositionFlag::Flags>(), PositionFlag::Top | PositionFlag::Left);
    QCOMPARE(w.property("Dock").value<DockType::Types>(), DockType::None);
    QCOMPARE(DesignerMode, false);

    // Tag holds a pointer as well as an int.
    w.Tag = reinterpret_cast<qintptr>(&w);
    QCOMPARE(reinterpret_cast<Plain*>(w.Tag), &w);
}

void TestZBase::PropertiesByName_data()
{
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QVariant>("expected"); // compared as int or as the variant itself

    QTest::newRow("Dock by name") << QByteArray("Dock") << QVariant(QStringLiteral("Fill")) << QVariant(5);
    QTest::newRow("Dock by int") << QByteArray("Dock") << QVariant(3) << QVariant(3);
    QTest::newRow("Dock by enum") << QByteArray("Dock") << QVariant::fromValue(DockType::Bottom) << QVariant(2);
    QTest::newRow("Anchor by names") << QByteArray("Anchor") << QVariant(QStringLiteral("Top|Right")) << QVariant(9);
    QTest::newRow("Anchor All") << QByteArray("Anchor") << QVariant::fromValue(PositionFlag::Flags(PositionFlag::All))
                                << QVariant(15);
    QTest::newRow("Border by names") << QByteArray("Border") << QVariant(QStringLiteral("Left|Bottom")) << QVariant(6);
    QTest::newRow("Radius") << QByteArray("Radius") << QVariant(7) << QVariant(7);
    QTest::newRow("BorderWidth") << QByteArray("BorderWidth") << QVariant(-2) << QVariant(-2);
    QTest::newRow("BackColor") << QByteArray("BackColor") << QVariant(QColor(1, 2, 3, 4)) << QVariant(QColor(1, 2, 3, 4));
    QTest::newRow("ForeColor by name") << QByteArray("ForeColor") << QVariant(QStringLiteral("#102030"))
                                       << QVariant(QColor(16, 32, 48));
    QTest::newRow("BorderColor") << QByteArray("BorderColor") << QVariant(QColor(Qt::red)) << QVariant(QColor(Qt::red));
    QTest::newRow("UserFlag") << QByteArray("UserFlag") << QVariant(true) << QVariant(true);
}

void TestZBase::PropertiesByName()
{
    QFETCH(QByteArray, name);
    QFETCH(QVariant, value);
    QFETCH(QVariant, expected);
    Plain w;
    QVERIFY(w.setProperty(name.constData(), value));
    const QVariant read = w.property(name.constData());
    if (expected.userType() == QMetaType::Int)
        QCOMPARE(read.toInt(), expected.toInt());
    else
        QCOMPARE(read, expected);
}

void TestZBase::IsPassiveIsReadOnly()
{
    Plain w;
    QVERIFY(!w.setProperty("IsPassive", true));
    QCOMPARE(w.IsPassive(), false);
    for (int dock = DockType::Top; dock <= DockType::Fill; ++dock) {
        w.SetDock(DockType::Types(dock));
        QVERIFY(w.property("IsPassive").toBool());
    }
    w.SetDock(DockType::None);
    QCOMPARE(w.property("IsPassive").toBool(), false);
    QVERIFY(!w.setProperty("Dock", QStringLiteral("Middle"))); // unknown name: refused, nothing stored
    QCOMPARE(w.Dock(), DockType::None);
}

void TestZBase::EnumHoldersConvertByName()
{
    auto key = [](const QMetaObject& mo, const char* enumName, const char* k) {
        const QMetaEnum e = mo.enumerator(mo.indexOfEnumerator(enumName));
        return e.isFlag() ? e.keysToValue(k) : e.keyToValue(k);
    };
    QCOMPARE(key(DockType::staticMetaObject, "Types", "Right"), 4);
    QCOMPARE(key(PositionFlag::staticMetaObject, "Flags", "Bottom|Right"), 10);
    QCOMPARE(key(PositionType::staticMetaObject, "Types", "Left"), 2);
    QCOMPARE(key(OrientationType::staticMetaObject, "Types", "Vertical"), 1);
    QCOMPARE(key(TextType::staticMetaObject, "Types", "MACaddress"), 5);
    QCOMPARE(key(TextType::staticMetaObject, "Types", "PhoneNumber"), 6);
    QVERIFY(QMetaType::type("PositionType::Types") != QMetaType::UnknownType);
    QVERIFY(QMetaType::type("OrientationType::Types") != QMetaType::UnknownType);
    QVERIFY(QMetaType::type("TextType::Types") != QMetaType::UnknownType);
}

// The client's forms come from Qt Designer files compiled by uic, which writes Z* properties with
// setProperty (stdset="0"), enums as QVariant(DockType::Top) and sets as QVariant(PositionFlag::A|B).
void TestZBase::UicGeneratedCodeSetsProperties()
{
    ZPanel form;
    Ui::TestForm ui;
    ui.setupUi(&form);
    QCOMPARE(form.BackColor(), QColor(1, 2, 3, 30));
    QCOMPARE(int(form.Border()), PositionFlag::Top | PositionFlag::Left);
    QCOMPARE(form.BorderWidth(), 2);
    QCOMPARE(ui.header->Dock(), DockType::Top);
    QCOMPARE(ui.header->UserFlag(), true);
    QCOMPARE(int(ui.corner->Anchor()), PositionFlag::Bottom | PositionFlag::Right);
    QCOMPARE(ui.corner->Radius(), 6);

    form.show();
    Settle();
    QCOMPARE(form.ContainerArea(), QRect(2, 2, 298, 198));
    QCOMPARE(ui.header->geometry(), QRect(2, 2, 298, 40));
    form.resize(400, 260);
    Settle();
    QCOMPARE(ui.corner->geometry(), QRect(350, 210, 40, 40));
}

void TestZBase::SettersRepaintOnlyOnChange()
{
    Plain w;
    w.resize(20, 20);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    Settle();
    const int before = w.Paints;
    w.SetBackColor(QColor(10, 10, 10));
    Settle();
    QVERIFY(w.Paints > before);
    const int afterChange = w.Paints;
    w.SetBackColor(QColor(10, 10, 10));
    w.SetRadius(0);
    w.SetBorderWidth(0);
    w.SetForeColor(QColor());
    Settle();
    QCOMPARE(w.Paints, afterChange);
}

void TestZBase::BorderChangesPostOneEvent()
{
    Plain w;
    ZEventCounter counter;
    w.installEventFilter(&counter);
    w.SetBorderWidth(1);
    w.SetBorderWidth(2);
    w.SetBorder(PositionFlag::Top);
    Settle();
    QCOMPARE(counter.Counts.value(ZEvent::BorderChanged), 1);
    w.SetBorderWidth(2); // unchanged: nothing
    Settle();
    QCOMPARE(counter.Counts.value(ZEvent::BorderChanged), 1);
    w.SetBorder(PositionFlag::All); // handled flag cleared: a new one
    Settle();
    QCOMPARE(counter.Counts.value(ZEvent::BorderChanged), 2);
}

void TestZBase::ChildResizeAsksContainerUntilLaidOut()
{
    CountingPanel panel;
    panel.resize(200, 100);
    auto* top = new Plain(&panel);
    top->resize(50, 20);
    top->SetDock(DockType::Top);
    panel.show();
    Settle();
    QVERIFY(top->IsSetByLayout()); // the layout stretched it across
    QCOMPARE(top->geometry(), QRect(0, 0, 200, 20));

    // A child placed by hand and never resized by the layout still asks once per change batch.
    auto* loose = new Plain(&panel);
    loose->setGeometry(10, 50, 30, 30);
    loose->show();
    Settle();
    int layouts = panel.Layouts;
    loose->resize(31, 30);
    loose->resize(32, 30);
    Settle();
    QCOMPARE(panel.Layouts, layouts + 1);

    // Once the layout has resized the docked child, its own resizes no longer trigger the container.
    layouts = panel.Layouts;
    top->resize(200, 35);
    Settle();
    QCOMPARE(panel.Layouts, layouts);
    QCOMPARE(top->height(), 35);
}

void TestZBase::DockChangeAsksContainerOnce()
{
    CountingPanel panel;
    panel.resize(200, 100);
    auto* child = new Plain(&panel);
    child->resize(40, 40);
    panel.show();
    Settle();
    const int layouts = panel.Layouts;
    child->SetDock(DockType::Left);
    child->SetDock(DockType::Right);
    child->SetDock(DockType::Right);
    Settle();
    QCOMPARE(panel.Layouts, layouts + 1);
    QCOMPARE(child->geometry(), QRect(160, 0, 40, 100));

    // An inner widget that does not re-layout its parent.
    auto* inner = new Plain(&panel);
    inner->SetCanReLayoutParent(false);
    inner->show();
    Settle();
    const int layouts2 = panel.Layouts;
    inner->SetDock(DockType::Top);
    inner->resize(10, 10);
    Settle();
    QCOMPARE(panel.Layouts, layouts2);
}

void TestZBase::GridListPaint_paintsChildrenAtOffset()
{
    Plain outer;
    outer.resize(20, 20);
    outer.SetBackColor(QColor(0, 0, 255));
    auto* inner = new Plain(&outer);
    inner->setGeometry(3, 4, 5, 5);
    inner->SetBackColor(QColor(255, 0, 0));
    inner->hide(); // visibility of children is not consulted

    QImage image(60, 60, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setPen(QColor(9, 9, 9));
    const QTransform before = p.transform();
    outer.GridListPaint(&p, QPoint(10, 20));
    QCOMPARE(p.transform(), before);
    QCOMPARE(p.pen().color(), QColor(9, 9, 9));
    p.end();

    QCOMPARE(image.pixel(11, 21), qRgb(0, 0, 255));
    QCOMPARE(image.pixel(13, 24), qRgb(255, 0, 0));
    QCOMPARE(image.pixel(17, 28), qRgb(255, 0, 0));
    QCOMPARE(image.pixel(18, 29), qRgb(0, 0, 255));
    QCOMPARE(qAlpha(image.pixel(9, 19)), 0);
}

void TestZBase::SetPassiveObjectName_prefixesTree()
{
    Plain root;
    root.setObjectName(QStringLiteral("bar"));
    auto* child = new Plain(&root);
    child->setObjectName(QStringLiteral("slider"));
    auto* grandChild = new QObject(child);
    SetPassiveObjectName(&root);
    QCOMPARE(root.objectName(), QStringLiteral("__qt__passive_bar"));
    QCOMPARE(child->objectName(), QStringLiteral("__qt__passive_slider"));
    QCOMPARE(grandChild->objectName(), QStringLiteral("__qt__passive_"));
}

void TestZBase::LibraryIconIsBuiltIn()
{
    const QImage png(QStringLiteral("://Icons/Velour.png"));
    QCOMPARE(png.size(), QSize(32, 32));
    QVERIFY(png.hasAlphaChannel());
    const QImage ico(QStringLiteral("://Icons/Velour.ico"));
    QCOMPARE(ico.size(), QSize(32, 32));
    QCOMPARE(QFile(QStringLiteral("://Icons/Velour.ico")).size(), qint64(4286));
}

QTEST_MAIN(TestZBase)
#include "tst_ZBase.moc"
