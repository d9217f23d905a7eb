#include "contacts/Contacts.h"

#include "contacts/ContactsBookFile.h"
#include "contacts/ContactsState.h"
#include "xlsx/XlsxDocument.h"

#include "ZGridListData.h"

#include <QVector>

using namespace ContactsState;

namespace {

constexpr int SheetColumns = 8;  // Name .. Notes in columns A to H

int GenderOf(const QString& text)
{
    const QString wanted = text.trimmed();
    for (int gender = 0; gender < 2; ++gender)
        if (!GenderTexts[gender].isEmpty() && wanted.compare(GenderTexts[gender].trimmed(), Qt::CaseInsensitive) == 0)
            return gender;
    return -1;
}

} // namespace

bool ExportContactsToExcel(const ZGridListData* data, const QStringList& headings, const QString& xlsxPath)
{
    // No book shown: nothing to export, which is no failure.
    if (!data)
        return true;
    // Not a contacts grid: its rows have no cells 1 to 8 to read.
    if (data->ColumnCount < ContactsColumnCount)
        return false;
    // Edits wait while the grid is written; lookups from other threads go on.
    std::lock_guard<std::recursive_mutex> writer(Writer);
    QVector<const ZGridListRow*> ticked;
    for (const ZGridListRow* row : data->Rows)
        if (row->Cells[ContactsCheckColumn].Value != 0)
            ticked.append(row);

    QXlsx::Document xlsx;
    QXlsx::Format format;
    format.setHorizontalAlignment(QXlsx::Format::AlignHCenter);
    format.setNumberFormatIndex(49);  // text, so numbers stay as typed
    xlsx.setColumnFormat(1, 10, format);
    xlsx.setColumnWidth(1, 20);
    xlsx.setColumnWidth(2, 10);
    xlsx.setColumnWidth(3, 10, 20);
    for (int column = 1; column <= SheetColumns; ++column)
        xlsx.write(1, column, headings.value(column - 1));
    int sheetRow = 2;
    for (const ZGridListRow* row : qAsConst(ticked)) {
        for (int column = 1; column <= SheetColumns; ++column)
            xlsx.write(sheetRow, column, row->Cells[column].Text);
        ++sheetRow;
    }
    return xlsx.saveAs(xlsxPath);
}

bool ImportContactsFromExcel(const QString& key, const QString& xlsxPath, int* skippedRows)
{
    if (skippedRows)
        *skippedRows = 0;
    std::lock_guard<std::recursive_mutex> writer(Writer);
    ContactsBook* book = ContactsStore.value(key);
    ContactsBookFile file;
    if (!book || ReadContactsBookFile(book->FilePath, &file) != ContactsBookRead::Read)
        return false;
    const QXlsx::Document xlsx(xlsxPath);
    if (!xlsx.isLoadPackage())
        return false;

    QVector<ContactInfo> contacts;
    for (int sheetRow = 2;; ++sheetRow) {
        ContactInfo info;
        info.Name = xlsx.read(sheetRow, 1).toString();
        if (info.Name.isEmpty())
            break;
        const QString genderText = xlsx.read(sheetRow, 2).toString();
        info.Gender = GenderOf(genderText);
        if (info.Gender < 0) {
            if (skippedRows)
                ++*skippedRows;
            continue;
        }
        info.Company = xlsx.read(sheetRow, 3).toString();
        info.Duty = xlsx.read(sheetRow, 4).toString();
        info.PhoneNum = xlsx.read(sheetRow, 5).toString();
        info.CompanyNum = xlsx.read(sheetRow, 6).toString();
        info.CompanyAddr = xlsx.read(sheetRow, 7).toString();
        info.Notes = xlsx.read(sheetRow, 8).toString();
        contacts.append(info);
    }
    if (contacts.isEmpty())
        return true;  // nothing to add: the book stays as it is

    for (const ContactInfo& info : qAsConst(contacts)) {
        QJsonObject object;
        ContactToJson(info, &object);
        file.Contacts.append(object);
    }
    if (!WriteContactsBookFile(book->FilePath, file))
        return false;

    // The grid is shown on the GUI thread meanwhile: append under its lock too, which painting only tries.
    std::unique_lock<std::shared_mutex> lock(Lock);
    book->Data->Lock();
    for (const ContactInfo& info : qAsConst(contacts)) {
        ZGridListRow* row = book->Data->CreateRow();
        FillContactRow(row, info, GenderText(info.Gender));
        book->Data->AddRow(row);
    }
    book->Data->Unlock();
    RebuildIndex();
    return true;
}
