// The weekday picker over a caller's seven flags: the given day checked and greyed, what Confirm writes and
// Cancel leaves, the select-all box, days outside 0..6 and the row's geometry.

#include "OneFormTest.h"

#include "WeekSelectForm.h"
#include "ZCheckBox.h"
#include "ZPanel.h"

#include <QtTest>

namespace {

QString FlagText(const bool* flags)
{
    QString text;
    for (int i = 0; i < 7; ++i)
        text += flags[i] ? QLatin1Char('1') : QLatin1Char('0');
    return text;
}

}  // namespace

class WeekSelectFormTest : public OneFormTest
{
    Q_OBJECT

private:
    WeekSelectForm* m_Form = nullptr;
    std::vector<ZCheckBox*> m_Boxes;

    ZForm* MakeForm(QWidget* mainWindow) override
    {
        m_Form = new WeekSelectForm(mainWindow);
        m_Boxes.clear();
        for (int day = 0; day < 7; ++day)
            m_Boxes.push_back(m_Form->findChild<ZCheckBox*>(QStringLiteral("WeekCheck0%1").arg(day)));
        return m_Form;
    }
    ZCheckBox* Box(int day) const { return m_Boxes[static_cast<size_t>(day)]; }
    ZCheckBox* SelectAll() const { return m_Form->findChild<ZCheckBox*>(QStringLiteral("SelectAllWeekCheckBox")); }

    int Run(int day, bool* flags, const QList<int>& clicks, bool confirm, PickerRun* run)
    {
        return ClickThrough(this, m_Form, m_Boxes, SelectAll(), clicks, confirm,
                            [&] { return m_Form->Exec(day, flags); }, run);
    }

private slots:
    void Row()
    {
        auto* panel = m_Form->findChild<ZPanel*>(QStringLiteral("WeekPanel"));
        QVERIFY(panel != nullptr);
        QCOMPARE(panel->children().size(), 7);
        const QStringList names{"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};
        for (int i = 0; i < 7; ++i) {
            QCOMPARE(panel->children().at(i), static_cast<QObject*>(Box(i)));
            QCOMPARE(Box(i)->geometry(), QRect(10 + 80 * i, 10, 80, 16));
            QCOMPARE(Box(i)->Text(), names[i]);
        }
        QCOMPARE(Box(6)->pos(), QPoint(490, 10));
        QCOMPARE(m_Form->size(), QSize(620, 180));
        QCOMPARE(m_Form->Title(), QStringLiteral("All"));
    }

    void Runs_data()
    {
        QTest::addColumn<int>("day");
        QTest::addColumn<QString>("flagsIn");
        QTest::addColumn<QList<int>>("clicks");
        QTest::addColumn<bool>("confirm");
        QTest::addColumn<int>("result");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("live");
        QTest::addColumn<QString>("flagsOut");

        // The given day's entry holds the opposite of its (checked) box: it must be left as it was.
        QTest::newRow("Wednesday, select all") << 3 << QStringLiteral("0000000") << QList<int>{-1} << true << 1
                                               << QStringLiteral("0001000") << QStringLiteral("1110111")
                                               << QStringLiteral("1110111");
        QTest::newRow("Sunday, Monday and Saturday picked")
            << 0 << QStringLiteral("0011110") << QList<int>{1, 6} << true << 1 << QStringLiteral("1000000")
            << QStringLiteral("0111111") << QStringLiteral("0100001");
        QTest::newRow("a click on the given day changes nothing")
            << 2 << QStringLiteral("0000000") << QList<int>{2} << true << 1 << QStringLiteral("0010000")
            << QStringLiteral("1101111") << QStringLiteral("0000000");
        QTest::newRow("cancel after picking leaves the flags")
            << 4 << QStringLiteral("1010101") << QList<int>{0, 1, -1} << false << 0 << QStringLiteral("0000100")
            << QStringLiteral("1111011") << QStringLiteral("1010101");
        QTest::newRow("day 7: all seven open, all written")
            << 7 << QStringLiteral("0000000") << QList<int>{-1} << true << 1 << QStringLiteral("0000000")
            << QStringLiteral("1111111") << QStringLiteral("1111111");
        QTest::newRow("day -1: all seven written") << -1 << QStringLiteral("1111111") << QList<int>{5} << true << 1
                                                   << QStringLiteral("0000000") << QStringLiteral("1111111")
                                                   << QStringLiteral("0000010");
    }

    void Runs()
    {
        QFETCH(int, day);
        QFETCH(QString, flagsIn);
        QFETCH(QList<int>, clicks);
        QFETCH(bool, confirm);
        SelectAll()->SetChecked(false);
        bool flags[7];
        for (int i = 0; i < 7; ++i)
            flags[i] = flagsIn.at(i) == QLatin1Char('1');
        PickerRun run;
        QTEST(Run(day, flags, clicks, confirm, &run), "result");
        QTEST(run.Shown, "shown");
        QTEST(run.Live, "live");
        QTEST(FlagText(flags), "flagsOut");
    }

    // Left checked by one run, the select-all box is still checked at the next; its next click clears the six.
    void SelectAllCarriesOver()
    {
        bool flags[7] = {};
        SelectAll()->SetChecked(false);
        PickerRun run;
        QCOMPARE(Run(1, flags, {-1}, false, &run), 0);
        QCOMPARE(run.After, QStringLiteral("1111111"));
        QVERIFY(SelectAll()->Checked());
        QCOMPARE(Run(5, flags, {-1}, true, &run), 1);
        QVERIFY(!SelectAll()->Checked());
        QCOMPARE(run.Shown, QStringLiteral("0000010"));
        QCOMPARE(run.After, QStringLiteral("0000010"));
        QCOMPARE(FlagText(flags), QStringLiteral("0000000"));
    }
};

QTEST_MAIN(WeekSelectFormTest)
#include "tst_week_select_form.moc"
