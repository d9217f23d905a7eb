// Record commands on the recorder's record tree: newest and oldest recorded day (31, 32), the days of a month
// (33), a record's notes (34) and deleting a record (35).
#include "EmuFiles.h"
#include "RecordTree.h"

#include <algorithm>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace calvox::emu {
namespace {

// Reads the index file header and entry count, or false when the file cannot be read.
struct IndexFile {
    int fd = -1;
    uint8_t header[kIndexHeaderSize] = {};
    long entries = 0;
    ~IndexFile()
    {
        if (fd >= 0)
            ::close(fd);
    }
    bool Open(const std::string& path)
    {
        fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC);
        if (fd < 0)
            return false;
        const off_t size = ::lseek(fd, 0, SEEK_END);
        if (size < kIndexHeaderSize || ::pread(fd, header, sizeof header, 0) != kIndexHeaderSize)
            return false;
        entries = (size - kIndexHeaderSize) / kIndexEntrySize;
        return true;
    }
};

void RecordDayAnswer(Exchange& x, bool latest)
{
    const FileStore& store = x.recorder.State<FileStore>();
    const std::vector<RecordDay> days = store.root.empty() ? std::vector<RecordDay>{} : ListRecordDays(store.root);
    std::vector<uint8_t> reply(3, 0);  // no records: 0/0/0
    if (!days.empty()) {
        const RecordDay& d = latest ? days.back() : days.front();
        reply = {d.year, d.month, d.day};
    }
    x.Reply(0, reply);
}

void DayList(Exchange& x)
{
    const std::vector<uint8_t>& p = x.request.payload;
    if (p.size() < 2) {
        x.Reply(kStatusBadRequest);
        return;
    }
    const FileStore& store = x.recorder.State<FileStore>();
    std::vector<uint8_t> days(32, 0);
    if (!store.root.empty())
        for (const RecordDay& d : ListRecordDays(store.root))
            if (d.year == p[0] && d.month == p[1] && d.day < 32)
                days[d.day] = 1;
    x.Reply(0, days);
}

void EditNotes(Exchange& x)
{
    const std::vector<uint8_t>& p = x.request.payload;
    if (p.size() < 70) {
        x.Reply(kStatusBadRequest);
        return;
    }
    const FileStore& store = x.recorder.State<FileStore>();
    const uint16_t index = static_cast<uint16_t>(p[0] | (p[1] << 8));
    std::string local;
    if (!DevicePathToLocal(store, IndexDevicePath(p[2], p[3], p[4], p[5] + 1), &local)) {
        x.Reply(kStatusPathRefused);
        return;
    }
    IndexFile file;
    if (!file.Open(local)) {
        x.Reply(kStatusNoSuchFile);
        return;
    }
    if (index >= file.entries) {
        x.Reply(kStatusNoSuchRecord);
        return;
    }
    uint8_t notes[kEntryNotesSize] = {};  // 64 bytes of text, the last byte stays the terminator
    std::copy(p.begin() + 6, p.begin() + 70, notes);
    const off_t at = kIndexHeaderSize + static_cast<off_t>(index) * kIndexEntrySize + kEntryNotesOffset;
    x.Reply(::pwrite(file.fd, notes, sizeof notes, at) == static_cast<ssize_t>(sizeof notes) ? 0 : kStatusStorage);
}

void DeleteRecord(Exchange& x)
{
    const std::vector<uint8_t>& p = x.request.payload;
    if (p.size() < 14) {
        x.Reply(kStatusBadRequest);
        return;
    }
    FileStore& store = x.recorder.State<FileStore>();
    // The same sequence byte again is a retry of a delete already done: answer as before, delete nothing more.
    if (store.deleted && p[0] == store.lastDeleteSequence) {
        x.Reply(store.lastDeleteStatus);
        return;
    }
    const uint8_t* key = p.data() + 4;  // year, month, day, hour, minute, second, channel from 0, flag, index
    const uint16_t index = static_cast<uint16_t>(key[8] | (key[9] << 8));
    uint8_t status = 0;
    std::string indexPath, wavPath;
    IndexFile file;
    if (!DevicePathToLocal(store, IndexDevicePath(key[0], key[1], key[2], key[6] + 1), &indexPath) ||
        !DevicePathToLocal(store, WavDevicePath(key[0], key[1], key[2], key[3], key[4], key[5], key[6] + 1),
                           &wavPath)) {
        status = kStatusPathRefused;
    } else if (!file.Open(indexPath)) {
        status = kStatusNoSuchFile;
    } else if (index >= file.entries || !(file.header[index / 8] & (1u << (index % 8)))) {
        status = kStatusNoSuchRecord;
    } else {
        file.header[index / 8] &= static_cast<uint8_t>(~(1u << (index % 8)));
        const uint16_t count = static_cast<uint16_t>(file.header[510] | (file.header[511] << 8));
        const uint16_t left = count ? count - 1 : 0;
        file.header[510] = static_cast<uint8_t>(left);
        file.header[511] = static_cast<uint8_t>(left >> 8);
        if (::pwrite(file.fd, file.header, kIndexHeaderSize, 0) != kIndexHeaderSize) {
            status = kStatusStorage;
        } else {
            ::unlink(wavPath.c_str());  // a missed call has none
            ++store.recordsDeleted;
            status = store.deleteAnswersWait ? kStatusDeleteWait : 0;
        }
    }
    store.deleted = true;
    store.lastDeleteSequence = p[0];
    store.lastDeleteStatus = status;
    x.Reply(status);
}

}  // namespace

void RegisterCommandsRecords(CommandTable& table)
{
    table.Register(31, [](Exchange& x) { RecordDayAnswer(x, true); });
    table.Register(32, [](Exchange& x) { RecordDayAnswer(x, false); });
    table.Register(33, DayList);
    table.Register(34, EditNotes);
    table.Register(35, DeleteRecord);
}

}  // namespace calvox::emu
