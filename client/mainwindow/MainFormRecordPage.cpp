// The record page: search criteria, search, sorting, statistics and dropped files.
#include "MainForm.h"

#include "ChannelSelectForm.h"
#include "DeviceManage.h"
#include "KesDevice.h"
#include "MainFormGlobals.h"
#include "MainFormUi.h"
#include "RecordCriteria.h"
#include "RecordStatisticsForm.h"
#include "RecordTables.h"
#include "store/RecordSearch.h"
#include "WaitForm.h"
#include "WaitThread.h"
#include "ZGridListData.h"

#include <QDate>
#include <QDropEvent>
#include <QMimeData>

void MainForm::DroppedTableDeleter::operator()(ZGridListData* table) const
{
    DeleteDroppedRecordTable(table);
}

void MainForm::on_SearchTargetComboBox_SelectedIndexChanged(int index)
{
    Q_UNUSED(index);
    RefreshSearchDeviceComboBox();
}

void MainForm::on_SearchRecordTypeCheckBox_CheckedChanged(bool checked)
{
    ui->SearchRecordTypeComboBox->setEnabled(checked);
}

void MainForm::on_SearchChannelCheckBox_CheckedChanged(bool checked)
{
    ui->SearchChannelButton->setEnabled(checked);
}

void MainForm::on_SearchPhoneNumCheckBox_CheckedChanged(bool checked)
{
    ui->SearchPhoneNumLineEdit->setEnabled(checked);
}

void MainForm::on_SearchPhoneNumNameCheckBox_CheckedChanged(bool checked)
{
    ui->SearchPhoneNumNameLineEdit->setEnabled(checked);
}

void MainForm::on_SearchTalkTimeCheckBox_CheckedChanged(bool checked)
{
    ui->SearchTalkTimeLowLineEdit->setEnabled(checked);
    ui->SearchTalkTimeHighLineEdit->setEnabled(checked);
}

void MainForm::on_SearchNotesCheckBox_CheckedChanged(bool checked)
{
    ui->SearchNotesLineEdit->setEnabled(checked);
}

// The start and end boxes move together: each follows the other, whose own slot then enables its edit.
void MainForm::on_SearchStartTimeCheckBox_CheckedChanged(bool checked)
{
    ui->SearchStartDateTimeEdit->setEnabled(checked);
    if (ui->SearchEndTimeCheckBox->Checked() != checked)
        ui->SearchEndTimeCheckBox->SetChecked(checked);
}

void MainForm::on_SearchEndTimeCheckBox_CheckedChanged(bool checked)
{
    ui->SearchEndDateTimeEdit->setEnabled(checked);
    if (ui->SearchStartTimeCheckBox->Checked() != checked)
        ui->SearchStartTimeCheckBox->SetChecked(checked);
}

void MainForm::QuickRangeChecked(ZCheckBox* box, bool checked)
{
    ZCheckBox* const quick[] = {ui->SearchTime1CheckBox, ui->SearchTime2CheckBox, ui->SearchTime3CheckBox};
    if (checked) {
        ui->SearchStartTimeCheckBox->SetChecked(false);
        ui->SearchEndTimeCheckBox->SetChecked(false);
        for (ZCheckBox* other : quick) {
            if (other != box)
                other->SetChecked(false);
        }
    }
    // While a quick range is on, the explicit range can be neither set nor used.
    bool anyQuick = false;
    for (ZCheckBox* q : quick)
        anyQuick = anyQuick || q->Checked();
    ui->SearchStartTimeCheckBox->setEnabled(!anyQuick);
    ui->SearchEndTimeCheckBox->setEnabled(!anyQuick);
}

void MainForm::on_SearchTime1CheckBox_CheckedChanged(bool checked)
{
    QuickRangeChecked(ui->SearchTime1CheckBox, checked);
}

void MainForm::on_SearchTime2CheckBox_CheckedChanged(bool checked)
{
    QuickRangeChecked(ui->SearchTime2CheckBox, checked);
}

void MainForm::on_SearchTime3CheckBox_CheckedChanged(bool checked)
{
    QuickRangeChecked(ui->SearchTime3CheckBox, checked);
}

void MainForm::on_SearchStartDateTimeEdit_dateTimeChanged(const QDateTime& start)
{
    if (ui->SearchEndDateTimeEdit->dateTime() < start)
        ui->SearchEndDateTimeEdit->setDateTime(QDateTime(start.date(), QTime(23, 59, 0, 0)));
    ui->SearchEndDateTimeEdit->setMinimumDateTime(start);
}

