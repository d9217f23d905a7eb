#include "ZBaseButton.h"
#include "ZPanel.h"
#include "ZTabControl.h"
#include "ZTabPage.h"

#include <QMetaProperty>
#include <QPointer>
#include <QSignalSpy>
#include <QtTest>

namespace {

// The tab buttons of a control in page order (the control's direct button children, by their tab index).
QList<ZBaseButton*> TabButtons(ZTabControl* control)
{
    QList<ZBaseButton*> buttons;
    for (ZBaseButton* b : control->findChildren<ZBaseButton*>(QString(), Qt::FindDirectChildrenOnly)) {
        if (!b->isHidden())
            buttons << b;
    }
    std::sort(buttons.begin(), buttons.end(), [](ZBaseButton* a, ZBaseButton* b) { return a->TabIndex < b->TabIndex; });
    return buttons;
}

ZPanel* PaddingPanel(ZTabControl* control)
{
    for (ZPanel* p : control->findChildren<ZPanel*>(QString(), Qt::FindDirectChildrenOnly)) {
        if (!qobject_cast<ZTabPage*>(p))
            return p;
    }
    return nullptr;
}

QList<int> Emitted(const QSignalSpy& spy)
{
    QList<int> values;
    for (const QList<QVariant>& args : spy)
        values << args.at(0).toInt();
    return values;
}

// A shown control of that size with count pages, each with its own button.
struct Tabs
{
    explicit Tabs(int count, QSize size = QSize(800, 600))
    {
        control.resize(size);
        for (int i = 0; i < count; ++i) {
            pages << new ZTabPage(&control);
            control.AddPage(pages.last());
        }
        control.show();
    }
    ZTabControl control;
    QList<ZTabPage*> pages;
};

} // namespace

class TestZTabControl : public QObject
{
    Q_OBJECT

private slots:
    void Geometry_data();
    void Geometry();
    void SelectionSignal();
    void PendingSelection();
    void PendingSelectionUsedOnce();
    void PendingSelectionEnds_data();
    void PendingSelectionEnds();
    void Remove_data();
    void Remove();
    void DeletedPageLeavesTheList();
    void ClickSelects();
    void StateColours();
    void PageWithoutButton();
    void DestructionDeletesPages();
};

void TestZTabControl::Geometry_data()
{
    QTest::addColumn<int>("position");
    QTest::addColumn<QSize>("tab");
    QTest::addColumn<int>("border");
    QTest::addColumn<QList<QRect>>("buttons");
    QTest::addColumn<QRect>("page");
    QTest::addColumn<QRect>("padding"); // null: hidden

    QTest::newRow("left") << int(PositionType::Left) << QSize(120, 90) << 0
                          << QList<QRect>{{0, 0, 120, 90}, {0, 90, 120, 90}, {0, 180, 120, 90}}
                          << QRect(120, 0, 680, 600) << QRect(0, 270, 120, 330);
    QTest::newRow("top") << int(PositionType::Top) << QSize(100, 30) << 0
                         << QList<QRect>{{0, 0, 100, 30}, {100, 0, 100, 30}, {200, 0, 100, 30}}
                         << QRect(0, 30, 800, 570) << QRect(300, 0, 500, 30);
    QTest::newRow("bottom") << int(PositionType::Bottom) << QSize(100, 30) << 0
                            << QList<QRect>{{0, 570, 100, 30}, {100, 570, 100, 30}, {200, 570, 100, 30}}
                            << QRect(0, 0, 800, 570) << QRect(300, 570, 500, 30);
    QTest::newRow("right") << int(PositionType::Right) << QSize(120, 90) << 0
                           << QList<QRect>{{680, 0, 120, 90}, {680, 90, 120, 90}, {680, 180, 120, 90}}
                           << QRect(0, 0, 680, 600) << QRect(680, 270, 120, 330);
    QTest::newRow("top with border") << int(PositionType::Top) << QSize(100, 30) << 2
                                     << QList<QRect>{{2, 2, 100, 30}, {102, 2, 100, 30}, {202, 2, 100, 30}}
                                     << QRect(2, 32, 796, 566) << QRect(302, 2, 498, 30);
    QTest::newRow("left with border") << int(PositionType::Left) << QSize(120, 90) << 2
                                      << QList<QRect>{{2, 2, 120, 90}, {2, 92, 120, 90}, {2, 182, 120, 90}}
                                      << QRect(122, 2, 676, 596) << QRect(2, 272, 120, 328);
    QTest::newRow("tabs fill the strip: no padding") << int(PositionType::Top) << QSize(300, 30) << 0
                                                     << QList<QRect>{{0, 0, 300, 30}, {300, 0, 300, 30}, {600, 0, 300, 30}}
                                                     << QRect(0, 30, 800, 570) << QRect();
}

