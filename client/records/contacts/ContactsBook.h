#pragma once

#include <QString>

class ZGridListData;

// Cells of a book's grid row, in column order.
enum ContactsColumn
{
    ContactsCheckColumn = 0,
    ContactsNameColumn,
    ContactsGenderColumn,
    ContactsCompanyColumn,
    ContactsDutyColumn,
    ContactsPhoneColumn,
    ContactsCompanyNumColumn,
    ContactsAddressColumn,
    ContactsNotesColumn,
    ContactsColumnCount
};

// One loaded address book: row i of Data is element i of the file's "Contacts" array.
struct ContactsBook
{
    ~ContactsBook();

    QString FilePath;              // full path of the book file
    ZGridListData* Data = nullptr; // 9 columns, owned
};
