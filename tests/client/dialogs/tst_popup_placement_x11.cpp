// Where the pop-ups land on a real X display whose panels reserve part of the screen: the work area the window
// manager publishes on the root window (_NET_WORKAREA) is the available area, and the pop-up sits flush in its
// lower corner. The position and the stay-on-top state are read back from the X server (xwininfo, xprop), not
// from Qt. Run by run_x11_test.sh on a private Xvfb started with -noreset (the root window's properties must
// outlive the clients that set them); skipped without an X display or the X utilities.

#include "DialogTestSupport.h"

#include "StatusPopupForm.h"
#include "WarningPopupForm.h"

#include <QGuiApplication>
#include <QPointer>
#include <QProcess>
#include <QRegularExpression>
#include <QScreen>
#include <QStandardPaths>
#include <QtTest>

namespace {

QString Run(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(10000) || process.exitCode() != 0)
        return QString();
    return QString::fromLocal8Bit(process.readAllStandardOutput());
}

// The window's outer top-left corner on the screen, as the X server has it.
QPoint ServerPosition(QWidget* window)
{
    const QString info = Run(QStringLiteral("xwininfo"), {"-id", QString::number(window->winId())});
    const QRegularExpressionMatch x = QRegularExpression("Absolute upper-left X:\\s+(-?\\d+)").match(info);
    const QRegularExpressionMatch y = QRegularExpression("Absolute upper-left Y:\\s+(-?\\d+)").match(info);
    if (!x.hasMatch() || !y.hasMatch())
        return QPoint(-100000, -100000);
    return QPoint(x.captured(1).toInt(), y.captured(1).toInt());
}

}  // namespace

class PopupPlacementX11Test : public DialogTestCase
{
    Q_OBJECT

    bool SetWorkArea(const QRect& area)
    {
        const QString value =
            QStringLiteral("%1,%2,%3,%4").arg(area.x()).arg(area.y()).arg(area.width()).arg(area.height());
        QProcess::execute(QStringLiteral("xprop"),
                          {"-root", "-f", "_NET_WORKAREA", "32c", "-set", "_NET_WORKAREA", value});
        return QTest::qWaitFor([&]() { return QGuiApplication::primaryScreen()->availableGeometry() == area; }, 5000);
    }

private slots:
    void init()
    {
        if (QGuiApplication::platformName() != QLatin1String("xcb"))
            QSKIP("needs an X display (run through run_x11_test.sh)");
        if (QStandardPaths::findExecutable("xprop").isEmpty() || QStandardPaths::findExecutable("xwininfo").isEmpty())
            QSKIP("xprop and xwininfo (x11-utils) are not installed");
        if (QGuiApplication::primaryScreen()->geometry().size() != QSize(1280, 1024))
            QSKIP("needs a 1280 x 1024 screen");
    }

    void popupSitsInTheWorkAreasCorner_data()
    {
        QTest::addColumn<QRect>("workArea");
        QTest::addColumn<bool>("alert");
        QTest::addColumn<int>("corner");
        QTest::addColumn<QPoint>("expected");
        QTest::newRow("top panel, call, right") << QRect(0, 32, 1280, 992) << false << 1 << QPoint(840, 754);
        QTest::newRow("top panel, call, left") << QRect(0, 32, 1280, 992) << false << 0 << QPoint(0, 754);
        QTest::newRow("top panel, alert, right") << QRect(0, 32, 1280, 992) << true << 1 << QPoint(940, 824);
        QTest::newRow("left panel, call, left") << QRect(48, 0, 1232, 984) << false << 0 << QPoint(48, 714);
        QTest::newRow("left panel, call, right") << QRect(48, 0, 1232, 984) << false << 1 << QPoint(840, 714);
    }

    void popupSitsInTheWorkAreasCorner()
    {
        QFETCH(QRect, workArea);
        QFETCH(bool, alert);
        QFETCH(int, corner);
        QFETCH(QPoint, expected);
        QVERIFY2(SetWorkArea(workArea), "Qt did not take up the new _NET_WORKAREA");

        PopupForm* popup = nullptr;
        if (alert) {
            auto* form = new WarningPopupForm(nullptr);
            form->Message = QStringLiteral("Storage Device Not Found");
            form->Popup(corner, 0);
            popup = form;
        } else {
            auto* form = new StatusPopupForm(nullptr);
            form->PhoneNum = QStringLiteral("5551234");
            form->Popup(corner, 0, false);
            popup = form;
        }
        QPointer<PopupForm> guard(popup);
        QWidget* host = popup->HostWindow();
        QVERIFY(QTest::qWaitForWindowExposed(host));
        // The host carries a 16-pixel shadow margin around the form.
        const QPoint margin = popup->mapTo(host, QPoint(0, 0));
        QTRY_COMPARE(ServerPosition(host) + margin, expected);
        QVERIFY2(Run(QStringLiteral("xprop"), {"-id", QString::number(host->winId()), "_NET_WM_STATE"})
                     .contains(QLatin1String("_NET_WM_STATE_ABOVE")),
                 "the pop-up does not ask to stay above other windows");
        popup->close();
        QTRY_VERIFY(guard.isNull());
    }
};

QTEST_MAIN(PopupPlacementX11Test)
#include "tst_popup_placement_x11.moc"