void TestZTabControl::Geometry()
{
    QFETCH(int, position);
    QFETCH(QSize, tab);
    QFETCH(int, border);
    QFETCH(QList<QRect>, buttons);
    QFETCH(QRect, page);
    QFETCH(QRect, padding);

    Tabs t(3);
    t.control.SetBorderWidth(border);
    QVERIFY(t.control.setProperty("TabBarPosition", QVariant::fromValue(PositionType::Types(position))));
    t.control.SetTabBarSize(tab);
    QCoreApplication::sendPostedEvents();

    const QList<ZBaseButton*> found = TabButtons(&t.control);
    QCOMPARE(found.size(), 3);
    for (int i = 0; i < 3; ++i) {
        QCOMPARE(found.at(i)->geometry(), buttons.at(i));
        QCOMPARE(t.pages.at(i)->geometry(), page);
    }
    ZPanel* pad = PaddingPanel(&t.control);
    QVERIFY(pad);
    if (padding.isNull()) {
        QVERIFY(pad->isHidden());
    } else {
        QVERIFY(!pad->isHidden());
        QCOMPARE(pad->geometry(), padding);
    }
    // Only the selected page shows.
    QVERIFY(t.pages.at(2)->isVisible());
    QVERIFY(!t.pages.at(0)->isVisible());
    QVERIFY(!t.pages.at(1)->isVisible());

    // Resizing lays out again.
    t.control.resize(900, 700);
    QCOMPARE(t.pages.at(0)->width(), page.width() + 100);
}

void TestZTabControl::SelectionSignal()
{
    ZTabControl control;
    QSignalSpy spy(&control, &ZTabControl::SelectedPageChanged);
    QCOMPARE(control.SelectedIndex(), -1);
    QList<ZTabPage*> pages;
    for (int i = 0; i < 3; ++i) {
        pages << new ZTabPage(&control);
        control.AddPage(pages.last());
    }
    QCOMPARE(Emitted(spy), (QList<int>{0, 1, 2}));
    QCOMPARE(control.SelectedIndex(), 2);
    spy.clear();

    control.SetSelectedIndex(10); // limited to the last page, already selected
    QCOMPARE(control.SelectedIndex(), 2);
    QVERIFY(spy.isEmpty());
    control.SetSelectedIndex(0);
    control.SetSelectedIndex(0);
    QCOMPARE(Emitted(spy), QList<int>{0});
    QVERIFY(!pages.at(0)->isHidden());
    QVERIFY(pages.at(2)->isHidden());
    spy.clear();

    control.SetSelectedIndex(-1);
    QCOMPARE(Emitted(spy), QList<int>{-1});
    QVERIFY(pages.at(0)->isHidden());
    spy.clear();

    // Inserting selects the new page, also at the selected index.
    control.SetSelectedIndex(1);
    auto* inserted = new ZTabPage(&control);
    control.InsertPage(1, inserted);
    QCOMPARE(Emitted(spy), (QList<int>{1, 1}));
    QCOMPARE(control.Page(1), inserted);
    QVERIFY(!inserted->isHidden());
    QVERIFY(pages.at(1)->isHidden());
    QCOMPARE(control.Page(2), pages.at(1));
    // Out of range or twice: limited, ignored.
    control.InsertPage(99, new ZTabPage(&control));
    QCOMPARE(control.Count(), 5);
    QCOMPARE(control.SelectedIndex(), 4);
    control.AddPage(inserted);
    QCOMPARE(control.Count(), 5);
    control.AddPage(static_cast<ZTabPage*>(nullptr));
    QCOMPARE(control.Count(), 5);
    QCOMPARE(control.Page(5), nullptr);
    QCOMPARE(control.Page(-1), nullptr);
}

