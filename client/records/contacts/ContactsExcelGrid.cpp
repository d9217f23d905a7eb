// The export as the contacts page calls it: the grid list's rows and column captions.
// Built once the widget library has its grid list.
#if __has_include("ZGridList.h")

#include "contacts/Contacts.h"

#include "ZGridList.h"

bool ExportContactsToExcel(ZGridList* list, const QString& xlsxPath)
{
    if (!list)
        return false;
    QStringList headings;
    for (int column = ContactsNameColumn; column < ContactsColumnCount && column < list->Columns.size(); ++column)
        headings.append(list->Columns.at(column).Text);
    return ExportContactsToExcel(list->DataSource(), headings, xlsxPath);
}

#endif
