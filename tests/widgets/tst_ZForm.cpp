#include "ZBaseButton.h"
#include "ZForm.h"
#include "ZFrame.h"
#include "ZPanel.h"
#include "ZTabControl.h"
#include "ZTabPage.h"
#include "ui_FormWithTabs.h"

#include <QPointer>
#include <QTimer>
#include <QWindow>
#include <QtTest>

namespace {

// A form that counts its hooks; the system-button hooks keep their defaults.
class Form : public ZForm
{
public:
    using ZForm::ZForm;
    int TitlePresses = 0;
    int ExitOnShow = -1;

protected:
    void TitleMousePressEvent() override { ++TitlePresses; }
    bool event(QEvent* e) override
    {
        if (e->type() == QEvent::Show && ExitOnShow >= 0)
            exit(ExitOnShow);
        return ZForm::event(e);
    }
};

// The form's system buttons by their place on the title bar, right to left: close first.
QList<ZBaseButton*> VisibleSysButtons(ZForm* form)
{
    QList<ZBaseButton*> buttons;
    for (ZBaseButton* b : form->findChildren<ZBaseButton*>()) {
        if (b->isVisibleTo(form))
            buttons << b;
    }
    std::sort(buttons.begin(), buttons.end(), [](ZBaseButton* a, ZBaseButton* b) { return a->x() > b->x(); });
    return buttons;
}

void Settle()
{
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
}

// A left-button drag on the window from one point to another, released where the mouse then is: the
// window may have moved under it.
void Drag(QWindow* window, const QPoint& from, const QPoint& to)
{
    QTest::mousePress(window, Qt::LeftButton, {}, from);
    const QPoint global = window->mapToGlobal(to);
    QTest::mouseMove(window, to);
    QTest::mouseRelease(window, Qt::LeftButton, {}, window->mapFromGlobal(global));
}

// A form shown at a known place, laid out.
void ShowAt(ZForm* form, const QPoint& p, const QSize& s)
{
    form->resize(s);
    form->move(p);
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form->HostWindow()));
    Settle();
}

} // namespace

class TestZForm : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void HostGeometry();
    void NoCompositorNoMargin();
    void MaximisedFillsHost();
    void ShowNormalComesBackMaximised();
    void TitleDragMovesHost();
    void EdgeDragResizesWithinMinimum();
    void EdgeCursor();
    void CaptionDoubleClickTogglesMaximise();
    void CannotResize();
    void SysButtons_data();
    void SysButtons();
    void SysButtonSizeLimitedByTitle();
    void ZeroSizeSysButtonsAreNotClickable();
    void NoTitleBarNoCaption();
    void ExecExitCode();
    void ExecCloseButtonGivesZero();
    void ExecSurvivesMinimise();
    void ExecNestedIsRefused();
    void ExecExitDuringShow();
    void CentresOverParentWindow();
    void DeletingEitherSide();
    void PaintsTitleBodyAndShadow();
    void SetupUiActsOnTheHost();
    void ActiveWindowHasTheDarkerShadow();
    void StayOnTopAndIcon();
    void DesignerModeHasNoHost();
};

void TestZForm::initTestCase()
{
    // Closing the last window would otherwise quit every running event loop, exec's too.
    QGuiApplication::setQuitOnLastWindowClosed(false);
}

void TestZForm::HostGeometry()
{
    Form form;
    QWidget* host = form.HostWindow();
    QVERIFY(host != &form);
    QVERIFY(host->isWindow());
    QVERIFY(host->windowFlags() & Qt::FramelessWindowHint);
    QCOMPARE(host->windowFlags() & Qt::WindowType_Mask, Qt::Window);
    QVERIFY(!host->isVisible());

    form.resize(400, 300);
    QCOMPARE(host->size(), QSize(432, 332));
    QCOMPARE(form.geometry(), QRect(16, 16, 400, 300));
    form.move(QPoint(100, 80));
    QCOMPARE(host->pos(), QPoint(84, 64));
    form.setGeometry(QRect(50, 60, 300, 200));
    QCOMPARE(host->geometry(), QRect(34, 44, 332, 232));
    QCOMPARE(form.geometry(), QRect(16, 16, 300, 200));
    form.setMinimumSize(200, 100);
    QCOMPARE(host->minimumSize(), QSize(232, 132));
    QCOMPARE(form.minimumSize(), QSize(200, 100));

    // A form with a parent form is a dialog over the parent's host.
    Form child(&form);
    QCOMPARE(child.HostWindow()->windowFlags() & Qt::WindowType_Mask, Qt::Dialog);
    QCOMPARE(child.HostWindow()->parentWidget(), host);
}

