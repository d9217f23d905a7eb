// The record list's menu: play, dial, notes and contacts for the selected row; download, delete and export for
// the checked rows.
#include "MainForm.h"

#include "ContactsEditForm.h"
#include "contacts/Contacts.h"
#include "DeviceManage.h"
#include "DialForm.h"
#include "EditRecordNotesForm.h"
#include "KesDevice.h"
#include "LanguageTexts.h"
#include "MainFormGlobals.h"
#include "MainFormUi.h"
#include "ProgressOperations.h"
#include "RecordColumns.h"
#include "RecordMenuRules.h"
#include "RecordTables.h"
#include "RecordTexts.h"
#include "store/RecordExport.h"
#include "store/RecordSearch.h"
#include "store/RecordStore.h"
#include "TipForm.h"
#include "WaitForm.h"
#include "WaitThread.h"
#include "ZGridListData.h"
#include "ZMenu.h"
#include "ZMenuItem.h"

#include <QCursor>
#include <QFileDialog>

namespace {

// What the row-bound items take from the selected row, copied while the table is locked.
struct SelectedRecord {
    ZGridListRow* Row = nullptr;
    QString Time;
    int Channel = 0;  // from 1
    QString TalkTime;
    QString Phone;
    QString Notes;
    qintptr Index = 0;  // the record's place in its day's index file
};

SelectedRecord ReadSelected(ZGridListData* table, ZGridListRow* row)
{
    SelectedRecord record;
    if (table == nullptr || row == nullptr)
        return record;
    table->Lock();
    if (table->Rows.contains(row)) {
        record.Row = row;
        record.Time = row->Cells[TimeColumn].Text;
        record.Channel = row->Cells[ChannelColumn].Text.toInt();
        record.TalkTime = row->Cells[TalkTimeColumn].Text;
        record.Phone = row->Cells[PhoneColumn].Text;
        record.Notes = row->Cells[NotesColumn].Text;
        record.Index = reinterpret_cast<qintptr>(row->UserData);
    }
    table->Unlock();
    return record;
}

void SetNotesCell(ZGridListData* table, ZGridListRow* row, const QString& notes)
{
    table->Lock();
    if (table->Rows.contains(row))
        row->Cells[NotesColumn] = notes;
    table->Unlock();
}

}  // namespace

bool MainForm::RecordPermission(KesDevice* device, int (*permission)(Calvox_DeviceHandle))
{
    if (device == nullptr || permission(device->Handle) != 0)
        return true;
    TipForm(false, TextTips012, this).exec(true);
    return false;
}

void MainForm::on_RecordGridList_RightClicked()
{
    ZGridListData* table = ui->RecordGridList->DataSource();
    const SelectedRecord selected = ReadSelected(table, ui->RecordGridList->SelectedRow);

    RecordMenuState state;
    state.Target = g_RecordSearchCondition.Target;
    KesDevice* device = nullptr;
    if (state.Target == 0) {
        device = DeviceManage::FindDevice(g_RecordSearchCondition.Device);
        state.DeviceOnline = device != nullptr && CalvoxAPI_ConnectStatus(device->Handle) == 2;
    }
    state.RowSelected = selected.Row != nullptr;
    state.SelectedTalkTime = selected.TalkTime;
    state.AnyChecked = AnyRecordChecked(table);
    const RecordMenuItems items = RecordMenuEnabled(state);
    g_RecordPlayItem->Enabled = items.Play;
    g_RecordDialItem->Enabled = items.Dial;
    g_RecordEditNotesItem->Enabled = items.EditKeyword;
    g_RecordDownloadItem->Enabled = items.Download;
    g_RecordDeleteItem->Enabled = items.Delete;
    g_RecordExportItem->Enabled = items.ExportExcel;
    g_RecordAddContactItem->Enabled = items.AddToContacts;

    ZMenuItem* chosen = g_RecordGridListMenu->exec(QCursor::pos());
    if (chosen == nullptr || !chosen->Enabled)
        return;
    if (chosen == g_RecordPlayItem)
        PlayRecord(selected.Row);
    else if (chosen == g_RecordDialItem)
        DialRecord(device, selected.Channel, selected.Phone);
    else if (chosen == g_RecordEditNotesItem)
        EditRecordNotes(device, selected.Row, selected.Time, selected.Channel, selected.Index, selected.Notes);
    else if (chosen == g_RecordDownloadItem)
        DownloadCheckedRecords(device);
    else if (chosen == g_RecordDeleteItem)
        DeleteCheckedRecords(device);
    else if (chosen == g_RecordExportItem)
        ExportCheckedRecords();
    else if (chosen == g_RecordAddContactItem)
        AddRecordContact(selected.Phone);
}

