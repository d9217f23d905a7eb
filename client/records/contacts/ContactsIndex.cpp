#include "contacts/ContactsIndex.h"

#include "contacts/ContactsBook.h"

#include "ZGridListData.h"

#include <QVector>

void ContactsIndex::Rebuild(const QMap<QString, ContactsBook*>& books)
{
    m_numbers.clear();
    for (const ContactsBook* book : books) {
        for (ZGridListRow* row : qAsConst(book->Data->Rows)) {
            for (const int column : {ContactsPhoneColumn, ContactsCompanyNumColumn}) {
                const QVector<QStringRef> parts = row->Cells[column].Text.splitRef(QLatin1Char(';'));
                for (const QStringRef& part : parts) {
                    if (part.isEmpty())
                        continue;
                    const QString number = part.toString();
                    if (!m_numbers.contains(number))
                        m_numbers.insert(number, Match{row, column == ContactsCompanyNumColumn});
                }
            }
        }
    }
}
