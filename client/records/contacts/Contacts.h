#pragma once

#include "contacts/ContactInfo.h"
#include "contacts/ContactsBook.h"

#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

class ZFileSystemModel;
class ZGridList;
class ZGridListData;
class ZGridListRow;

// The phone book: every file below ContactsRoot is an address book (a JSON file), every folder a group. Each
// loaded book keeps its contacts in a grid table that the contacts page shows.
//
// Keys: a book's key is its full path with ContactsRoot removed, so it begins with "/" ("/Friends/Book1");
// ContactsStore orders books by key (plain case-sensitive comparison).
//
// Threads: the GUI thread loads, edits and frees the books; FindContactName also runs on the SDK's heartbeat
// thread and the workbook import and export on the wait panel's thread. A read-write lock inside the store
// guards the books, their grids and the number index against that: lookups share it, changes take it alone
// and only for the moment they change the grids, never while they read or write files.
//
// Files are always written whole, through a temporary file renamed into place; an operation changes a book's
// grid only after its file was written, so grid and file never disagree.

// The data folder + "/Contacts"; set by InitContacts.
extern QString ContactsRoot;
// One entry per loaded book; owns the books. Changed only on the GUI thread (and by the import).
extern QMap<QString, ContactsBook*> ContactsStore;
// The tree model over ContactsRoot; owned.
extern ZFileSystemModel* ContactsModel;
// Display texts of gender 0 and 1, written by the contact editor when its language changes.
extern QString GenderTexts[2];
// Gives the Gender cell of every loaded contact the current GenderTexts entry of its gender number (the cell's
// Value): rows built under another language read the new names. Call after GenderTexts changed. GUI thread.
void RelabelContactGenders();

// Makes the Contacts folder, sets ContactsRoot and creates ContactsModel over it. Loads no book.
void InitContacts();
// ClearContacts, then deletes ContactsModel.
void FreeContacts();
// Unloads every book (their grids with them).
void ClearContacts();
// Reloads every book when the tree holds a book file that is not loaded or the count of files changed.
// A file that cannot be read or is not JSON is not loaded, so it makes every call reload. A file whose
// "Contacts" is not an array is kept out of the store (an edit would rewrite it as an empty book) but counts
// as loaded until it changes.
// Grid lists must drop book grids before the call and fetch them again afterwards (GetContactsData).
void ReloadContacts();
// Loads every book below folder (recursively, links not followed) into the store.
void LoadContactsFolder(const QString& folder);
// Parses one book; null when it cannot be read or is not a book (not a JSON object, or its "Contacts" is not
// an array).
ContactsBook* LoadContactsFile(const QString& path);
// Counts book files below folder into count; true at once when one of them is not loaded (a file set aside
// for its "Contacts" counts as loaded while it is unchanged).
bool CountContactsFiles(const QString& folder, int& count);
// The grid of the loaded book with that key, or null.
ZGridListData* GetContactsData(const QString& key);

// The contact whose PhoneNum (else CompanyNum) holds number as one of its ";" parts: its Name for a PhoneNum
// match, its Company for a CompanyNum match; "" for none. A first character equal to prefix (the outside-line
// digit; 0 for none) is dropped first. An empty number, or one that was only the prefix, has no contact; empty
// parts never match. Books in key order, rows in file order: the first match wins. Any thread.
QString FindContactName(const QString& number, char prefix);
// Every number (without prefix) that FindContactName names with a text containing text, letter case ignored:
// what a search by contact name can match, found once instead of once per record. Any thread.
QStringList ContactNumbersNamed(const QString& text);
// The same lookup giving the grid row (valid until the next reload), or null. GUI thread.
ZGridListRow* FindContact(const QString& number, char prefix);

// Writes an empty book (an object whose "Contacts" is an empty array) at path. A file there that already
// holds data is left alone: a new book never replaces an existing one.
void CreateContactsFile(const QString& path);
// Appends a contact to the book's file and then to its grid. False when the key is unknown, the file cannot be
// read or parsed, or the write fails (then nothing changed).
bool AddContact(const QString& key, const ContactInfo& info);
// Replaces contact index (file and grid row). Keys of the contact object that ContactInfo does not hold are
// kept. False as AddContact, and for an index outside the book or a file whose contacts no longer match the
// grid row for row.
bool EditContact(const QString& key, const ContactInfo& info, int index);
// Deletes contacts by position. Sorts rows into descending order in place; a repeated index counts once. The
// file is written first and the grid changed only after the write succeeded. False (nothing changed) when an
// index is outside the book or as EditContact.
bool DeleteContacts(const QString& key, QList<int>& rows);

// Writes the ticked rows (check cell set) of a contacts grid to a workbook: headings (the texts of grid columns
// 1 to 8) in row 1, then one row per ticked contact, columns A to H, every cell centred text; with nothing
// ticked the headings alone. The result is the save's (written whole, then put in place). Without a grid:
// true and no file. False for a grid with fewer columns than a contacts grid.
bool ExportContactsToExcel(const ZGridListData* data, const QStringList& headings, const QString& xlsxPath);
// The same for the grid list that shows a book: its data source, and the captions of its columns 1 to 8.
bool ExportContactsToExcel(ZGridList* list, const QString& xlsxPath);
// Appends the contacts of a workbook laid out as the export writes it (row 1 headings, from row 2 one contact
// per row until the first empty name). A row whose gender text is neither of GenderTexts (compared without
// surrounding blanks and letter case) is skipped and counted in *skippedRows. False when the key is unknown,
// the book cannot be read, the file is not a workbook or the book cannot be written; nothing changed then.
bool ImportContactsFromExcel(const QString& key, const QString& xlsxPath, int* skippedRows = nullptr);