// Form code sets the index before it adds the pages: the stored page is shown once it exists, whatever
// is added after it.
void TestZTabControl::PendingSelection()
{
    ZTabControl control;
    QSignalSpy spy(&control, &ZTabControl::SelectedPageChanged);
    control.SetSelectedIndex(1);
    QCOMPARE(control.SelectedIndex(), -1);
    QVERIFY(spy.isEmpty());
    QList<ZTabPage*> pages;
    for (int i = 0; i < 3; ++i) {
        pages << new ZTabPage(&control);
        control.AddPage(pages.last());
    }
    QCOMPARE(control.SelectedIndex(), 1);
    QCOMPARE(Emitted(spy), (QList<int>{0, 1}));
    QVERIFY(!pages.at(1)->isHidden());
    QVERIFY(pages.at(0)->isHidden());
    QVERIFY(pages.at(2)->isHidden());

    // The first page: selected once, not again by the pages after it.
    ZTabControl first;
    QSignalSpy firstSpy(&first, &ZTabControl::SelectedPageChanged);
    first.SetSelectedIndex(0);
    for (int i = 0; i < 3; ++i)
        first.AddPage(new ZTabPage(&first));
    QCOMPARE(first.SelectedIndex(), 0);
    QCOMPARE(Emitted(firstSpy), QList<int>{0});

    // A page inserted before the pending one: the index follows it, the page stays selected.
    ZTabControl moved;
    auto* a = new ZTabPage(&moved);
    moved.AddPage(a);
    moved.SetSelectedIndex(1);
    QCOMPARE(moved.SelectedIndex(), 0);
    QSignalSpy movedSpy(&moved, &ZTabControl::SelectedPageChanged);
    moved.InsertPage(0, new ZTabPage(&moved));
    QCOMPARE(moved.SelectedIndex(), 1);
    QCOMPARE(moved.Page(1), a);
    QVERIFY(!a->isHidden());
    QCOMPARE(Emitted(movedSpy), QList<int>{1});
}

// An index past the last page selects its page when it arrives, and only then: the next page added is
// selected as any added page is. A form's pending page holds only while that form adds its pages.
void TestZTabControl::PendingSelectionUsedOnce()
{
    ZTabControl control;
    for (int i = 0; i < 2; ++i)
        control.AddPage(new ZTabPage(&control));
    QSignalSpy spy(&control, &ZTabControl::SelectedPageChanged);
    control.SetSelectedIndex(2);
    QCOMPARE(control.SelectedIndex(), 1);
    auto* c = new ZTabPage(&control);
    control.AddPage(c);
    QCOMPARE(control.SelectedIndex(), 2);
    auto* d = new ZTabPage(&control);
    control.AddPage(d);
    QCOMPARE(control.SelectedIndex(), 3);
    QCOMPARE(Emitted(spy), (QList<int>{2, 3}));
    QVERIFY(c->isHidden());
    QVERIFY(!d->isHidden());
    // Inserted before the others, a page is selected as well.
    auto* e = new ZTabPage(&control);
    control.InsertPage(0, e);
    QCOMPARE(control.SelectedIndex(), 0);
    QVERIFY(!e->isHidden());

    // A form sets index 1 on the empty control and adds three pages: page 1 stays selected to the end of
    // the build. Once the event loop has run, an added page is selected again.
    ZTabControl form;
    QSignalSpy formSpy(&form, &ZTabControl::SelectedPageChanged);
    form.SetSelectedIndex(1);
    QList<ZTabPage*> pages;
    for (int i = 0; i < 3; ++i) {
        pages << new ZTabPage(&form);
        form.AddPage(pages.last());
    }
    QCOMPARE(form.SelectedIndex(), 1);
    QCoreApplication::processEvents();
    QCOMPARE(form.SelectedIndex(), 1);
    auto* later = new ZTabPage(&form);
    form.AddPage(later);
    QCOMPARE(form.SelectedIndex(), 3);
    QVERIFY(!later->isHidden());
    QVERIFY(pages.at(1)->isHidden());
    QCOMPARE(Emitted(formSpy), (QList<int>{0, 1, 3}));

    // A form index whose page had not arrived by then still selects it once, when it comes.
    ZTabControl early;
    early.SetSelectedIndex(1);
    early.AddPage(new ZTabPage(&early));
    QCoreApplication::processEvents();
    early.AddPage(new ZTabPage(&early));
    QCOMPARE(early.SelectedIndex(), 1);
    early.AddPage(new ZTabPage(&early));
    QCOMPARE(early.SelectedIndex(), 2);
}

