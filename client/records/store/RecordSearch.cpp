#include "store/RecordSearch.h"

#include "contacts/Contacts.h"
#include "store/IndexReadAhead.h"
#include "store/LocalRecordDevice.h"
#include "store/LocalRecordSource.h"
#include "store/OnlineRecordStore.h"
#include "store/RecordIndexFile.h"
#include "store/RecordRow.h"
#include "store/SearchNumbers.h"

#include "ZGridListData.h"

#include <QThreadPool>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

RecordSearchCondition g_RecordSearchCondition;

namespace {

std::atomic<OnlineRecordStoreLookup> OnlineLookup{nullptr};
ZGridListData* LocalTable = nullptr;

static_assert(sizeof RecordIndexEntry::PhoneNumber <= SearchNumbers::MaxDigits, "every digit is part of the key");

struct Window {
    int from;  // minutes of the day, inclusive
    int to;
};

// The tests on one present record, in the order that drops a record as early as it can. One per search: it
// keeps what many rows share, made once per search rather than once per row (type labels, talk-time texts,
// and per distinct number its text, its contact and whether that contact passes the name filter). A search by
// contact name first asks the phone book once for the numbers of the contacts so named: a record whose number
// is none of them is dropped with one probe of that small table.
class RecordFilter
{
public:
    RecordFilter(const RecordSearchCondition& condition, char prefix)
        : m_c(condition)
        , m_prefix(prefix)
    {
        // Phone numbers hold digits only, which have no letter case: a text with anything else matches none.
        m_phoneMatchesNone = false;
        for (const QChar c : condition.Phone) {
            if (c < QLatin1Char('0') || c > QLatin1Char('9'))
                m_phoneMatchesNone = true;
        }
        m_phoneNeedle = condition.Phone.toLatin1().toStdString();
        // An empty name matches every record, with or without a contact.
        m_namedOnly = condition.NameFilter && !condition.Name.isEmpty();
        if (m_namedOnly) {
            for (const QString& number : ContactNumbersNamed(condition.Name)) {
                const QByteArray digits = number.toLatin1();
                // A book number with anything but digits, or longer than a record's, is never a record's.
                if (digits.size() <= SearchNumbers::MaxDigits
                    && std::all_of(digits.cbegin(), digits.cend(), [](char c) { return c >= '0' && c <= '9'; }))
                    m_named.Add(digits.constData(), digits.size(), false, SearchNumbers::Number());
            }
        }
    }

    // Fills and adds a row for the record when it passes; false when the record lies past the day's window
    // (the walk of this file ends there).
    bool Apply(const RecordIndexEntry& entry, const Window& window, int channel, const QString& channelName,
               int index, ZGridListData* table)
    {
        if (m_c.TypeFilter && entry.Type != m_c.Type)
            return true;
        // The digits are tested before any text is made of them: most records fail the phone test.
        char digits[sizeof entry.PhoneNumber];
        int count = 0;
        const int length = std::min<int>(entry.PhoneLength, sizeof entry.PhoneNumber);
        for (int i = 0; i < length; ++i)
            if (entry.PhoneNumber[i] >= '0' && entry.PhoneNumber[i] <= '9')
                digits[count++] = static_cast<char>(entry.PhoneNumber[i]);
        if (m_c.PhoneFilter && !m_phoneNeedle.empty()
            && (m_phoneMatchesNone || std::string_view(digits, count).find(m_phoneNeedle) == std::string_view::npos))
            return true;
        if (m_namedOnly && !Named(digits, count, entry.Type == 1))
            return true;
        const SearchNumbers::Number& number = Resolve(digits, count, entry.Type == 1);
        if (m_c.NameFilter && !number.NameMatches)
            return true;
        const QString notes = RecordNotesText(entry);
        if (m_c.NotesFilter && !notes.contains(m_c.Notes, Qt::CaseInsensitive))
            return true;
        if (m_c.TimeFilter) {
            const int minute = entry.Hour * 60 + entry.Minute;
            if (minute < window.from)
                return true;
            if (minute > window.to)
                return false;
        }
        if (m_c.TalkTimeFilter && (entry.TalkTime < m_c.MinTalkTime || entry.TalkTime > m_c.MaxTalkTime))
            return true;
        ZGridListRow* row = table->CreateRow();
        FillRecordRow(row, entry, channel, channelName, number.Text, number.Contact, RecordExtensionText(entry), notes,
                      index, m_texts);
        table->AddRow(row);
        return true;
    }

private:
    // Whether the phone book names the record's number (outbound numbers without the outside-line digit) by a
    // contact that passes the name filter; Resolve has the last word on the rows that pass.
    bool Named(const char* digits, int count, bool outbound) const
    {
        if (outbound && m_prefix && count > 0 && digits[0] == m_prefix) {
            ++digits;
            --count;
        }
        return count > 0 && m_named.Find(digits, count, false) != nullptr;
    }

