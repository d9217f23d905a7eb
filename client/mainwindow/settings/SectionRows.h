#pragma once

// The settings page's repeated rows by index, for the sections that fill and read them: the key-control
// groups (0 to 9) and the record-time windows (3 x weekday + window, weekday 0 Sunday).

namespace Ui {
class MainForm;
}
class ZCheckBox;
class ZComboBox;
class ZHourMinutePicker;
class ZLineEdit;
class ZTabPage;

struct KeyGroupRow {
    ZCheckBox* Switch;
    ZLineEdit* Key;
    ZComboBox* File;
};
KeyGroupRow KeyGroup(Ui::MainForm* ui, int group);

struct TimeWindowRow {
    ZCheckBox* Switch;
    ZHourMinutePicker* Picker;
};
TimeWindowRow TimeWindow(Ui::MainForm* ui, int window);

// One weekday of a channel's auto-answer schedule (weekday 0 Sunday): the all-day answer and three time slots,
// on the week tab control's page of that day.
struct ReplySlotRow {
    ZCheckBox* Switch;
    ZHourMinutePicker* Picker;
    ZComboBox* File;
};
struct ReplyDayRow {
    ZTabPage* Page;
    ZCheckBox* AllDay;
    ZComboBox* AllDayFile;
    ReplySlotRow Slots[3];
};
ReplyDayRow ReplyDay(Ui::MainForm* ui, int day);
