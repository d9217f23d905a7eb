// The export as the contacts page calls it: the grid list's rows and column captions.

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