void TestZTabControl::PendingSelectionEnds_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("index within the pages") << "index";
    QTest::newRow("tab click") << "click";
    QTest::newRow("page removed") << "remove";
}

// Once something else chose, adding a page selects the new page again.
void TestZTabControl::PendingSelectionEnds()
{
    QFETCH(QString, how);
    ZTabControl control;
    control.SetTabBarSize(QSize(100, 30));
    control.show();
    control.SetSelectedIndex(0);
    for (int i = 0; i < 3; ++i)
        control.AddPage(new ZTabPage(&control));
    QCOMPARE(control.SelectedIndex(), 0);
    if (how == "index")
        control.SetSelectedIndex(1);
    else if (how == "click")
        QTest::mouseClick(TabButtons(&control).at(1), Qt::LeftButton);
    else
        control.RemovePage(2);
    const int count = control.Count();
    control.AddPage(new ZTabPage(&control));
    QCOMPARE(control.SelectedIndex(), count);
}

void TestZTabControl::Remove_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("selected");
    QTest::addColumn<int>("remove");
    QTest::addColumn<int>("selectedAfter");
    QTest::addColumn<int>("selectedPageAfter"); // index into the original pages, -1 none
    QTest::addColumn<QList<int>>("emitted");

    QTest::newRow("selected, in the middle") << 4 << 2 << 2 << 1 << 1 << QList<int>{1};
    QTest::newRow("selected, first: none left selected") << 4 << 0 << 0 << -1 << -1 << QList<int>{};
    QTest::newRow("before the selected: same page") << 4 << 2 << 0 << 1 << 2 << QList<int>{1};
    QTest::newRow("after the selected") << 4 << 1 << 3 << 1 << 1 << QList<int>{};
    QTest::newRow("out of range") << 3 << 1 << 3 << 1 << 1 << QList<int>{};
    QTest::newRow("negative") << 3 << 1 << -1 << 1 << 1 << QList<int>{};
    QTest::newRow("the only page") << 1 << 0 << 0 << -1 << -1 << QList<int>{};
}

