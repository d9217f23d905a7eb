#include "contacts/Contacts.h"

#include "contacts/ContactsBookFile.h"
#include "contacts/ContactsState.h"
#include "contacts/ZFileSystemModel.h"

#include "DataFolder.h"
#include "ZGridListData.h"

#include <QDir>
#include <QFileInfo>

QString ContactsRoot;
QMap<QString, ContactsBook*> ContactsStore;
ZFileSystemModel* ContactsModel = nullptr;
QString GenderTexts[2];

namespace ContactsState {
std::shared_mutex Lock;
std::recursive_mutex Writer;
ContactsIndex Index;
QMap<QString, FileStamp> SetAsideBooks;

void RebuildIndex()
{
    Index.Rebuild(ContactsStore);
}
} // namespace ContactsState

using namespace ContactsState;

ContactsBook::~ContactsBook()
{
    delete Data;
}

namespace {

// Entries of a book folder: sub-folders (groups) and files (books); links, hidden entries, "." and ".." are left
// out, so a link can neither loop nor pull in a book from outside the tree.
QFileInfoList ListContactsFolder(const QString& folder)
{
    if (folder.isEmpty())  // before InitContacts: QDir would list the working folder
        return QFileInfoList();
    return QDir(folder).entryInfoList(QDir::Dirs | QDir::Files | QDir::NoSymLinks | QDir::NoDotAndDotDot,
                                      QDir::Name | QDir::IgnoreCase);
}

QString KeyOf(const QString& path)
{
    return path.mid(ContactsRoot.size());
}

ContactsBook* LoadBook(const QString& path, ContactsBookRead* read)
{
    ContactsBookFile file;
    *read = ReadContactsBookFile(path, &file);
    if (*read != ContactsBookRead::Read)
        return nullptr;
    auto* book = new ContactsBook;
    book->FilePath = path;
    book->Data = new ZGridListData(ContactsColumnCount);
    for (const QJsonValue& value : qAsConst(file.Contacts)) {
        const ContactInfo info = ContactFromJson(value.toObject());
        ZGridListRow* row = book->Data->CreateRow();
        FillContactRow(row, info, GenderText(info.Gender));
        book->Data->AddRow(row);
    }
    return book;
}

// Parses every book below folder into books, and notes the files set aside, without touching the store.
void LoadBooks(const QString& folder, QMap<QString, ContactsBook*>* books, QMap<QString, FileStamp>* setAside)
{
    for (const QFileInfo& entry : ListContactsFolder(folder)) {
        const QString path = folder + QLatin1Char('/') + entry.fileName();
        if (entry.isDir()) {
            LoadBooks(path, books, setAside);
            continue;
        }
        // Stamped before the read: a write that lands during it shows as a change next time.
        const FileStamp stamp(entry);
        ContactsBookRead read = ContactsBookRead::Failed;
        if (ContactsBook* book = LoadBook(path, &read)) {
            delete books->value(KeyOf(path));
            books->insert(KeyOf(path), book);
        } else if (read == ContactsBookRead::ContactsNotArray) {
            setAside->insert(KeyOf(path), stamp);
        }
    }
}

void DeleteBooks(QMap<QString, ContactsBook*>* books)
{
    for (ContactsBook* book : qAsConst(*books)) {
        book->Data->Clear();
        delete book;
    }
    books->clear();
}

ContactsIndex::Match Find(QString number, char prefix)
{
    if (prefix != 0 && !number.isEmpty() && number.at(0).unicode() == static_cast<uchar>(prefix))
        number.remove(0, 1);
    // An empty number (also one that was only the prefix) names nobody.
    if (number.isEmpty())
        return ContactsIndex::Match();
    return Index.Find(number);
}

// The text a match names the caller by: the contact's name, or its company for a company number.
const QString& NameOf(const ContactsIndex::Match& match)
{
    return match.Row->Cells[match.Company ? ContactsCompanyColumn : ContactsNameColumn].Text;
}

} // namespace

void InitContacts()
{
    MakeDataFolder(QStringLiteral("/Contacts"));
    ContactsRoot = g_DataPath + QStringLiteral("/Contacts");
    ContactsModel = new ZFileSystemModel;
    ContactsModel->SetRootPath(ContactsRoot);
}