void TestZForm::NoCompositorNoMargin()
{
    ZFrame::OverrideTranslucentWindows(0);
    Form form;
    ZFrame::OverrideTranslucentWindows(-1);
    QWidget* host = form.HostWindow();
    QVERIFY(!host->testAttribute(Qt::WA_TranslucentBackground));
    form.resize(400, 300);
    QCOMPARE(host->size(), QSize(400, 300));
    QCOMPARE(form.geometry(), QRect(0, 0, 400, 300));
    form.move(100, 80);
    QCOMPARE(host->pos(), QPoint(100, 80));
    ShowAt(&form, QPoint(100, 80), QSize(400, 300));
    // No band of shadow: the resize edge is the 5 pixels at the form's own border.
    QWindow* window = host->windowHandle();
    Drag(window, QPoint(2, 150), QPoint(-28, 150));
    QCOMPARE(host->geometry(), QRect(70, 80, 430, 300));
}

void TestZForm::MaximisedFillsHost()
{
    Form form;
    ShowAt(&form, QPoint(100, 100), QSize(400, 300));
    form.showMaximized();
    QTRY_VERIFY(form.HostWindow()->isMaximized());
    Settle();
    QCOMPARE(form.geometry(), QRect(QPoint(0, 0), form.HostWindow()->size()));
    form.HostWindow()->showNormal();
    QTRY_VERIFY(!form.HostWindow()->isMaximized());
    QTRY_COMPARE(form.geometry(), QRect(16, 16, 400, 300));
}

void TestZForm::ShowNormalComesBackMaximised()
{
    Form form;
    ShowAt(&form, QPoint(100, 100), QSize(400, 300));
    QWidget* host = form.HostWindow();
    form.showMaximized();
    QTRY_VERIFY(host->isMaximized());
    form.showMinimized();
    QTRY_VERIFY(host->isMinimized());
    form.showNormal();
    QTRY_VERIFY(host->isMaximized());
    QVERIFY(!host->isMinimized());

    host->showNormal();
    QTRY_VERIFY(!host->isMaximized());
    form.showMinimized();
    QTRY_VERIFY(host->isMinimized());
    form.showNormal();
    QTRY_VERIFY(!host->isMinimized());
    QVERIFY(!host->isMaximized());
}

void TestZForm::TitleDragMovesHost()
{
    Form form;
    ShowAt(&form, QPoint(200, 150), QSize(400, 300));
    QWidget* host = form.HostWindow();
    QWindow* window = host->windowHandle();
    const QPoint start = host->pos();

    // On the caption: the title bar left of the system buttons, below the resize band.
    const QPoint caption(100, 16 + 15);
    QTest::mousePress(window, Qt::LeftButton, {}, caption);
    QCOMPARE(form.TitlePresses, 1);
    QTest::mouseMove(window, caption + QPoint(40, 25));
    QCOMPARE(host->pos(), start + QPoint(40, 25));
    // The window moved with the mouse: the release is where the press was, in window coordinates.
    QTest::mouseRelease(window, Qt::LeftButton, {}, caption);
    QCOMPARE(host->pos(), start + QPoint(40, 25));
    QCOMPARE(form.TitlePresses, 1);

    // A press that moves less than the drag distance moves nothing.
    Drag(window, caption, caption + QPoint(1, 0));
    QCOMPARE(host->pos(), start + QPoint(40, 25));
    QCOMPARE(form.TitlePresses, 2);

    // On the body: the widgets' own, no hook, no move.
    Drag(window, QPoint(200, 200), QPoint(260, 240));
    QCOMPARE(host->pos(), start + QPoint(40, 25));
    QCOMPARE(form.TitlePresses, 2);
}

