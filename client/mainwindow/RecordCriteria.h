#pragma once

#include "store/RecordSearch.h"

class QDate;

namespace Ui {
class MainForm;
}

// The record page's criteria widgets as a search reads them: Target (0 for the "Online Device" box item,
// else 1) and Device from the two combo boxes, each filter from its check box and, when on, its value; the
// time window from the start and end edits (seconds dropped) or from a quick range worked out from today.
// Values of filters that are off keep what an earlier search left. False, and the condition untouched, when
// a quick range cannot be formed for today.
bool ReadRecordSearchCriteria(const Ui::MainForm& ui, const QDate& today, RecordSearchCondition* condition);
