// The contacts page's grid: the open book's contacts, ticked all at once, edited, moved, deleted, dialled,
// exported and imported.
#include "MainForm.h"

#include "ContactsEditForm.h"
#include "DialForm.h"
#include "DialogFrame.h"
#include "LanguageTexts.h"
#include "MainFormGlobals.h"
#include "MainFormUi.h"
#include "contacts/Contacts.h"

#include "ZGridListData.h"
#include "ZMenu.h"
#include "ZMenuItem.h"

#include <QCursor>
#include <QFileDialog>

namespace {

// The ticked rows, in ascending order; none without a book.
QList<int> CheckedRows(ZGridListData* data)
{
    QList<int> checked;
    if (!data)
        return checked;
    data->Lock();
    for (int i = 0; i < data->Rows.size(); ++i)
        if (data->Rows.at(i)->Cells[ContactsCheckColumn].Value != 0)
            checked.append(i);
    data->Unlock();
    return checked;
}

// The contact that row `row` shows; false when there is no such row.
bool ReadContactRow(ZGridListData* data, int row, ContactInfo* info)
{
    if (!data)
        return false;
    data->Lock();
    const bool found = row >= 0 && row < data->Rows.size();
    if (found) {
        const ZGridListCell* cells = data->Rows.at(row)->Cells;
        info->Name = cells[ContactsNameColumn].Text;
        // The cell keeps the gender's number beside its text, which follows the language.
        info->Gender = cells[ContactsGenderColumn].Value == 1 ? 1 : 0;
        info->Company = cells[ContactsCompanyColumn].Text;
        info->Duty = cells[ContactsDutyColumn].Text;
        info->PhoneNum = cells[ContactsPhoneColumn].Text;
        info->CompanyNum = cells[ContactsCompanyNumColumn].Text;
        info->CompanyAddr = cells[ContactsAddressColumn].Text;
        info->Notes = cells[ContactsNotesColumn].Text;
    }
    data->Unlock();
    return found;
}

QString WorkbookName(bool save)
{
    const QString filter = QStringLiteral("Excel(*.xlsx)");
    return save ? QFileDialog::getSaveFileName(nullptr, QString(), QString(), filter)
                : QFileDialog::getOpenFileName(nullptr, QString(), QString(), filter);
}

} // namespace

void MainForm::on_ContactsGridList_ColumnHeaderClicked(int column)
{
    ZGridList* grid = ui->ContactsGridList;
    ZGridListData* data = grid->DataSource();
    if (column != ContactsCheckColumn || !data)
        return;
    // Under the grid's lock: an import may be appending rows from the wait panel's thread.
    data->Lock();
    bool allTicked = true;
    for (const ZGridListRow* row : qAsConst(data->Rows))
        allTicked = allTicked && row->Cells[ContactsCheckColumn].Value != 0;
    for (ZGridListRow* row : qAsConst(data->Rows))
        row->Cells[ContactsCheckColumn] = !allTicked;
    data->Unlock();
    grid->update();
}

void MainForm::on_ContactsGridList_RowDoubleClicked(int row, int column)
{
    Q_UNUSED(column);
    ZGridList* grid = ui->ContactsGridList;
    const QString book = OpenContactsBook();
    ContactInfo contact;
    if (!ReadContactRow(grid->DataSource(), row, &contact))
        return;
    g_ContactsEditForm->BookPath = book;
    g_ContactsEditForm->Contact = contact;
    if (g_ContactsEditForm->Exec(true, QString()) == 0)
        return;
    const QString target = g_ContactsEditForm->BookPath;
    const ContactInfo edited = g_ContactsEditForm->Contact;
    if (target == book) {
        EditContact(book, edited, row);
        grid->update();
        return;
    }
    // Another book was chosen: the contact moves. It is added there first and leaves this book only once
    // that succeeded, so a book that cannot take it leaves it where it was rather than nowhere.
    if (AddContact(target, edited)) {
        QList<int> rows{row};
        DeleteContacts(book, rows);
    }
    grid->UpdateData();
}

void MainForm::on_ContactsGridList_RightClicked()
{
    ZGridList* grid = ui->ContactsGridList;
    QList<int> checked = CheckedRows(grid->DataSource());
    const QString key = OpenContactsBook();
    const int selected = grid->SelectedRowIndex();
    g_ContactsAddItem->Enabled = !key.isEmpty();
    g_ContactsEditItem->Enabled = selected != -1;
    g_ContactsDeleteItem->Enabled = !checked.isEmpty();
    g_ContactsDialItem->Enabled = selected != -1;
    g_ContactsExportItem->Enabled = !checked.isEmpty();
    g_ContactsImportItem->Enabled = !key.isEmpty();

    ZMenuItem* chosen = g_ContactsGridListMenu->exec(QCursor::pos());
    if (!chosen)
        return;
    if (chosen == g_ContactsAddItem) {
        AddContactToBook(key);
    } else if (chosen == g_ContactsEditItem) {
        on_ContactsGridList_RowDoubleClicked(selected, -1);
    } else if (chosen == g_ContactsDeleteItem) {
        DeleteContacts(key, checked);
        grid->UpdateData();
    } else if (chosen == g_ContactsDialItem) {
        ContactInfo contact;
        if (!ReadContactRow(grid->DataSource(), selected, &contact))
            return;
        g_DialForm->SetPhoneNumber(contact.PhoneNum);
        g_DialForm->Show(false);
    } else if (chosen == g_ContactsExportItem) {
        ExportCheckedContacts();
    } else if (chosen == g_ContactsImportItem) {
        ImportContacts(key);
    }
}

void MainForm::AddContactToBook(const QString& key)
{
    g_ContactsEditForm->BookPath = key;
    if (g_ContactsEditForm->Exec(false, QString()) == 0)
        return;
    // The operator may have chosen another book: the contact goes there.
    AddContact(g_ContactsEditForm->BookPath, g_ContactsEditForm->Contact);
    ui->ContactsGridList->UpdateData();
}

void MainForm::ExportCheckedContacts()
{
    const QString file = WorkbookName(true);
    if (file.isEmpty())
        return;
    ZGridList* grid = ui->ContactsGridList;
    int ok = 0;
    if (!RunWaitTask([grid, &file] { return ExportContactsToExcel(grid, file) ? 1 : 0; }, &ok))
        return;
    ShowResultTip(ok != 0, ok != 0 ? TextTips001 : TextTips002, this);
}

void MainForm::ImportContacts(const QString& key)
{
    const QString file = WorkbookName(false);
    if (file.isEmpty())
        return;
    int ok = 0;
    if (!RunWaitTask([&key, &file] { return ImportContactsFromExcel(key, file) ? 1 : 0; }, &ok))
        return;
    ui->ContactsGridList->UpdateData();
    ShowResultTip(ok != 0, ok != 0 ? TextTips001 : TextTips002, this);
}
