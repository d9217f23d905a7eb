#include "contacts/ContactsBookFile.h"

#include "contacts/Contacts.h"

#include "FileIo.h"
#include "ZGridListData.h"

#include <QFile>
#include <QJsonDocument>

#include <algorithm>

namespace {
const QString ContactsKey = QStringLiteral("Contacts");
}

ContactsBookRead ReadContactsBookFile(const QString& path, ContactsBookFile* book)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > MaxContactsFileSize)
        return ContactsBookRead::Failed;
    // At most the size found above and one byte more: asking for the limit itself makes Qt reserve 64 MiB for
    // every book it reads.
    const QByteArray content = file.read(std::min(file.size(), MaxContactsFileSize) + 1);
    file.close();
    if (content.size() > MaxContactsFileSize)
        return ContactsBookRead::Failed;
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(content, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return ContactsBookRead::Failed;
    QJsonObject top = document.object();
    const QJsonValue contacts = top.take(ContactsKey);
    if (!contacts.isUndefined() && !contacts.isArray())
        return ContactsBookRead::ContactsNotArray;
    book->Top = top;
    book->Contacts = contacts.toArray();
    return ContactsBookRead::Read;
}

bool WriteContactsBookFile(const QString& path, const ContactsBookFile& book)
{
    QJsonObject top = book.Top;
    top.insert(ContactsKey, book.Contacts);
    return SaveFile(path, QJsonDocument(top).toJson(QJsonDocument::Indented), FileAccess::OwnerOnly);
}

ContactInfo ContactFromJson(const QJsonObject& object)
{
    ContactInfo info;
    info.Name = object.value(QLatin1String("Name")).toString();
    info.Gender = object.value(QLatin1String("Gender")).toInt();
    info.Company = object.value(QLatin1String("Company")).toString();
    info.Duty = object.value(QLatin1String("Duty")).toString();
    info.PhoneNum = object.value(QLatin1String("PhoneNum")).toString();
    info.CompanyNum = object.value(QLatin1String("CompanyNum")).toString();
    info.CompanyAddr = object.value(QLatin1String("CompanyAddr")).toString();
    info.Notes = object.value(QLatin1String("Notes")).toString();
    return info;
}

void ContactToJson(const ContactInfo& info, QJsonObject* object)
{
    object->insert(QStringLiteral("Name"), info.Name);
    object->insert(QStringLiteral("Gender"), info.Gender);
    object->insert(QStringLiteral("Company"), info.Company);
    object->insert(QStringLiteral("Duty"), info.Duty);
    object->insert(QStringLiteral("PhoneNum"), info.PhoneNum);
    object->insert(QStringLiteral("CompanyNum"), info.CompanyNum);
    object->insert(QStringLiteral("CompanyAddr"), info.CompanyAddr);
    object->insert(QStringLiteral("Notes"), info.Notes);
}

QString GenderText(int gender)
{
    return gender == 0 || gender == 1 ? GenderTexts[gender] : QString();
}

void FillContactRow(ZGridListRow* row, const ContactInfo& info, const QString& genderText)
{
    ZGridListCell* cells = row->Cells;
    cells[ContactsCheckColumn] = false;
    cells[ContactsNameColumn] = info.Name;
    cells[ContactsGenderColumn] = genderText;
    // The number itself: the text changes with the language, and a text of another language maps back to no
    // gender.
    cells[ContactsGenderColumn].Value = info.Gender;
    cells[ContactsCompanyColumn] = info.Company;
    cells[ContactsDutyColumn] = info.Duty;
    cells[ContactsPhoneColumn] = info.PhoneNum;
    cells[ContactsCompanyNumColumn] = info.CompanyNum;
    cells[ContactsAddressColumn] = info.CompanyAddr;
    cells[ContactsNotesColumn] = info.Notes;
}
