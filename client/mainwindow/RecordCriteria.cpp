#include "RecordCriteria.h"

#include "MainFormUi.h"
#include "RecordQuickRange.h"

#include <QDate>
#include <QDateTime>

namespace {

// A talk-time box's seconds; 0 when it holds no number.
int Seconds(const ZLineEdit* edit)
{
    bool ok = false;
    const int value = edit->Text().toInt(&ok);
    return ok ? value : 0;
}

void SetWindowBytes(unsigned char* bytes, const QDateTime& time)
{
    const QDate date = time.date();
    bytes[0] = static_cast<unsigned char>((date.year() + 48) % 256);
    bytes[1] = static_cast<unsigned char>(date.month());
    bytes[2] = static_cast<unsigned char>(date.day());
    bytes[3] = static_cast<unsigned char>(time.time().hour());
    bytes[4] = static_cast<unsigned char>(time.time().minute());
}

}  // namespace

bool ReadRecordSearchCriteria(const Ui::MainForm& ui, const QDate& today, RecordSearchCondition* condition)
{
    RecordSearchCondition c = *condition;
    c.Target = ui.SearchTargetComboBox->SelectedIndex() == 0 ? 0 : 1;
    c.Device = ui.SearchDeviceComboBox->SelectedText();

    c.TypeFilter = ui.SearchRecordTypeCheckBox->Checked();
    if (c.TypeFilter)
        c.Type = ui.SearchRecordTypeComboBox->SelectedIndex();
    c.ChannelFilter = ui.SearchChannelCheckBox->Checked();
    c.PhoneFilter = ui.SearchPhoneNumCheckBox->Checked();
    if (c.PhoneFilter)
        c.Phone = ui.SearchPhoneNumLineEdit->Text();
    c.NameFilter = ui.SearchPhoneNumNameCheckBox->Checked();
    if (c.NameFilter)
        c.Name = ui.SearchPhoneNumNameLineEdit->Text();
    c.TalkTimeFilter = ui.SearchTalkTimeCheckBox->Checked();
    if (c.TalkTimeFilter) {
        c.MinTalkTime = Seconds(ui.SearchTalkTimeLowLineEdit);
        c.MaxTalkTime = Seconds(ui.SearchTalkTimeHighLineEdit);
    }
    c.NotesFilter = ui.SearchNotesCheckBox->Checked();
    if (c.NotesFilter)
        c.Notes = ui.SearchNotesLineEdit->Text();

    const bool threeDays = ui.SearchTime1CheckBox->Checked();
    const bool week = ui.SearchTime2CheckBox->Checked();
    const bool month = ui.SearchTime3CheckBox->Checked();
    const bool explicitRange = ui.SearchStartTimeCheckBox->Checked();
    c.TimeFilter = threeDays || week || month || explicitRange;
    if (explicitRange) {
        SetWindowBytes(c.Start, ui.SearchStartDateTimeEdit->dateTime());
        SetWindowBytes(c.End, ui.SearchEndDateTimeEdit->dateTime());
    } else if (c.TimeFilter) {
        const RecordQuickRange range = threeDays ? RecordQuickRange::ThreeDays
                                       : week    ? RecordQuickRange::Week
                                                 : RecordQuickRange::Month;
        if (!RecordQuickRangeWindow(range, today.year(), today.month(), today.day(), today.dayOfWeek(), c.Start,
                                    c.End))
            return false;
    }
    *condition = c;
    return true;
}
