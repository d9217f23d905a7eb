// A contacts book file: parsed into a book grid as the contacts store loads it, then put into the number index
// and looked up.
#include "FuzzEntries.h"
#include "TempFile.h"

#include "contacts/Contacts.h"
#include "contacts/ContactsBook.h"
#include "contacts/ContactsIndex.h"

#include "ZGridListData.h"

#include <QMap>

namespace calvox::fuzz {

int ContactsBook(const uint8_t* data, size_t size)
{
    const QString path = WriteTempFile("book.json", data, size);
    ::ContactsBook* book = LoadContactsFile(path);
    if (!book)
        return 0;
    QMap<QString, ::ContactsBook*> books;
    books.insert(QStringLiteral("/Book"), book);
    ContactsIndex index;
    index.Rebuild(books);
    index.Find(QStringLiteral("123"));
    delete book;
    return 0;
}

}  // namespace calvox::fuzz
