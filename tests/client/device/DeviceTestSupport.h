#pragma once

// Shared set-up of the device-model tests: the channel-state icons, the language texts the tables use, a phone
// book in a temporary data folder, and locked reads of a device's tables.

#include "DataFolder.h"
#include "KesDevice.h"
#include "LanguageTexts.h"
#include "StatusIcons.h"
#include "ZGridListData.h"
#include "contacts/Contacts.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <memory>

// Distinct images for the twelve icon slots, so a test can tell which one a cell points at.
class StatusIconsFixture
{
public:
    StatusIconsFixture()
    {
        for (int i = 0; i < kStatusIconCount; ++i) {
            m_Images[i] = std::make_unique<QImage>(1 + i, 1, QImage::Format_ARGB32);
            g_StatusIcons[i] = m_Images[i].get();
        }
    }
    ~StatusIconsFixture()
    {
        for (QImage*& icon : g_StatusIcons)
            icon = nullptr;
    }

private:
    std::unique_ptr<QImage> m_Images[kStatusIconCount];
};

// The English texts the tables take from the loaded language.
inline void SetEnglishTableTexts()
{
    TextMisc001 = QStringLiteral("Yes");
    TextMisc002 = QStringLiteral("No");
    TextDevice031 = QStringLiteral("Do not REC|Voltage|Hot key REC|Audio|Continuous|Timing|Polarity").split('|');
}

// A data folder holding one phone book with these (name, phone numbers) contacts, loaded into the store.
class PhoneBookFixture
{
public:
    explicit PhoneBookFixture(const QList<QPair<QString, QString>>& contacts)
    {
        g_DataPath = m_Dir.path();
        InitContacts();
        QJsonArray entries;
        for (const auto& contact : contacts)
            entries.append(QJsonObject{{"Name", contact.first}, {"Gender", 0}, {"PhoneNum", contact.second}});
        QFile file(ContactsRoot + QStringLiteral("/Phones"));
        if (file.open(QIODevice::WriteOnly))
            file.write(QJsonDocument(QJsonObject{{"Contacts", entries}}).toJson());
        file.close();
        LoadContactsFolder(ContactsRoot);
    }
    ~PhoneBookFixture() { FreeContacts(); }

private:
    QTemporaryDir m_Dir;
};

// Reads of a table under its lock: the heartbeat thread may be writing it.
inline QString CellText(ZGridListData* table, int row, int cell)
{
    table->Lock();
    const QString text = row < table->Rows.size() ? table->Rows[row]->Cells[cell].Text : QStringLiteral("<no row>");
    table->Unlock();
    return text;
}

inline const QImage* CellImage(ZGridListData* table, int row, int cell)
{
    table->Lock();
    const ZGridListCell& c = table->Rows[row]->Cells[cell];
    const QImage* image = c.Type == ZGridListCell::ImageCell ? reinterpret_cast<const QImage*>(c.Value) : nullptr;
    table->Unlock();
    return image;
}

inline bool RowVisible(ZGridListData* table, int row)
{
    table->Lock();
    const bool visible = table->Rows[row]->Visible;
    table->Unlock();
    return visible;
}

// Row visibility of the whole monitor table as "1010".
inline QString VisibleRows(ZGridListData* table)
{
    QString flags;
    table->Lock();
    for (const ZGridListRow* row : table->Rows)
        flags += row->Visible ? QLatin1Char('1') : QLatin1Char('0');
    table->Unlock();
    return flags;
}

inline bool RowsShown(ZGridListData* table)
{
    table->Lock();
    const bool shown = table->RowsVisible;
    table->Unlock();
    return shown;
}

inline int RowCount(ZGridListData* table)
{
    table->Lock();
    const int count = table->Rows.size();
    table->Unlock();
    return count;
}
