#pragma once

#include "ZForm.h"

#include <QString>

#include <functional>

class ZGridListData;

namespace Ui {
class RecordStatisticsForm;
}

// The call statistics window: a table of the record list per channel (see RecordStatistics.h), shown modally,
// and its export to a workbook. Long-lived: made once with the main window as parent; between runs it keeps
// the last table, which it owns.
class RecordStatisticsForm : public ZForm
{
    Q_OBJECT

public:
    explicit RecordStatisticsForm(QWidget* parent);
    ~RecordStatisticsForm() override;

    // Counts `records` and runs the window centred over the main window; returns the run's result (Confirm
    // ends it with 0). Without a list, or with one whose rows are not on display (RowsVisible off), returns 0
    // at once and shows nothing. Reads the list without its lock: the search that filled it has ended.
    int Exec(ZGridListData* records);

    // Asks the operator for the workbook's file name; empty when cancelled. A save-file dialog by default;
    // replaceable (tests).
    static std::function<QString()> AskExportFileName;

private slots:
    void on_ConfirmButton_Clicked();
    // Writes the shown table to the chosen workbook and stays open; only a failed save is reported.
    void on_ExportButton_Clicked();

private:
    template <typename F>
    friend void FollowLanguageAndSkin(F*);
    void LanguageChangedEvent();
    void SkinChangedEvent();

    Ui::RecordStatisticsForm* ui;
    ZGridListData* m_Table = nullptr;  // the shown table, owned
};
