// The channel picker over a caller's flags: which boxes show and are live, what Confirm writes back and Cancel
// leaves, the select-all box, counts outside 0..64 (the flags are a heap array of exactly 64, so the address
// sanitizer sees any touch past it) and the grid's geometry.

#include "OneFormTest.h"

#include "ChannelSelectForm.h"
#include "ZCheckBox.h"
#include "ZPanel.h"

#include <QtTest>

#include <memory>

namespace {

QString FlagText(const bool* flags)
{
    QString text;
    for (int i = 0; i < 64; ++i)
        text += flags[i] ? QLatin1Char('1') : QLatin1Char('0');
    return text;
}

// A heap array of exactly 64 flags from 64 '0'/'1' characters.
std::unique_ptr<bool[]> Flags(const QString& text)
{
    std::unique_ptr<bool[]> flags(new bool[64]);
    for (int i = 0; i < 64; ++i)
        flags[i] = text.at(i) == QLatin1Char('1');
    return flags;
}

}  // namespace

class ChannelSelectFormTest : public OneFormTest
{
    Q_OBJECT

private:
    ChannelSelectForm* m_Form = nullptr;
    std::vector<ZCheckBox*> m_Boxes;

    ZForm* MakeForm(QWidget* mainWindow) override
    {
        m_Form = new ChannelSelectForm(mainWindow);
        m_Boxes.clear();
        for (int n = 0; n < 64; ++n)
            m_Boxes.push_back(
                m_Form->findChild<ZCheckBox*>(QStringLiteral("ChannelCheck%1").arg(n, 2, 10, QLatin1Char('0'))));
        return m_Form;
    }
    ZCheckBox* Box(int n) const { return m_Boxes[static_cast<size_t>(n)]; }
    ZCheckBox* SelectAll() const { return m_Form->findChild<ZCheckBox*>(QStringLiteral("SelectAllChannelCheckBox")); }

    int Run(int count, bool* flags, const QList<int>& clicks, bool confirm, PickerRun* run)
    {
        return ClickThrough(this, m_Form, m_Boxes, SelectAll(), clicks, confirm,
                            [&] { return m_Form->Exec(count, flags); }, run);
    }

private slots:
    // The 64 boxes are the panel's only children, in grid order, named and captioned by channel.
    void Grid()
    {
        auto* panel = m_Form->findChild<ZPanel*>(QStringLiteral("ChannelPermissionPanel"));
        QVERIFY(panel != nullptr);
        QCOMPARE(panel->geometry(), QRect(20, 70, 600, 246));
        QCOMPARE(panel->children().size(), 64);
        for (int n = 0; n < 64; ++n) {
            QCOMPARE(panel->children().at(n), static_cast<QObject*>(Box(n)));
            QCOMPARE(Box(n)->geometry(), QRect(14 + 76 * (n % 8), 10 + 30 * (n / 8), 40, 16));
            QCOMPARE(Box(n)->Text(), QStringLiteral("%1").arg(n + 1, 2, 10, QLatin1Char('0')));
            QVERIFY(!Box(n)->isEnabled());
        }
        QCOMPARE(Box(63)->pos(), QPoint(546, 220));
        QCOMPARE(m_Form->size(), QSize(640, 380));
        QCOMPARE(m_Form->Title(), QStringLiteral("Select channel"));
        QCOMPARE(SelectAll()->Text(), QStringLiteral("ALL/Clear"));
    }

    void Runs_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<QString>("flagsIn");
        QTest::addColumn<QList<int>>("clicks");
        QTest::addColumn<bool>("confirm");
        QTest::addColumn<int>("result");
        QTest::addColumn<QString>("shown");  // the boxes' check states as the picker opens
        QTest::addColumn<QString>("live");
        QTest::addColumn<QString>("flagsOut");

        const QString none(64, QLatin1Char('0'));
        const QString all(64, QLatin1Char('1'));
        // Entries from 4 on hold a pattern the picker must leave alone.
        const QString four = QStringLiteral("1010") + QStringLiteral("0110").repeated(15);
        const QString fourLive = QStringLiteral("1111") + QString(60, QLatin1Char('0'));
        const QString fourShown = QStringLiteral("1010") + QString(60, QLatin1Char('0'));
        QTest::newRow("4 channels, confirmed unchanged")
            << 4 << four << QList<int>{} << true << 1 << fourShown << fourLive << four;
        QTest::newRow("4 channels, box 02 checked and 01 cleared")
            << 4 << four << QList<int>{1, 0} << true << 1 << fourShown << fourLive
            << QStringLiteral("0110") + four.mid(4);
        QTest::newRow("4 channels, select all reaches 01-04 only")
            << 4 << none << QList<int>{-1} << true << 1 << none << fourLive << QStringLiteral("1111") + none.mid(4);
        QTest::newRow("4 channels, select all twice clears them")
            << 4 << four << QList<int>{-1, -1} << true << 1 << fourShown << fourLive
            << QStringLiteral("0000") + four.mid(4);
        QTest::newRow("cancel after changes leaves the flags")
            << 4 << four << QList<int>{0, 1, 2, -1} << false << 0 << fourShown << fourLive << four;
        QTest::newRow("64 channels, all written")
            << 64 << none << QList<int>{0, 63, 31} << true << 1 << none << all
            << QStringLiteral("1") + QString(30, QLatin1Char('0')) + QStringLiteral("1") + QString(31, QLatin1Char('0')) +
                   QStringLiteral("1");
        QTest::newRow("count 100 is held to 64") << 100 << all << QList<int>{5} << true << 1 << all << all
                                                 << all.left(5) + QStringLiteral("0") + all.mid(6);
        QTest::newRow("count -3: nothing live, nothing written")
            << -3 << four << QList<int>{0, -1} << true << 1 << none << none << four;
        QTest::newRow("count 0: nothing live, nothing written")
            << 0 << four << QList<int>{} << true << 1 << none << none << four;
    }

    void Runs()
    {
        QFETCH(int, count);
        QFETCH(QString, flagsIn);
        QFETCH(QList<int>, clicks);
        QFETCH(bool, confirm);
        // Every run starts with the select-all box clear, so a click checks.
        SelectAll()->SetChecked(false);
        std::unique_ptr<bool[]> flags = Flags(flagsIn);
        PickerRun run;
        QTEST(Run(count, flags.get(), clicks, confirm, &run), "result");
        QTEST(run.Shown, "shown");
        QTEST(run.Live, "live");
        QTEST(FlagText(flags.get()), "flagsOut");
    }

    // The select-all box is neither set nor read by Exec: left checked, it stays so at the next run, whose
    // next click on it clears all live boxes.
    void SelectAllCarriesOver()
    {
        const QString none(64, QLatin1Char('0'));
        std::unique_ptr<bool[]> flags = Flags(none);
        SelectAll()->SetChecked(false);
        PickerRun run;
        QCOMPARE(Run(4, flags.get(), {-1}, false, &run), 0);
        QCOMPARE(run.After.left(5), QStringLiteral("11110"));
        QVERIFY(SelectAll()->Checked());

        std::unique_ptr<bool[]> mixed = Flags(QStringLiteral("0110") + none.mid(4));
        QCOMPARE(Run(4, mixed.get(), {-1}, true, &run), 1);
        QCOMPARE(run.Shown.left(4), QStringLiteral("0110"));
        QCOMPARE(run.After.left(4), QStringLiteral("0000"));
        QCOMPARE(FlagText(mixed.get()), none);
        QVERIFY(!SelectAll()->Checked());
    }
};

QTEST_MAIN(ChannelSelectFormTest)
#include "tst_channel_select_form.moc"
