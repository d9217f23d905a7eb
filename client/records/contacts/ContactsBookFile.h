#pragma once

#include "contacts/ContactInfo.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QString>

class ZGridListRow;

// A book file opened for a change: the top object without its "Contacts" member, and that member.
struct ContactsBookFile
{
    QJsonObject Top;
    QJsonArray Contacts;
};

// Largest book file read; a bigger file is not a book of ours.
constexpr qint64 MaxContactsFileSize = 64ll << 20;

// What reading a book file found.
enum class ContactsBookRead
{
    Read,             // Top and Contacts filled
    Failed,           // it cannot be read, is too large or is not a JSON object
    ContactsNotArray, // a JSON object whose "Contacts" is there but not an array: a rewrite would lose it
};

// Reads and parses a book file; only Read fills book.
ContactsBookRead ReadContactsBookFile(const QString& path, ContactsBookFile* book);
// Puts the contacts back and replaces the file (indented JSON) through a temporary file and a rename; true
// only when the whole file reached the disk.
bool WriteContactsBookFile(const QString& path, const ContactsBookFile& book);

ContactInfo ContactFromJson(const QJsonObject& object);
// Writes the eight keys into object, keeping its other keys.
void ContactToJson(const ContactInfo& info, QJsonObject* object);
// The gender cell's text: GenderTexts[gender], empty for any other value.
QString GenderText(int gender);
// Cells of a book row from a contact: check cell cleared, then the eight fields (gender as its text, with its
// number in the cell's Value).
void FillContactRow(ZGridListRow* row, const ContactInfo& info, const QString& genderText);