void TestZForm::EdgeDragResizesWithinMinimum()
{
    Form form;
    form.setMinimumSize(200, 100);
    ShowAt(&form, QPoint(200, 150), QSize(400, 300));
    QWidget* host = form.HostWindow();
    QWindow* window = host->windowHandle();
    const QRect start = host->geometry();

    // The right edge, in the shadow margin.
    QTest::mousePress(window, Qt::LeftButton, {}, QPoint(425, 166));
    QCOMPARE(form.TitlePresses, 1); // a press on the frame, as on the caption
    QTest::mouseMove(window, QPoint(395, 166));
    QTest::mouseRelease(window, Qt::LeftButton, {}, QPoint(395, 166));
    QCOMPARE(form.TitlePresses, 1);
    QCOMPARE(host->geometry(), QRect(start.topLeft(), QSize(402, 332)));
    Settle();
    QCOMPARE(form.size(), QSize(370, 300));

    // The top-left corner, dragged far past the minimum: the bottom-right corner stays.
    const QRect before = host->geometry();
    Drag(window, QPoint(3, 3), QPoint(250, 220));
    QCOMPARE(host->geometry(), QRect(before.right() + 1 - 232, before.bottom() + 1 - 132, 232, 132));
}

void TestZForm::EdgeCursor()
{
    Form form;
    ShowAt(&form, QPoint(200, 150), QSize(400, 300));
    QWindow* window = form.HostWindow()->windowHandle();
    QTest::mouseMove(window, QPoint(5, 166));
    QCOMPARE(window->cursor().shape(), Qt::SizeHorCursor);
    QTest::mouseMove(window, QPoint(5, 5));
    QCOMPARE(window->cursor().shape(), Qt::SizeFDiagCursor);
    QTest::mouseMove(window, QPoint(200, 200));
    QCOMPARE(window->cursor().shape(), Qt::ArrowCursor);
}

void TestZForm::CaptionDoubleClickTogglesMaximise()
{
    Form form;
    ShowAt(&form, QPoint(200, 150), QSize(400, 300));
    QWidget* host = form.HostWindow();
    QWindow* window = host->windowHandle();
    QTest::mouseDClick(window, Qt::LeftButton, {}, QPoint(100, 31));
    QTRY_VERIFY(host->isMaximized());
    Settle();
    // Maximised the title bar starts at the window's top.
    QTest::mouseDClick(window, Qt::LeftButton, {}, QPoint(100, 10));
    QTRY_VERIFY(!host->isMaximized());
    // A double click on the body is the widgets' own.
    QTest::mouseDClick(window, Qt::LeftButton, {}, QPoint(200, 200));
    Settle();
    QVERIFY(!host->isMaximized());
}

void TestZForm::CannotResize()
{
    Form form;
    form.SetCanResize(false);
    ShowAt(&form, QPoint(200, 150), QSize(400, 300));
    QWidget* host = form.HostWindow();
    QWindow* window = host->windowHandle();
    const QRect start = host->geometry();
    Drag(window, QPoint(425, 166), QPoint(395, 166));
    QCOMPARE(host->geometry(), start);
    QCOMPARE(form.TitlePresses, 0);
    QTest::mouseDClick(window, Qt::LeftButton, {}, QPoint(100, 31));
    Settle();
    QVERIFY(!host->isMaximized());
    // The caption still drags.
    Drag(window, QPoint(100, 31), QPoint(130, 31));
    QCOMPARE(host->pos(), start.topLeft() + QPoint(30, 0));
}

void TestZForm::SysButtons_data()
{
    QTest::addColumn<bool>("showMinimize");
    QTest::addColumn<bool>("showMaximize");
    QTest::addColumn<bool>("maximised");
    // x of the visible buttons right to left, on a 400-pixel form with 45 x 30 buttons.
    QTest::addColumn<QList<int>>("xs");

    QTest::newRow("all") << true << true << false << QList<int>{355, 310, 265};
    QTest::newRow("no maximize: minimize beside close") << true << false << false << QList<int>{355, 310};
    QTest::newRow("no minimize") << false << true << false << QList<int>{355, 310};
    QTest::newRow("close only") << false << false << false << QList<int>{355};
    QTest::newRow("maximised: restore in maximize's place") << true << true << true << QList<int>{};
}