void TestZTabControl::Remove()
{
    QFETCH(int, count);
    QFETCH(int, selected);
    QFETCH(int, remove);
    QFETCH(int, selectedAfter);
    QFETCH(int, selectedPageAfter);
    QFETCH(QList<int>, emitted);

    Tabs t(count);
    t.control.SetTabBarSize(QSize(100, 30));
    t.control.SetSelectedIndex(selected);
    QSignalSpy spy(&t.control, &ZTabControl::SelectedPageChanged);
    t.control.RemovePage(remove);

    const bool removed = remove >= 0 && remove < count;
    QCOMPARE(t.control.Count(), removed ? count - 1 : count);
    QCOMPARE(t.control.SelectedIndex(), selectedAfter);
    QCOMPARE(Emitted(spy), emitted);
    if (selectedPageAfter >= 0) {
        QCOMPARE(t.control.Page(selectedAfter), t.pages.at(selectedPageAfter));
        QVERIFY(t.pages.at(selectedPageAfter)->isVisible());
    }
    for (int i = 0; i < count; ++i) {
        if (i != selectedPageAfter)
            QVERIFY2(!t.pages.at(i)->isVisible(), qPrintable(QString::number(i)));
    }
    if (removed) {
        ZTabPage* page = t.pages.at(remove);
        QCOMPARE(page->parentWidget(), &t.control); // the caller's now, still a child
        QVERIFY(page->isHidden());
        QCOMPARE(TabButtons(&t.control).size(), count - 1);
        // The strip closed up.
        for (int i = 0; i < t.control.Count(); ++i)
            QCOMPARE(TabButtons(&t.control).at(i)->x(), 100 * i);
        delete page;
        QCOMPARE(t.control.Count(), count - 1);
    }
}

void TestZTabControl::DeletedPageLeavesTheList()
{
    Tabs t(3);
    t.control.SetSelectedIndex(1);
    QSignalSpy spy(&t.control, &ZTabControl::SelectedPageChanged);
    delete t.pages.at(0);
    QCOMPARE(t.control.Count(), 2);
    QCOMPARE(t.control.SelectedIndex(), 0);
    QCOMPARE(t.control.Page(0), t.pages.at(1));
    delete t.pages.at(1); // the selected one
    QCOMPARE(t.control.Count(), 1);
    QCOMPARE(t.control.SelectedIndex(), -1);
    // The selected page at index 0 gave way to none: -1 is where the selection was reset to, no signal.
    QCOMPARE(Emitted(spy), QList<int>{0});
    t.control.resize(500, 500); // lays out the remaining page
    QCOMPARE(t.pages.at(2)->width(), 500);
}

void TestZTabControl::ClickSelects()
{
    Tabs t(3);
    t.control.SetTabBarSize(QSize(100, 30));
    t.pages.at(1)->SetTabBarBackColorHover(Qt::green);
    QSignalSpy spy(&t.control, &ZTabControl::SelectedPageChanged);
    const QList<ZBaseButton*> buttons = TabButtons(&t.control);
    QTest::mouseClick(buttons.at(1), Qt::LeftButton);
    QCOMPARE(t.control.SelectedIndex(), 1);
    QCOMPARE(Emitted(spy), QList<int>{1});
    QVERIFY(!buttons.at(1)->CanHover()); // no hover look while selected
    QVERIFY(buttons.at(2)->CanHover());
    QTest::mouseClick(buttons.at(1), Qt::LeftButton);
    QCOMPARE(spy.size(), 1);
}

