// The weekday picker over a caller's seven flags: the given day checked and greyed, what Confirm writes and
// Cancel leaves, the select-all box, days outside 0..6 and the row's geometry.

#include "DeviceDialogFixture.h"

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

class WeekSelectFormTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<DeviceDialogProgram> m_Program;
    WeekSelectForm* m_Form = nullptr;

    ZCheckBox* Box(int day) const { return m_Form->findChild<ZCheckBox*>(QStringLiteral("WeekCheck0%1").arg(day)); }
    ZCheckBox* SelectAll() const { return m_Form->findChild<ZCheckBox*>(QStringLiteral("SelectAllWeekCheckBox")); }
    QWidget* Button(const char* name) const { return m_Form->findChild<QWidget*>(QLatin1String(name)); }

    QString States(bool live) const
    {
        QString text;
        for (int i = 0; i < 7; ++i)
            text += (live ? Box(i)->isEnabled() : Box(i)->Checked()) ? QLatin1Char('1') : QLatin1Char('0');
        return text;
    }

    // Runs Exec(day, flags): once the picker shows, notes the boxes, clicks the given days (-1 is the
    // select-all box), notes the boxes again and presses Confirm or Cancel.
    int Run(int day, bool* flags, const QList<int>& clicks, bool confirm, QString* shown = nullptr,
            QString* live = nullptr, QString* after = nullptr)
    {
        When(this, [this] { return m_Form->isVisible(); }, [&] {
            if (shown != nullptr)
                *shown = States(false);
            if (live != nullptr)
                *live = States(true);
            for (int n : clicks)
                QTest::mouseClick(n < 0 ? SelectAll() : Box(n), Qt::LeftButton);
            if (after != nullptr)
                *after = States(false);
            QTest::mouseClick(Button(confirm ? "ConfirmButton" : "CancelButton"), Qt::LeftButton);
        });
        return m_Form->Exec(day, flags);
    }

private slots:
    void init()
    {
        m_Program = std::make_unique<DeviceDialogProgram>();
        m_Program->MainWindow->show();
        m_Form = new WeekSelectForm(m_Program->MainWindow.get());
        Language::Load(QStringLiteral("English"));
        emit g_Skin->SkinChanged();
    }
    void cleanup()
    {
        delete m_Form;
        m_Form = nullptr;
        m_Program.reset();
    }

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
        QString shown, live;
        QTEST(Run(day, flags, clicks, confirm, &shown, &live), "result");
        QTEST(shown, "shown");
        QTEST(live, "live");
        QTEST(FlagText(flags), "flagsOut");
    }

    // Left checked by one run, the select-all box is still checked at the next; its next click clears the six.
    void SelectAllCarriesOver()
    {
        bool flags[7] = {};
        SelectAll()->SetChecked(false);
        QString after;
        QCOMPARE(Run(1, flags, {-1}, false, nullptr, nullptr, &after), 0);
        QCOMPARE(after, QStringLiteral("1111111"));
        QVERIFY(SelectAll()->Checked());
        QString shown;
        QCOMPARE(Run(5, flags, {-1}, true, &shown, nullptr, &after), 1);
        QVERIFY(SelectAll()->Checked() == false);
        QCOMPARE(shown, QStringLiteral("0000010"));
        QCOMPARE(after, QStringLiteral("0000010"));
        QCOMPARE(FlagText(flags), QStringLiteral("0000000"));
    }
};

QTEST_MAIN(WeekSelectFormTest)
#include "tst_week_select_form.moc"