void TestZForm::SysButtons()
{
    QFETCH(bool, showMinimize);
    QFETCH(bool, showMaximize);
    QFETCH(bool, maximised);
    QFETCH(QList<int>, xs);

    Form form;
    form.SetShowMinimizeButton(showMinimize);
    form.SetShowMaximizeButton(showMaximize);
    ShowAt(&form, QPoint(100, 100), QSize(400, 300));
    const QList<ZBaseButton*> normal = VisibleSysButtons(&form);
    if (!maximised) {
        QCOMPARE(normal.size(), xs.size());
        for (int i = 0; i < xs.size(); ++i) {
            QCOMPARE(normal.at(i)->geometry(), QRect(xs.at(i), 0, 45, 30));
        }
        return;
    }
    form.showMaximized();
    QTRY_VERIFY(form.HostWindow()->isMaximized());
    Settle();
    const QList<ZBaseButton*> swapped = VisibleSysButtons(&form);
    QCOMPARE(swapped.size(), 3);
    const int w = form.width();
    QCOMPARE(swapped.at(0)->x(), w - 45);
    QCOMPARE(swapped.at(1)->x(), w - 90);
    QVERIFY(!normal.contains(swapped.at(1))); // restore, not maximize
    QVERIFY(!swapped.at(1)->isHidden());

    // The restore button restores.
    QWindow* window = form.HostWindow()->windowHandle();
    QTest::mouseClick(window, Qt::LeftButton, {}, swapped.at(1)->mapTo(form.HostWindow(), QPoint(20, 15)));
    QTRY_VERIFY(!form.HostWindow()->isMaximized());
    Settle();
    QCOMPARE(VisibleSysButtons(&form), normal);
}

void TestZForm::SysButtonSizeLimitedByTitle()
{
    Form form;
    form.SetSysButtonSize(QSize(40, 50));
    QCOMPARE(form.SysButtonSize(), QSize(40, 30));
    form.SetTitleHeight(40);
    QCOMPARE(form.TitleHeight(), 40);
    QCOMPARE(form.SysButtonSize(), QSize(40, 30)); // limited when set, not later
    form.SetSysButtonSize(QSize(40, 50));
    QCOMPARE(form.SysButtonSize(), QSize(40, 40));
    QCOMPARE(form.property("SysButtonSize").toSize(), QSize(40, 40));
}

void TestZForm::ZeroSizeSysButtonsAreNotClickable()
{
    Form form;
    form.SetSysButtonSize(QSize(0, 0));
    ShowAt(&form, QPoint(100, 100), QSize(400, 300));
    QWidget* host = form.HostWindow();
    // Where close would be: the title bar's right end, inside the resize band's reach past it.
    QTest::mouseClick(host->windowHandle(), Qt::LeftButton, {}, QPoint(16 + 390, 31));
    Settle();
    QVERIFY(host->isVisible());
    QCOMPARE(form.TitlePresses, 1); // the press landed on the caption

    // With normal buttons the same press closes.
    form.SetSysButtonSize(QSize(45, 30));
    Settle();
    QTest::mouseClick(host->windowHandle(), Qt::LeftButton, {}, QPoint(16 + 390, 31));
    QTRY_VERIFY(!host->isVisible());
    QCOMPARE(form.TitlePresses, 1);
}

void TestZForm::NoTitleBarNoCaption()
{
    Form form;
    form.SetTitleHeight(0);
    ShowAt(&form, QPoint(100, 100), QSize(400, 300));
    QWidget* host = form.HostWindow();
    const QPoint start = host->pos();
    Drag(host->windowHandle(), QPoint(100, 31), QPoint(160, 61));
    QCOMPARE(host->pos(), start);
    QCOMPARE(form.TitlePresses, 0);
    QVERIFY(VisibleSysButtons(&form).value(0)->visibleRegion().isEmpty()); // clipped away with the bar
}

void TestZForm::ExecExitCode()
{
    Form form;
    form.resize(300, 200);
    QTimer::singleShot(0, &form, [&form]() { form.exit(5); });
    QCOMPARE(form.exec(), 5);
    QVERIFY(!form.HostWindow()->isVisible());
    QCOMPARE(form.HostWindow()->windowModality(), Qt::NonModal);
    form.exit(9); // nothing runs: nothing happens
    QVERIFY(!form.HostWindow()->isVisible());
}