void MainForm::RefreshSearchDeviceComboBox()
{
    const QStringList names = ui->SearchTargetComboBox->SelectedIndex() == 0 ? DeviceManage::ConnectedDeviceNames()
                                                                              : DeviceManage::LocalDeviceNames();
    ui->SearchDeviceComboBox->SetItems(names);
    if (!names.isEmpty() && ui->SearchDeviceComboBox->SelectedIndex() < 0)
        ui->SearchDeviceComboBox->SetSelectedIndex(0);
}

void MainForm::on_SearchChannelButton_Clicked()
{
    // The dialog writes the choice straight into the device's (or local entry's) selection bytes, where the
    // next channel-filtered search reads them.
    const QString name = ui->SearchDeviceComboBox->SelectedText();
    if (ui->SearchTargetComboBox->SelectedIndex() == 0) {
        if (KesDevice* device = DeviceManage::FindDevice(name))
            g_ChannelSelectForm->Exec(device->Channels, device->ChannelFlags);
    } else if (LocalDeviceInfo* entry = DeviceManage::GetLocalDevice(name)) {
        g_ChannelSelectForm->Exec(entry->Channels, entry->ChannelFlags);
    }
}

void MainForm::ShowRecordTable(ZGridListData* table)
{
    ui->RecordGridList->SetDataSource(table);
    ui->RecordGridList->UpdateData();
    // A dropped-file table is freed only now that the grid no longer shows it: its rows' paths were still
    // being painted and played until here.
    if (m_DroppedTable && m_DroppedTable.get() != table)
        m_DroppedTable.reset();
}

bool MainForm::SearchRecordsNow()
{
    if (ui->SearchDeviceComboBox->SelectedIndex() < 0)
        return false;
    // The criteria go into a copy first: a search that does not run leaves the target and the grid's table
    // as they were, so rows are never read as the records of another target.
    RecordSearchCondition condition = g_RecordSearchCondition;
    if (!ReadRecordSearchCriteria(*ui, QDate::currentDate(), &condition))
        return false;
    const RecordSearchCondition before = g_RecordSearchCondition;
    g_RecordSearchCondition = condition;

    if (condition.Target == 0)
        g_BackupThread->Pause();
    ZGridListData* result = nullptr;
    g_WaitForm->Thread->Task = [&result]() {
        g_RecordPlayer->Stop();
        g_RecordPlayer->wait();
        result = SearchRecords();
    };
    const bool ran = g_WaitForm->Run();
    g_BackupThread->Resume();
    if (!ran) {
        g_RecordSearchCondition = before;
        return false;
    }
    ShowRecordTable(result);
    return true;
}

void MainForm::on_SearchRecordButton_Clicked()
{
    SearchRecordsNow();
}

void MainForm::on_RecordGridList_ColumnHeaderClicked(int column)
{
    ZGridListData* table = ui->RecordGridList->DataSource();
    if (table == nullptr)
        return;
    if (column == 0) {
        ToggleAllRecordChecks(table);
    } else {
        g_WaitForm->Thread->Task = [table, column]() { table->Sort(column); };
        g_WaitForm->Run();
    }
    ui->RecordGridList->update();
}

void MainForm::on_RecordStatisticsButton_Clicked()
{
    // The statistics describe a fresh search, never dropped files nor a search that did not run.
    if (SearchRecordsNow())
        g_RecordStatisticsForm->Exec(ui->RecordGridList->DataSource());
}

void MainForm::dropEvent(QDropEvent* event)
{
    const QMimeData* mime = event->mimeData();
    if (mime == nullptr)
        return;
    ZGridListData* table = DroppedRecordTable(mime->urls());
    if (table == nullptr)
        return;
    g_WaitForm->Thread->Task = []() {
        g_RecordPlayer->Stop();
        g_RecordPlayer->wait();
    };
    if (!g_WaitForm->Run()) {
        DeleteDroppedRecordTable(table);
        return;
    }
    g_RecordSearchCondition.Target = 2;
    ShowRecordTable(table);
    m_DroppedTable.reset(table);
    ui->MainTabControl->SetSelectedIndex(1);
    event->acceptProposedAction();
}
