#include "contacts/Contacts.h"

#include "contacts/ContactsBookFile.h"
#include "contacts/ContactsState.h"

#include "FileIo.h"
#include "ZGridListData.h"

#include <QFileInfo>
#include <QJsonDocument>

#include <algorithm>

using namespace ContactsState;

namespace {

// The first steps of every change: the book of that key and its file, parsed.
ContactsBook* OpenBook(const QString& key, ContactsBookFile* file)
{
    ContactsBook* book = ContactsStore.value(key);
    if (!book || ReadContactsBookFile(book->FilePath, file) != ContactsBookRead::Read)
        return nullptr;
    return book;
}

} // namespace

void CreateContactsFile(const QString& path)
{
    const QFileInfo info(path);
    if (info.exists() && (!info.isFile() || info.size() > 0))
        return;
    QJsonObject top;
    top.insert(QStringLiteral("Contacts"), QJsonArray());
    SaveFile(path, QJsonDocument(top).toJson(QJsonDocument::Indented), FileAccess::OwnerOnly);
}

bool AddContact(const QString& key, const ContactInfo& info)
{
    std::lock_guard<std::recursive_mutex> writer(Writer);
    ContactsBookFile file;
    ContactsBook* book = OpenBook(key, &file);
    if (!book)
        return false;
    QJsonObject object;
    ContactToJson(info, &object);
    file.Contacts.append(object);
    if (!WriteContactsBookFile(book->FilePath, file))
        return false;
    ZGridListRow* row = book->Data->CreateRow();
    FillContactRow(row, info, GenderText(info.Gender));
    std::unique_lock<std::shared_mutex> lock(Lock);
    book->Data->AddRow(row);
    RebuildIndex();
    return true;
}

bool EditContact(const QString& key, const ContactInfo& info, int index)
{
    std::lock_guard<std::recursive_mutex> writer(Writer);
    ContactsBookFile file;
    ContactsBook* book = OpenBook(key, &file);
    // Rows address contacts by position: refuse when the file no longer lines up with the grid.
    if (!book || index < 0 || index >= book->Data->Rows.size() || file.Contacts.size() != book->Data->Rows.size())
        return false;
    QJsonObject object = file.Contacts.at(index).toObject();
    ContactToJson(info, &object);
    file.Contacts.replace(index, object);
    if (!WriteContactsBookFile(book->FilePath, file))
        return false;
    std::unique_lock<std::shared_mutex> lock(Lock);
    FillContactRow(book->Data->Rows.at(index), info, GenderText(info.Gender));
    RebuildIndex();
    return true;
}

void RelabelContactGenders()
{
    std::lock_guard<std::recursive_mutex> writer(Writer);
    std::unique_lock<std::shared_mutex> lock(Lock);
    for (ContactsBook* book : qAsConst(ContactsStore))
        for (ZGridListRow* row : qAsConst(book->Data->Rows))
            row->Cells[ContactsGenderColumn].Text = GenderText(static_cast<int>(row->Cells[ContactsGenderColumn].Value));
}

bool DeleteContacts(const QString& key, QList<int>& rows)
{
    std::lock_guard<std::recursive_mutex> writer(Writer);
    std::sort(rows.begin(), rows.end(), std::greater<int>());
    ContactsBookFile file;
    ContactsBook* book = OpenBook(key, &file);
    const int count = book ? book->Data->Rows.size() : 0;
    if (!book || file.Contacts.size() != count)
        return false;
    if (!rows.isEmpty() && (rows.first() >= count || rows.last() < 0))
        return false;
    QList<int> unique = rows;
    unique.erase(std::unique(unique.begin(), unique.end()), unique.end());
    // Descending order keeps the indices still to remove valid.
    for (const int index : qAsConst(unique))
        file.Contacts.removeAt(index);
    // The file first: the grid changes only once the deletion is on disk.
    if (!WriteContactsBookFile(book->FilePath, file))
        return false;
    std::unique_lock<std::shared_mutex> lock(Lock);
    for (const int index : qAsConst(unique))
        book->Data->RemoveRow(index);
    RebuildIndex();
    return true;
}