    // The number's text and contact, looked up in the phone book the first time the number is met.
    const SearchNumbers::Number& Resolve(const char* digits, int count, bool outbound)
    {
        const bool withoutPrefix = outbound && m_prefix;
        if (const SearchNumbers::Number* known = m_numbers.Find(digits, count, withoutPrefix))
            return *known;
        SearchNumbers::Number number;
        number.Text = QString::fromLatin1(digits, count);
        number.Contact = FindContactName(number.Text, outbound ? m_prefix : 0);
        number.NameMatches = !m_c.NameFilter || number.Contact.contains(m_c.Name, Qt::CaseInsensitive);
        return m_numbers.Add(digits, count, withoutPrefix, std::move(number));
    }

    const RecordSearchCondition& m_c;
    const char m_prefix;
    bool m_phoneMatchesNone;
    std::string m_phoneNeedle;
    RecordRowTexts m_texts;
    SearchNumbers m_numbers;
    bool m_namedOnly;
    SearchNumbers m_named;  // the numbers of the contacts the name filter passes
};

void WalkIndexFile(const unsigned char* data, int size, RecordFilter& filter, const Window& window,
                   int channel, const QString& channelName, ZGridListData* table)
{
    const RecordIndexFile file(data, size);
    RecordIndexEntry entry;
    for (int i = 0; i < file.RecordCount(); ++i) {
        if (!file.IsPresent(i))
            continue;
        file.ReadEntry(i, &entry);
        if (!filter.Apply(entry, window, channel, channelName, i, table))
            break;
    }
}

// The rows of the previous result, taken out of the table at once and deleted on a pool thread once the new
// search is done: freeing a year's result takes tens of milliseconds that the search need not wait for, and
// deleting them while the search allocates would only make the two contend for the allocator. The tables a
// search fills hold record rows, texts only (no controls, which would have to die on the GUI thread), and
// nothing points at them once they are out of the table. The pool finishes its work before the program ends.
class OldRows
{
public:
    explicit OldRows(ZGridListData* table) { m_rows.swap(table->Rows); }
    ~OldRows()
    {
        if (m_rows.isEmpty())
            return;
        auto rows = std::make_shared<QList<ZGridListRow*>>(std::move(m_rows));
        QThreadPool::globalInstance()->start([rows] { qDeleteAll(*rows); });
    }
    OldRows(const OldRows&) = delete;
    OldRows& operator=(const OldRows&) = delete;

private:
    QList<ZGridListRow*> m_rows;
};

}  // namespace

void SetOnlineRecordStoreLookup(OnlineRecordStoreLookup lookup)
{
    OnlineLookup.store(lookup);
}

ZGridListData* LocalRecordTable()
{
    return LocalTable;
}

ZGridListData* SearchRecordStore(RecordSearchStore& store, RecordSearchCondition& condition,
                                 RecordSearchSkips* skips)
{
    RecordSearchSkips ignored;
    if (!skips)
        skips = &ignored;
    *skips = RecordSearchSkips();
    if (!store.Source || !store.Table)
        return nullptr;
    store.Channels = std::clamp(store.Channels, 0, 64);

    if (!condition.TimeFilter) {
        unsigned char year = 0, month = 0, day = 0;
        if (!store.Source->LatestRecordDate(&year, &month, &day))
            return nullptr;
        const unsigned char start[7] = {year, month, day, 0, 0, 0, 0};
        const unsigned char end[7] = {year, month, day, 23, 59, 0, 0};
        std::memcpy(condition.Start, start, sizeof start);
        std::memcpy(condition.End, end, sizeof end);
    }
    RecordFilter filter(condition, store.Prefix);

    ZGridListData* table = store.Table;
    table->Lock();
    const OldRows previous(table);
    IndexReadAhead files(store, condition);
    IndexReadAhead::Day day;
    while (files.Next(&day)) {
        const Window window{day.From, day.To};
        for (const IndexReadAhead::File& file : day.Files)
            WalkIndexFile(file.Data.get(), file.Size, filter, window, file.Channel, file.ChannelName, table);
    }
    *skips = files.Skips();
    table->Unlock();
    return table;
}

ZGridListData* SearchRecords(RecordSearchSkips* skips)
{
    RecordSearchCondition& condition = g_RecordSearchCondition;
    if (skips)
        *skips = RecordSearchSkips();
    RecordSearchStore store;
    if (condition.Target == 0) {
        const OnlineRecordStoreLookup lookup = OnlineLookup.load();
        if (!(lookup != nullptr ? lookup : &FindDeviceListRecordStore)(condition.Device, &store))
            return nullptr;
    } else if (condition.Target == 1) {
        if (!LocalTable)
            LocalTable = new ZGridListData(RecordColumnCount);
        LocalRecordDevice device;
        if (!FindLocalRecordDevice(condition.Device, &device))
            return nullptr;
        store.Source = std::make_unique<LocalRecordSource>(device.ID);
        store.Table = LocalTable;
        store.Prefix = device.CircuitOutNum;
        store.Channels = device.Channels;
        std::copy(std::begin(device.ChannelFlags), std::end(device.ChannelFlags), store.ChannelFlags);
    } else {
        return nullptr;
    }
    return SearchRecordStore(store, condition, skips);
}
