#pragma once

#include <QString>

#include <memory>

class ZGridListData;

// The record page's search criteria. One global instance, written on the GUI thread while no search runs and
// read by SearchRecords on the wait panel's thread.
struct RecordSearchCondition {
    int Target = 0;  // 0 a connected recorder, 1 the PC backup, 2 the list holds dropped WAV files (no search)
    QString Device;  // the device's name as the record page lists it
    bool TypeFilter = false;
    bool ChannelFilter = false;  // only channels whose ChannelFlags entry is set
    bool PhoneFilter = false;
    bool NameFilter = false;
    bool TalkTimeFilter = false;
    bool NotesFilter = false;
    bool TimeFilter = false;  // false: only the newest day is searched, and Start/End are set to it
    int MinTalkTime = 0;      // seconds, inclusive
    int MaxTalkTime = 0;
    int Type = 0;  // RecordType
    QString Phone;
    QString Name;
    QString Notes;
    // year - 2000, month, day, hour, minute, then two bytes the search does not read.
    unsigned char Start[7] = {};
    unsigned char End[7] = {};
};

extern RecordSearchCondition g_RecordSearchCondition;

// What a search had to leave out: months whose day list the recorder did not give (no reply, refused) and
// channels whose index file exists but could not be fetched or read. Nonzero means the list is partial.
struct RecordSearchSkips {
    int Months = 0;
    int Channels = 0;
};

// One store of records as the search walks it: a connected recorder or the PC backup of one device.
class RecordSearchSource
{
public:
    enum class IndexResult {
        Read,     // *buffer holds the file (new[], the caller frees it; null for an empty file)
        Missing,  // the channel recorded nothing that day
        Failed    // the file is there but could not be fetched or read
    };

    virtual ~RecordSearchSource() = default;
    // The newest day that holds records (year - 2000, month, day); false when the store cannot tell.
    virtual bool LatestRecordDate(unsigned char* year, unsigned char* month, unsigned char* day) = 0;
    // days[d] set when day d of the month holds records; false when the list could not be had.
    virtual bool DayList(unsigned char year, unsigned char month, unsigned char days[32]) = 0;
    // Whether the user may see channel (from 0) at all.
    virtual bool ChannelVisible(int channel) { Q_UNUSED(channel) return true; }
    // The name cell of the channel's rows (from 0).
    virtual QString ChannelName(int channel) { Q_UNUSED(channel) return QString(); }
    // The day's index file of the channel (from 0).
    virtual IndexResult ReadIndex(unsigned char year, unsigned char month, unsigned char day, int channel,
                                  unsigned char** buffer, int* size) = 0;
};

// A store to search and where its rows go.
struct RecordSearchStore {
    std::unique_ptr<RecordSearchSource> Source;
    ZGridListData* Table = nullptr;  // 12 columns; not owned
    char Prefix = 0;                 // outside-line digit of outbound numbers, 0 for none
    int Channels = 0;                // held to 64
    bool ChannelFlags[64] = {};
};

// Finds the connected recorder of that name and describes it as a store; false when there is no such device or
// it is not online. By default the recorders of DeviceManage's list (OnlineRecordStore.cpp); tests put another
// lookup in its place, and null restores the device list's.
using OnlineRecordStoreLookup = bool (*)(const QString& name, RecordSearchStore* store);
void SetOnlineRecordStoreLookup(OnlineRecordStoreLookup lookup);

// Runs g_RecordSearchCondition: target 0 over the connected recorder of that name (its own record table),
// target 1 over the PC backup of the local device list entry of that name (one global table, made on first
// use). Null for target 2, an unknown or offline device, or a recorder that cannot name its newest day.
//
// Without TimeFilter the window becomes the newest day, 00:00 to 23:59, and is written back into the
// condition. The table is cleared and filled under its lock. Per present record, in this order: type, phone
// digits contain Phone, contact (outbound numbers without the outside-line digit) contains Name, notes contain
// Notes, the day's window (a record past its end ends that file, records being in time order), talk time.
// The text tests ignore letter case; an empty text matches all. A month whose day list fails is skipped and
// the scan goes on with the next month; each such month and each channel whose index file could not be read
// is counted in *skips.
ZGridListData* SearchRecords(RecordSearchSkips* skips = nullptr);

// The search over one store with the given condition (whose window it may rewrite as above).
ZGridListData* SearchRecordStore(RecordSearchStore& store, RecordSearchCondition& condition,
                                 RecordSearchSkips* skips = nullptr);

// The table of PC-backup searches, null before the first one. Lives until the program ends.
ZGridListData* LocalRecordTable();
