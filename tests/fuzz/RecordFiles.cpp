// Record files from a recorder or the PC backup: a day's index file walked by the record search (every
// filter the first input byte turns on) and read through the index view and the entry texts; a WAV file
// searched for its record chunk, whose entry then fills a record row.
#include "FuzzEntries.h"
#include "TempFile.h"

#include "RecordTexts.h"
#include "store/RecordIndexFile.h"
#include "store/RecordRow.h"
#include "store/RecordSearch.h"
#include "store/RecordStore.h"

#include "ZGridListData.h"

#include <cstring>
#include <memory>

namespace calvox::fuzz {
namespace {

// One day (2024-01-01) whose every channel's index file is the input.
class InputSource : public RecordSearchSource {
public:
    InputSource(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    bool LatestRecordDate(unsigned char* year, unsigned char* month, unsigned char* day) override
    {
        *year = 24;
        *month = 1;
        *day = 1;
        return true;
    }
    bool DayList(unsigned char, unsigned char, unsigned char days[32]) override
    {
        std::memset(days, 0, 32);
        days[1] = 1;
        return true;
    }
    IndexResult ReadIndex(unsigned char, unsigned char, unsigned char, int, unsigned char** buffer,
                          int* size) override
    {
        // A buffer of exactly the file's size, as the readers hand it over.
        *size = static_cast<int>(size_);
        *buffer = size_ ? new unsigned char[size_] : nullptr;
        if (size_)
            std::memcpy(*buffer, data_, size_);
        return IndexResult::Read;
    }

private:
    const uint8_t* data_;
    size_t size_;
};

}  // namespace

int RecordIndex(const uint8_t* data, size_t size)
{
    if (size < 1)
        return 0;
    const uint8_t filters = data[0];
    const std::vector<uint8_t> file(data + 1, data + size);

    RecordSearchCondition condition;
    condition.TypeFilter = filters & 1;
    condition.Type = filters >> 5;
    condition.PhoneFilter = filters & 2;
    condition.Phone = QStringLiteral("12");
    condition.NotesFilter = filters & 4;
    condition.Notes = QStringLiteral("a");
    condition.TalkTimeFilter = filters & 8;
    condition.MaxTalkTime = 600;
    condition.TimeFilter = filters & 16;
    const unsigned char start[7] = {24, 1, 1, 8, 0, 0, 0};
    const unsigned char end[7] = {24, 1, 1, 18, 30, 0, 0};
    std::memcpy(condition.Start, start, sizeof start);
    std::memcpy(condition.End, end, sizeof end);

    ZGridListData table(RecordColumnCount);
    RecordSearchStore store;
    store.Source = std::make_unique<InputSource>(file.data(), file.size());
    store.Table = &table;
    store.Prefix = '9';
    store.Channels = 2;
    SearchRecordStore(store, condition);

    const RecordIndexFile index(file.data(), static_cast<qint64>(file.size()));
    int present = index.PresentCount();
    for (int i = -1; i <= RecordIndexFile::MaxRecords; ++i)
        present += index.IsPresent(i);
    RecordIndexEntry entry;
    for (int i = -1; i <= index.RecordCount(); ++i) {
        if (!index.ReadEntry(i, &entry))
            continue;
        present += RecordKeyText(entry).size() + RecordExtensionText(entry).size() + RecordNotesText(entry).size() +
                   RecordPhoneText(entry).size() + RecordTimeToString(entry).size();
    }
    Keep(unsigned(present));
    return 0;
}

int WavRecord(const uint8_t* data, size_t size)
{
    const QString path = WriteTempFile("record.wav", data, size);
    RecordIndexEntry entry;
    int channel = -1;
    if (ReadWavIndexEntry(path, &entry, &channel)) {
        ZGridListData table(RecordColumnCount);
        ZGridListRow* row = table.CreateRow();
        FillRecordRowFromEntry(row, entry, channel, qintptr(0));
        table.AddRow(row);
    }
    return 0;
}

}  // namespace calvox::fuzz