void FreeContacts()
{
    ClearContacts();
    delete ContactsModel;
    ContactsModel = nullptr;
}

void ClearContacts()
{
    std::lock_guard<std::recursive_mutex> writer(Writer);
    QMap<QString, ContactsBook*> old;
    {
        std::unique_lock<std::shared_mutex> lock(Lock);
        old.swap(ContactsStore);
        Index.Clear();
    }
    SetAsideBooks.clear();
    DeleteBooks(&old);
}

void LoadContactsFolder(const QString& folder)
{
    std::lock_guard<std::recursive_mutex> writer(Writer);
    QMap<QString, ContactsBook*> books;
    QMap<QString, FileStamp> setAside;
    LoadBooks(folder, &books, &setAside);
    QList<ContactsBook*> replaced;
    {
        std::unique_lock<std::shared_mutex> lock(Lock);
        for (auto it = books.cbegin(); it != books.cend(); ++it) {
            if (ContactsBook* old = ContactsStore.value(it.key()))
                replaced.append(old);
            ContactsStore.insert(it.key(), it.value());
            SetAsideBooks.remove(it.key());
        }
        RebuildIndex();
    }
    // A book loaded before stays as it was loaded (a file that fails to load changes nothing).
    for (auto it = setAside.cbegin(); it != setAside.cend(); ++it) {
        if (!ContactsStore.contains(it.key()))
            SetAsideBooks.insert(it.key(), it.value());
    }
    qDeleteAll(replaced);
}

ContactsBook* LoadContactsFile(const QString& path)
{
    ContactsBookRead read = ContactsBookRead::Failed;
    return LoadBook(path, &read);
}

bool CountContactsFiles(const QString& folder, int& count)
{
    for (const QFileInfo& entry : ListContactsFolder(folder)) {
        const QString path = folder + QLatin1Char('/') + entry.fileName();
        if (entry.isDir()) {
            if (CountContactsFiles(path, count))
                return true;
        } else {
            ++count;
            const QString key = KeyOf(path);
            if (ContactsStore.contains(key))
                continue;
            const auto aside = SetAsideBooks.constFind(key);
            if (aside == SetAsideBooks.cend() || !(aside.value() == FileStamp(entry)))
                return true;
        }
    }
    return false;
}

void ReloadContacts()
{
    std::lock_guard<std::recursive_mutex> writer(Writer);
    int count = 0;
    if (!CountContactsFiles(ContactsRoot, count) && count == ContactsStore.size() + SetAsideBooks.size())
        return;
    // Parse first, then swap in one step: a lookup never sees a half-loaded store.
    QMap<QString, ContactsBook*> books;
    QMap<QString, FileStamp> setAside;
    LoadBooks(ContactsRoot, &books, &setAside);
    {
        std::unique_lock<std::shared_mutex> lock(Lock);
        books.swap(ContactsStore);
        RebuildIndex();
    }
    SetAsideBooks.swap(setAside);
    DeleteBooks(&books);
}

ZGridListData* GetContactsData(const QString& key)
{
    std::shared_lock<std::shared_mutex> lock(Lock);
    const ContactsBook* book = ContactsStore.value(key);
    return book ? book->Data : nullptr;
}

QString FindContactName(const QString& number, char prefix)
{
    std::shared_lock<std::shared_mutex> lock(Lock);
    const ContactsIndex::Match match = Find(number, prefix);
    if (!match.Row)
        return QString();
    return NameOf(match);
}

QStringList ContactNumbersNamed(const QString& text)
{
    std::shared_lock<std::shared_mutex> lock(Lock);
    QStringList numbers;
    const QHash<QString, ContactsIndex::Match>& all = Index.Numbers();
    for (auto it = all.cbegin(); it != all.cend(); ++it) {
        if (NameOf(it.value()).contains(text, Qt::CaseInsensitive))
            numbers.append(it.key());
    }
    return numbers;
}

ZGridListRow* FindContact(const QString& number, char prefix)
{
    std::shared_lock<std::shared_mutex> lock(Lock);
    return Find(number, prefix).Row;
}