void TestZForm::ExecCloseButtonGivesZero()
{
    Form form;
    form.resize(300, 200);
    bool modalWhileRunning = false;
    QTimer::singleShot(0, &form, [&]() {
        QWidget* host = form.HostWindow();
        modalWhileRunning = host->windowModality() == Qt::WindowModal;
        ZBaseButton* close = VisibleSysButtons(&form).value(0);
        QVERIFY(close);
        QTest::mouseClick(host->windowHandle(), Qt::LeftButton, {}, close->mapTo(host, QPoint(20, 15)));
    });
    QCOMPARE(form.exec(), 0);
    QVERIFY(modalWhileRunning);
    QVERIFY(!form.HostWindow()->isVisible());
}

void TestZForm::ExecSurvivesMinimise()
{
    Form form;
    form.resize(300, 200);
    bool runningAfterMinimise = false;
    QTimer::singleShot(0, &form, [&]() { form.showMinimized(); });
    QTimer::singleShot(50, &form, [&]() {
        runningAfterMinimise = form.HostWindow()->isMinimized();
        form.showNormal();
        form.exit(7);
    });
    QCOMPARE(form.exec(), 7);
    QVERIFY(runningAfterMinimise);

    // A hide by the program ends it with 0, also after exit codes of earlier runs.
    QTimer::singleShot(0, &form, [&]() { form.hide(); });
    QCOMPARE(form.exec(), 0);
}

void TestZForm::ExecNestedIsRefused()
{
    Form form;
    form.resize(300, 200);
    int inner = -1;
    QTimer::singleShot(0, &form, [&]() {
        inner = form.exec();
        form.exit(3);
    });
    QCOMPARE(form.exec(), 3);
    QCOMPARE(inner, 0);
}

void TestZForm::ExecExitDuringShow()
{
    Form form;
    form.resize(300, 200);
    form.ExitOnShow = 9;
    // The exit comes before the loop runs; exec must not wait for another.
    QCOMPARE(form.exec(), 9);
}

void TestZForm::CentresOverParentWindow()
{
    Form parent;
    ShowAt(&parent, QPoint(300, 200), QSize(600, 400));
    Form child(&parent);
    child.resize(200, 100);
    child.show(true);
    QCOMPARE(child.mapToGlobal(QPoint(0, 0)), QPoint(300 + 200, 200 + 150));
    child.hide();

    // A dialog whose parent is a panel inside a form centres over that form.
    auto* page = new ZPanel(&parent);
    page->setGeometry(10, 50, 100, 100);
    Form dialog(page);
    QCOMPARE(dialog.HostWindow()->windowFlags() & Qt::WindowType_Mask, Qt::Dialog);
    dialog.resize(201, 101);
    dialog.show(true);
    QCOMPARE(dialog.mapToGlobal(QPoint(0, 0)), QPoint(300 + 199, 200 + 149)); // halves truncated

    // Without a parent the form shows where it is.
    Form lone;
    lone.resize(100, 100);
    lone.move(40, 50);
    lone.show(true);
    QCOMPARE(lone.HostWindow()->pos(), QPoint(24, 34));
}

void TestZForm::DeletingEitherSide()
{
    auto* form = new Form;
    QPointer<QWidget> host = form->HostWindow();
    delete form;
    QVERIFY(host.isNull());

    auto* second = new Form;
    QPointer<ZForm> alive = second;
    QPointer<QWidget> secondHost = second->HostWindow();
    delete secondHost.data();
    QVERIFY(alive.isNull());

    // A child form's host goes with the parent's host, and the child form with it.
    auto* parent = new Form;
    QPointer<ZForm> child = new Form(parent);
    delete parent;
    QVERIFY(child.isNull());
}