void MainForm::DialRecord(KesDevice* device, int channel, const QString& phone)
{
    g_DialForm->SetChannel(device, channel - 1);
    g_DialForm->SetPhoneNumber(phone);
    g_DialForm->Show(false);
}

void MainForm::EditRecordNotes(KesDevice* device, ZGridListRow* row, const QString& time, int channel,
                               qintptr index, const QString& notes)
{
    if (!RecordPermission(device, CalvoxAPI_Permission_Download))
        return;
    if (g_EditRecordNotesForm->Exec(notes) == 0)
        return;
    const QString edited = g_EditRecordNotesForm->Notes;
    unsigned char year = 0, month = 0, day = 0;
    StringToDate(time, year, month, day);
    const auto channelByte = static_cast<unsigned char>(channel - 1);

    bool saved = false;
    if (device) {
        int result = -1;
        g_WaitForm->Thread->Task = [&]() {
            result = device->EditRecordNotes(static_cast<quint16>(index), year, month, day, channelByte, edited);
        };
        saved = g_WaitForm->Run() && result == 0;
    } else {
        saved = SaveLocalRecordNotes(static_cast<int>(index), year, month, day, channelByte, edited);
    }
    if (!saved) {
        TipForm(false, TextTips002, this).exec(true);
        return;
    }
    SetNotesCell(ui->RecordGridList->DataSource(), row, edited);
    ui->RecordGridList->update();
}

void MainForm::DownloadCheckedRecords(KesDevice* device)
{
    // The item is offered for a recorder only; the worker downloads from one.
    if (device == nullptr || !RecordPermission(device, CalvoxAPI_Permission_Download))
        return;
    const QString folder =
        QFileDialog::getExistingDirectory(nullptr, TextMisc010, QString(), QFileDialog::ShowDirsOnly);
    if (folder.isEmpty())
        return;
    DownloadRecordsWithProgress(device, folder, ui->RecordGridList->DataSource(), this);
}

void MainForm::DeleteCheckedRecords(KesDevice* device)
{
    if (!RecordPermission(device, CalvoxAPI_Permission_Delete))
        return;
    DeleteRecordsWithProgress(device, ui->RecordGridList->DataSource(), this);
    // The list must no longer show what was deleted, also after a cancel or a failure part-way.
    SearchRecordsNow();
}

void MainForm::ExportCheckedRecords()
{
    const QString path = QFileDialog::getSaveFileName(nullptr, QString(), QString(), QStringLiteral("Excel(*.xlsx)"));
    if (path.isEmpty())
        return;
    ZGridListData* table = ui->RecordGridList->DataSource();
    QStringList headings;
    for (const ZGridListColumn& column : ui->RecordGridList->Columns)
        headings << column.Text;
    bool written = false;
    g_WaitForm->Thread->Task = [&]() {
        // The heartbeat may write a recorder's table meanwhile.
        if (table)
            table->Lock();
        written = ExportRecordsToExcel(table, headings, path);
        if (table)
            table->Unlock();
    };
    written = g_WaitForm->Run() && written;
    TipForm(written, written ? TextTips001 : TextTips002, this).exec(true);
}

void MainForm::AddRecordContact(const QString& phone)
{
    // The books may have changed since the editor last listed them.
    g_ContactsEditForm->UpdateBookList();
    if (g_ContactsEditForm->Exec(false, phone) == 0)
        return;
    if (AddContact(g_ContactsEditForm->BookPath, g_ContactsEditForm->Contact))
        TipForm(true, TextTips001, this).exec(true);
    ui->ContactsGridList->UpdateData();
}
