#pragma once

// Book files and store set-up shared by the contacts tests.

#include "DataFolder.h"
#include "contacts/Contacts.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

// A contact object as a book file holds it: name, phone numbers, company numbers, company.
inline QJsonObject ContactJson(const QString& name, const QString& phone, const QString& companyNum = QString(),
                               const QString& company = QString(), int gender = 0)
{
    return QJsonObject{{"Name", name},       {"Gender", gender},          {"Company", company},
                       {"Duty", "Engineer"}, {"PhoneNum", phone},         {"CompanyNum", companyNum},
                       {"CompanyAddr", "Street 1"}, {"Notes", "note"}};
}

inline bool WriteBook(const QString& key, const QJsonArray& contacts, const QJsonObject& extra = QJsonObject())
{
    const QString path = ContactsRoot + key;
    QDir().mkpath(path.left(path.lastIndexOf(QLatin1Char('/'))));
    QJsonObject top = extra;
    top.insert("Contacts", contacts);
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate)
        && file.write(QJsonDocument(top).toJson()) > 0;
}

inline QJsonObject ReadBook(const QString& key)
{
    QFile file(ContactsRoot + key);
    if (!file.open(QIODevice::ReadOnly))
        return QJsonObject();
    return QJsonDocument::fromJson(file.readAll()).object();
}

// A fresh data folder with an initialised, empty contacts store.
class ContactsFixture
{
public:
    ContactsFixture()
    {
        g_DataPath = m_dir.path();
        InitContacts();
        GenderTexts[0] = QStringLiteral("Male");
        GenderTexts[1] = QStringLiteral("Female");
    }
    ~ContactsFixture() { FreeContacts(); }

private:
    QTemporaryDir m_dir;
};
