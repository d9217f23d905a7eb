// The message box: its size for short and long texts, its icons, the fade tick by tick, and a real run over
// a parent window.

#include "DialogTestSupport.h"

#include "TipForm.h"

#include "ZLabel.h"

#include <QElapsedTimer>
#include <QFontMetrics>
#include <QGraphicsOpacityEffect>
#include <QLabel>
#include <QPointer>
#include <QTimer>
#include <QtTest>

namespace {

QFont LabelFont()
{
    TipForm box(true, QString(), nullptr);
    return box.findChild<ZLabel*>("Label1")->font();
}

// A text exactly `width` pixels wide in `font`, made of two characters of different advance.
QString TextOfWidth(const QFont& font, int width)
{
    const QFontMetrics metrics(font);
    const QString characters = QStringLiteral("ilmnoW.");
    for (QChar a : characters)
        for (QChar b : characters)
            for (int i = 0; i <= 40; ++i)
                for (int j = 0; j <= 40; ++j) {
                    const QString text = QString(i, a) + QString(j, b);
                    if (metrics.horizontalAdvance(text) == width)
                        return text;
                }
    return QString();
}

// Calls the box's tick until it takes its effect off (the end of the fade); the ticks at full opacity and
// the tick that ended it.
struct Fade
{
    int OpaqueTicks = 0;
    int EndTick = 0;
};

Fade RunTicks(TipForm* box)
{
    Fade fade;
    for (int tick = 1; tick <= 100; ++tick) {
        QMetaObject::invokeMethod(box, "Tick", Qt::DirectConnection);
        auto effect = qobject_cast<QGraphicsOpacityEffect*>(box->graphicsEffect());
        if (!effect) {
            fade.EndTick = tick;
            break;
        }
        if (effect->opacity() == 1.0)
            ++fade.OpaqueTicks;
    }
    return fade;
}

}  // namespace

class TipFormTest : public DialogTestCase
{
    Q_OBJECT

private slots:
    // The box widens only when the text leaves less than 15 pixels each side; then 20 each side.
    void WidthFollowsTheText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("iconX");
        const QFont font = LabelFont();
        const QString ninety = TextOfWidth(font, 90);
        const QString ninetyOne = TextOfWidth(font, 91);
        QVERIFY(!ninety.isEmpty() && !ninetyOne.isEmpty());
        QTest::newRow("Yes") << QStringLiteral("Yes") << 120 << 35;
        QTest::newRow("empty") << QString() << 120 << 35;
        QTest::newRow("90 px") << ninety << 120 << 35;
        QTest::newRow("91 px") << ninetyOne << 131 << 40;
        const QString wide = QStringLiteral("Failed to get playback file list");
        const int wideWidth = QFontMetrics(font).horizontalAdvance(wide) + 40;
        QTest::newRow("long") << wide << wideWidth << (wideWidth - 50) / 2;
    }
    void WidthFollowsTheText()
    {
        QFETCH(QString, text);
        QFETCH(int, width);
        QFETCH(int, iconX);
        for (bool success : {true, false}) {
            TipForm box(success, text, m_Main.get());
            auto label = box.findChild<ZLabel*>("Label1");
            auto icon = box.findChild<QLabel*>("Icon");
            QCOMPARE(box.size(), QSize(width, 100));
            QCOMPARE(label->geometry(), QRect(0, 60, width, 40));
            QCOMPARE(icon->geometry(), QRect(iconX, 10, 50, 50));
            QCOMPARE(label->Text(), text);
            QCOMPARE(label->font().pointSize(), 12);
        }
    }

    void IconShowsTheOutcome()
    {
        const QImage correct(QStringLiteral("://TipForm/Correct.png"));
        const QImage error(QStringLiteral("://TipForm/Error.png"));
        QCOMPARE(correct.size(), QSize(50, 50));
        QCOMPARE(error.size(), QSize(50, 50));
        QVERIFY(correct != error);
        TipForm good(true, QStringLiteral("Operation completely"), m_Main.get());
        TipForm bad(false, QStringLiteral("Connection timeouts"), m_Main.get());
        QCOMPARE(good.findChild<QLabel*>("Icon")->pixmap(Qt::ReturnByValue).toImage().convertToFormat(correct.format()), correct);
        QCOMPARE(bad.findChild<QLabel*>("Icon")->pixmap(Qt::ReturnByValue).toImage().convertToFormat(error.format()), error);
    }

    // Single-precision steps of 0.1: a success box is fully opaque for 9 ticks and ends at the 21st, an
    // error box for 20 and ends at the 32nd.
    void FadeTickByTick_data()
    {
        QTest::addColumn<bool>("success");
        QTest::addColumn<int>("opaqueTicks");
        QTest::addColumn<int>("endTick");
        QTest::newRow("success") << true << 9 << 21;
        QTest::newRow("error") << false << 20 << 32;
    }
    void FadeTickByTick()
    {
        QFETCH(bool, success);
        QFETCH(int, opaqueTicks);
        QFETCH(int, endTick);
        TipForm box(success, QStringLiteral("Yes"), m_Main.get());
        QCOMPARE(box.Life, success ? 2.0f : 3.0f);
        QVERIFY(!box.graphicsEffect());
        const Fade fade = RunTicks(&box);
        QCOMPARE(fade.OpaqueTicks, opaqueTicks);
        QCOMPARE(fade.EndTick, endTick);
    }

    // A real run: centred over the parent form, window-modal, shown until the fade ended, then 1 and hidden.
    void RunFadesOutOverTheParent()
    {
        TipForm box(true, QStringLiteral("Operation completely"), m_Main.get());
        QPoint shownAt;
        bool modal = false;
        QTimer::singleShot(300, &box, [&]() {
            shownAt = box.mapToGlobal(QPoint(0, 0));
            modal = box.HostWindow()->isVisible() && box.HostWindow()->windowModality() == Qt::WindowModal;
        });
        QElapsedTimer clock;
        clock.start();
        QCOMPARE(box.exec(true), 1);
        QVERIFY2(clock.elapsed() >= 2000, qPrintable(QString::number(clock.elapsed())));
        QVERIFY(modal);
        const QPoint centre = m_Main->mapToGlobal(
            QPoint((m_Main->width() - box.width()) / 2, (m_Main->height() - box.height()) / 2));
        QCOMPARE(shownAt, centre);
        QVERIFY(!box.HostWindow()->isVisible());
        QVERIFY(!box.graphicsEffect());
    }

    // A box destroyed in the middle of its fade takes its timer with it.
    void DestroyedWhileFading()
    {
        QPointer<TipForm> box = new TipForm(false, QStringLiteral("Delete failed"), m_Main.get());
        QTimer::singleShot(1200, box.data(), [&]() { delete box.data(); });
        box->exec(true);
        QVERIFY(box.isNull());
        QTest::qWait(300);
    }
};

QTEST_MAIN(TipFormTest)
#include "tst_tip_form.moc"
