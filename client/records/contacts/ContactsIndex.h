#pragma once

#include <QHash>
#include <QMap>
#include <QString>

struct ContactsBook;
class ZGridListRow;

// Number -> contact lookup table over every loaded book, so that a caller's name is found without walking
// every book on each call. Rebuilt whenever the books change; holds row pointers of the book grids.
class ContactsIndex
{
public:
    struct Match
    {
        ZGridListRow* Row = nullptr;
        bool Company = false;  // found through CompanyNum: the row's Company names the caller
    };

    // Books in key order, rows in order, PhoneNum before CompanyNum within a row: the first row holding a
    // number keeps it. Empty parts of a ";" list are left out.
    void Rebuild(const QMap<QString, ContactsBook*>& books);
    void Clear() { m_numbers.clear(); }
    Match Find(const QString& number) const { return m_numbers.value(number); }
    // Every number with the contact it names.
    const QHash<QString, Match>& Numbers() const { return m_numbers; }

private:
    QHash<QString, Match> m_numbers;
};