void TestZForm::PaintsTitleBodyAndShadow()
{
    Form form;
    form.SetTitleBackColor(QColor(82, 178, 250));
    form.SetBackColor(QColor(255, 255, 255));
    form.SetTitle(QStringLiteral("Title"));
    ShowAt(&form, QPoint(100, 100), QSize(300, 200));
    QWidget* host = form.HostWindow();
    const QImage image = host->grab().toImage();
    QCOMPARE(image.pixelColor(16 + 5, 16 + 5), QColor(82, 178, 250));
    QCOMPARE(image.pixelColor(16 + 150, 16 + 150), QColor(255, 255, 255));
    // The shadow: translucent dark pixels beside the form, darker nearer to it.
    const QColor nearForm = image.pixelColor(14, 116);
    const QColor farOut = image.pixelColor(4, 116);
    QVERIFY2(nearForm.alpha() > farOut.alpha() && nearForm.alpha() < 255, qPrintable(QString::number(nearForm.alpha())));
    QCOMPARE(image.pixelColor(0, 0).alpha(), 0);

    form.SetShowShadow(false);
    const QImage plain = host->grab().toImage();
    QCOMPARE(plain.pixelColor(14, 116).alpha(), 0);
}

void TestZForm::SetupUiActsOnTheHost()
{
    ZForm form;
    Ui::FormWithTabs ui;
    ui.setupUi(&form);
    QCOMPARE(form.HostWindow()->size(), QSize(532, 392));
    QCOMPARE(form.HostWindow()->minimumSize(), QSize(332, 232));
    QCOMPARE(form.Title(), QStringLiteral("Settings"));
    QCOMPARE(form.TitleHeight(), 40);
    QCOMPARE(form.SysButtonSize(), QSize(0, 0));
    QCOMPARE(ui.Tabs->Count(), 2);
    QCOMPARE(ui.Tabs->SelectedIndex(), 0); // as the form stored it, although uic sets it before adding the pages
    QCOMPARE(ui.FirstPage->Text(), QStringLiteral("First"));
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(form.HostWindow()));
    Settle();
    QCOMPARE(ui.Tabs->geometry(), QRect(0, 40, 500, 320));
    QCOMPARE(ui.FirstPage->geometry(), QRect(100, 0, 400, 320));
    QVERIFY(ui.FirstPage->isVisible());
    QVERIFY(!ui.SecondPage->isVisible());
}

void TestZForm::ActiveWindowHasTheDarkerShadow()
{
    Form form;
    ShowAt(&form, QPoint(100, 100), QSize(300, 200));
    QWidget* host = form.HostWindow();
    host->activateWindow();
    QTRY_VERIFY(host->isActiveWindow());
    const int active = host->grab().toImage().pixelColor(14, 116).alpha();

    Form other;
    ShowAt(&other, QPoint(500, 100), QSize(100, 100));
    other.HostWindow()->activateWindow();
    QTRY_VERIFY(!host->isActiveWindow());
    const int inactive = host->grab().toImage().pixelColor(14, 116).alpha();
    QVERIFY2(inactive > 0 && inactive < active, qPrintable(QStringLiteral("%1 %2").arg(active).arg(inactive)));
}

void TestZForm::StayOnTopAndIcon()
{
    Form form;
    form.SetStayOnTop(true);
    QVERIFY(form.HostWindow()->windowFlags() & Qt::WindowStaysOnTopHint);
    QVERIFY(form.HostWindow()->windowFlags() & Qt::FramelessWindowHint);
    ShowAt(&form, QPoint(100, 100), QSize(300, 200));
    // Changing the flags of a shown window hides it; the form shows it again.
    form.SetStayOnTop(false);
    QVERIFY(!(form.HostWindow()->windowFlags() & Qt::WindowStaysOnTopHint));
    QVERIFY(form.HostWindow()->isVisible());

    QImage icon(16, 16, QImage::Format_ARGB32);
    icon.fill(Qt::red);
    form.SetIcon(icon);
    QVERIFY(!form.HostWindow()->windowIcon().isNull());
}

void TestZForm::DesignerModeHasNoHost()
{
    DesignerMode = true;
    QWidget parent;
    ZForm form(&parent);
    DesignerMode = false;
    QVERIFY(!form.Shadow);
    QCOMPARE(form.HostWindow(), &form);
    QCOMPARE(form.parentWidget(), &parent);
    form.resize(300, 200);
    form.move(10, 20);
    QCOMPARE(form.geometry(), QRect(10, 20, 300, 200));
    parent.show();
    Settle();
    // Maximize shows, Restore does not: the form is never maximised here.
    QCOMPARE(VisibleSysButtons(&form).size(), 3);
}

QTEST_MAIN(TestZForm)
#include "tst_ZForm.moc"