void TestZTabControl::StateColours()
{
    Tabs t(2);
    ZTabPage* page = t.pages.at(0);
    QPixmap normal(8, 8), selected(9, 9);
    page->SetTabBarBackColor(Qt::red);
    page->SetTabBarBackColorSelected(Qt::blue);
    page->SetTabBarForeColor(Qt::white);
    page->SetTabBarForeColorSelected(Qt::black);
    page->SetTabBarBorderColor(Qt::gray);
    page->SetTabBarBorderColorSelected(Qt::yellow);
    page->SetTabBarImage(normal);
    page->SetTabBarImageSelected(selected);
    ZBaseButton* button = TabButtons(&t.control).at(0);
    QCOMPARE(button->BackColor(), QColor(Qt::red)); // page 1 is selected
    QCOMPARE(button->property("Image").value<QPixmap>().size(), QSize(8, 8));

    t.control.SetSelectedIndex(0);
    QCOMPARE(button->BackColor(), QColor(Qt::blue));
    QCOMPARE(button->ForeColor(), QColor(Qt::black));
    QCOMPARE(button->BorderColor(), QColor(Qt::yellow));
    QCOMPARE(button->property("Image").value<QPixmap>().size(), QSize(9, 9));
    // A change of the selected state's colour shows at once; the other state's waits.
    page->SetTabBarBackColorSelected(Qt::cyan);
    page->SetTabBarBackColor(Qt::magenta);
    QCOMPARE(button->BackColor(), QColor(Qt::cyan));

    t.control.SetSelectedIndex(1);
    QCOMPARE(button->BackColor(), QColor(Qt::magenta));
    QCOMPARE(button->ForeColor(), QColor(Qt::white));
    QCOMPARE(button->BorderColor(), QColor(Qt::gray));

    // Pass-through properties read the button; the page's font goes to it.
    page->SetText(QStringLiteral("Monitor"));
    QCOMPARE(button->Text(), QStringLiteral("Monitor"));
    QCOMPARE(page->property("Text").toString(), QStringLiteral("Monitor"));
    page->SetTabBarBorderWidth(2);
    QCOMPARE(button->BorderWidth(), 2);
    QFont font = page->font();
    font.setPixelSize(21);
    page->setFont(font);
    QCOMPARE(button->font().pixelSize(), 21);
}

void TestZTabControl::PageWithoutButton()
{
    ZTabControl control;
    control.resize(400, 300);
    control.SetTabBarSize(QSize(100, 30));
    auto* bare = new ZTabPage(&control, false);
    auto* other = new ZTabPage(&control);
    control.AddPage(bare);
    control.AddPage(other);

    // Every writable property set and read back without a button to back it.
    const QMetaObject* meta = bare->metaObject();
    for (int i = meta->propertyOffset(); i < meta->propertyCount(); ++i) {
        const QMetaProperty p = meta->property(i);
        QVariant sample;
        switch (int(p.userType())) {
        case QMetaType::QString: sample = QStringLiteral("x"); break;
        case QMetaType::QPoint: sample = QPoint(3, 4); break;
        case QMetaType::QPixmap: sample = QPixmap(4, 4); break;
        case QMetaType::QColor: sample = QColor(Qt::red); break;
        case QMetaType::Int: sample = 3; break;
        default: sample = QVariant::fromValue(PositionFlag::Flags(PositionFlag::All)); break;
        }
        if (p.isWritable())
            p.write(bare, sample);
        QVERIFY2(p.read(bare).isValid() || !p.isReadable(), p.name());
    }
    QCOMPARE(bare->Text(), QString());
    QCOMPARE(bare->TabBarBorderWidth(), 0);
    QVERIFY(!bare->TabBarBackColorHover().isValid());
    QFont font = bare->font();
    font.setPixelSize(19);
    bare->setFont(font);

    // In the list and laid out: no tab in the strip, the page takes the page area.
    control.SetSelectedIndex(0);
    control.SetTabBarPosition(PositionType::Left);
    QCOMPARE(TabButtons(&control).size(), 1);
    QCOMPARE(TabButtons(&control).at(0)->geometry(), QRect(0, 0, 100, 30));
    QCOMPARE(bare->geometry(), QRect(100, 0, 300, 300));
    control.RemovePage(0);
    QCOMPARE(control.Count(), 1);
    control.InsertPage(0, bare);
    QCOMPARE(control.SelectedIndex(), 0);
    delete bare;
    QCOMPARE(control.Count(), 1);
}

void TestZTabControl::DestructionDeletesPages()
{
    auto* control = new ZTabControl;
    QPointer<ZTabPage> kept = new ZTabPage(control);
    QPointer<ZTabPage> removed = new ZTabPage(control);
    control->AddPage(kept);
    control->AddPage(removed);
    control->RemovePage(1);
    removed->setParent(nullptr);
    delete control;
    QVERIFY(kept.isNull());
    QVERIFY(!removed.isNull());
    delete removed.data();
}

QTEST_MAIN(TestZTabControl)
#include "tst_ZTabControl.moc"
