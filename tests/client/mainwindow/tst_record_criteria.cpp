// The record page's criteria widgets read into the search condition, on the designed widget tree.

#include "MainFormUi.h"
#include "RecordCriteria.h"

#include <QDate>
#include <QtTest>

#include <memory>

class RecordCriteriaTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<ZForm> m_Form;
    std::unique_ptr<Ui::MainForm> m_Ui;

    static QByteArray Window(const unsigned char* bytes) { return QByteArray(reinterpret_cast<const char*>(bytes), 5); }

private slots:
    void initTestCase() { InitMainFormResources(); }

    void init()
    {
        m_Form = std::make_unique<ZForm>();
        m_Ui = std::make_unique<Ui::MainForm>();
        SetUpMainForm(*m_Ui, m_Form.get());
        m_Ui->SearchTargetComboBox->SetItems({"Online Device", "PC Backup"});
        m_Ui->SearchTargetComboBox->SetSelectedIndex(1);
        m_Ui->SearchDeviceComboBox->SetItems({"Office", "Shop"});
        m_Ui->SearchDeviceComboBox->SetSelectedIndex(1);
        m_Ui->SearchRecordTypeComboBox->SetItems({"Inbound", "Outbound", "Missed"});
    }

    void cleanup()
    {
        m_Ui.reset();
        m_Form.reset();
    }

    void filtersOnTakeTheirValuesFiltersOffKeepEarlierOnes()
    {
        RecordSearchCondition c;
        c.Phone = "earlier";
        c.MinTalkTime = 7;
        c.Start[0] = 99;
        m_Ui->SearchRecordTypeCheckBox->SetChecked(true);
        m_Ui->SearchRecordTypeComboBox->SetSelectedIndex(2);
        m_Ui->SearchPhoneNumLineEdit->SetText("555");  // box unchecked: not read
        m_Ui->SearchPhoneNumNameCheckBox->SetChecked(true);
        m_Ui->SearchPhoneNumNameLineEdit->SetText("bob");
        m_Ui->SearchNotesCheckBox->SetChecked(true);
        m_Ui->SearchNotesLineEdit->SetText("call back");
        m_Ui->SearchChannelCheckBox->SetChecked(true);

        QVERIFY(ReadRecordSearchCriteria(*m_Ui, QDate(2024, 7, 10), &c));
        QCOMPARE(c.Target, 1);
        QCOMPARE(c.Device, QString("Shop"));
        QVERIFY(c.TypeFilter);
        QCOMPARE(c.Type, 2);
        QVERIFY(c.ChannelFilter);
        QVERIFY(!c.PhoneFilter);
        QCOMPARE(c.Phone, QString("earlier"));
        QVERIFY(c.NameFilter);
        QCOMPARE(c.Name, QString("bob"));
        QVERIFY(c.NotesFilter);
        QCOMPARE(c.Notes, QString("call back"));
        QVERIFY(!c.TalkTimeFilter);
        QCOMPARE(c.MinTalkTime, 7);
        QVERIFY(!c.TimeFilter);
        QCOMPARE(int(c.Start[0]), 99);
    }

    void talkTimeBoxesWithoutANumberCountAsZero()
    {
        RecordSearchCondition c;
        m_Ui->SearchTalkTimeCheckBox->SetChecked(true);
        m_Ui->SearchTalkTimeLowLineEdit->SetText("60");
        m_Ui->SearchTalkTimeHighLineEdit->SetText("");
        QVERIFY(ReadRecordSearchCriteria(*m_Ui, QDate(2024, 7, 10), &c));
        QVERIFY(c.TalkTimeFilter);
        QCOMPARE(c.MinTalkTime, 60);
        QCOMPARE(c.MaxTalkTime, 0);
    }

    void explicitRangeDropsSeconds()
    {
        RecordSearchCondition c;
        m_Ui->SearchTargetComboBox->SetSelectedIndex(0);
        m_Ui->SearchStartTimeCheckBox->SetChecked(true);
        m_Ui->SearchEndTimeCheckBox->SetChecked(true);
        m_Ui->SearchStartDateTimeEdit->setDateTime(QDateTime(QDate(2024, 5, 5), QTime(23, 59, 30)));
        m_Ui->SearchEndDateTimeEdit->setDateTime(QDateTime(QDate(2024, 5, 6), QTime(7, 9, 45)));
        QVERIFY(ReadRecordSearchCriteria(*m_Ui, QDate(2024, 7, 10), &c));
        QCOMPARE(c.Target, 0);
        QVERIFY(c.TimeFilter);
        QCOMPARE(Window(c.Start), QByteArray("\x18\x05\x05\x17\x3b", 5));
        QCOMPARE(Window(c.End), QByteArray("\x18\x05\x06\x07\x09", 5));
    }

    void quickRangeFromTodayOrNoSearch()
    {
        RecordSearchCondition c;
        m_Ui->SearchTime2CheckBox->SetChecked(true);
        QVERIFY(ReadRecordSearchCriteria(*m_Ui, QDate(2024, 7, 10), &c));
        QVERIFY(c.TimeFilter);
        QCOMPARE(Window(c.Start), QByteArray("\x18\x07\x07\x00\x00", 5));
        QCOMPARE(Window(c.End), QByteArray("\x18\x07\x0a\x17\x3b", 5));

        // A range that cannot be formed leaves the whole condition as it was, the target included.
        RecordSearchCondition before;
        before.Target = 2;
        before.Device = "dropped";
        RecordSearchCondition after = before;
        m_Ui->SearchTime2CheckBox->SetChecked(false);
        m_Ui->SearchTime1CheckBox->SetChecked(true);
        QVERIFY(!ReadRecordSearchCriteria(*m_Ui, QDate(2001, 1, 2), &after));
        QCOMPARE(after.Target, 2);
        QCOMPARE(after.Device, QString("dropped"));
        QVERIFY(!after.TimeFilter);
    }
};

QTEST_MAIN(RecordCriteriaTest)
#include "tst_record_criteria.moc"
