#include "RecordTree.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fstream>
#include <sys/stat.h>
#include <tuple>

namespace calvox::emu {
namespace {

std::string TwoDigits(int v)
{
    char text[8];
    std::snprintf(text, sizeof text, "%02d", v % 100);
    return text;
}

std::string DayFolder(uint8_t year, uint8_t month, uint8_t day)
{
    return "/RecordFiles/" + TwoDigits(year) + TwoDigits(month) + "/" + TwoDigits(day);
}

bool MakeFolders(const std::string& path)
{
    for (size_t at = 1; at <= path.size(); ++at) {
        if (at == path.size() || path[at] == '/') {
            const std::string part = path.substr(0, at);
            if (::mkdir(part.c_str(), 0755) != 0 && errno != EEXIST)
                return false;
        }
    }
    return true;
}

std::string FolderOf(const std::string& path) { return path.substr(0, path.rfind('/')); }

void PutLe(std::vector<uint8_t>& v, size_t at, uint32_t x, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        v[at + static_cast<size_t>(i)] = static_cast<uint8_t>(x >> (8 * i));
}

void CopyField(std::vector<uint8_t>& v, size_t at, const std::string& text, size_t field)
{
    std::memcpy(v.data() + at, text.data(), std::min(text.size(), field));
}

std::vector<uint8_t> WavFile(const FixtureRecord& r)
{
    const std::vector<uint8_t> entry = EncodeEntry(r);
    const uint32_t vornSize = 132;
    std::vector<uint8_t> wav(12 + 8 + 16 + 8 + vornSize + 8 + r.audioBytes, 0);
    size_t at = 0;
    auto tag = [&](const char* id) {
        std::memcpy(wav.data() + at, id, 4);
        at += 4;
    };
    auto le = [&](uint32_t x, int bytes) {
        PutLe(wav, at, x, bytes);
        at += static_cast<size_t>(bytes);
    };
    tag("RIFF");
    le(static_cast<uint32_t>(wav.size() - 8), 4);
    tag("WAVE");
    tag("fmt ");
    le(16, 4);
    le(6, 2);     // A-law
    le(1, 2);     // mono
    le(8000, 4);  // samples per second
    le(8000, 4);  // bytes per second
    le(1, 2);     // block align
    le(8, 2);     // bits per sample
    tag("Vorn");
    le(vornSize, 4);
    std::memcpy(wav.data() + at, entry.data(), entry.size());
    at += entry.size();
    wav[at] = static_cast<uint8_t>(r.channel - 1);
    at += 4;
    tag("data");
    le(r.audioBytes, 4);
    std::fill(wav.begin() + static_cast<long>(at), wav.end(), 0xD5);  // A-law silence
    return wav;
}

bool WriteWhole(const std::string& path, const std::vector<uint8_t>& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

std::vector<std::string> FolderNames(const std::string& path, size_t length)
{
    std::vector<std::string> names;
    DIR* dir = ::opendir(path.c_str());
    if (!dir)
        return names;
    while (const dirent* e = ::readdir(dir)) {
        const std::string name = e->d_name;
        if (name.size() == length && std::all_of(name.begin(), name.end(), ::isdigit))
            names.push_back(name);
    }
    ::closedir(dir);
    return names;
}

bool HasIndexFile(const std::string& dayFolder)
{
    DIR* dir = ::opendir(dayFolder.c_str());
    if (!dir)
        return false;
    bool found = false;
    while (const dirent* e = ::readdir(dir)) {
        const std::string name = e->d_name;
        if (name.size() == 10 && name.compare(0, 2, "CH") == 0 && name.compare(4, 6, ".Index") == 0)
            found = true;
    }
    ::closedir(dir);
    return found;
}

}  // namespace

bool RecordDay::operator<(const RecordDay& o) const
{
    return std::tie(year, month, day) < std::tie(o.year, o.month, o.day);
}

std::string IndexDevicePath(uint8_t year, uint8_t month, uint8_t day, int channel)
{
    return DayFolder(year, month, day) + "/CH" + TwoDigits(channel) + ".Index";
}

std::string WavDevicePath(uint8_t year, uint8_t month, uint8_t day, uint8_t hour, uint8_t minute, uint8_t second,
                          int channel)
{
    const std::string ch = "CH" + TwoDigits(channel);
    return DayFolder(year, month, day) + "/" + ch + "/" + TwoDigits(year) + TwoDigits(month) + TwoDigits(day) +
           TwoDigits(hour) + TwoDigits(minute) + TwoDigits(second) + "-" + ch + ".wav";
}

std::vector<uint8_t> EncodeEntry(const FixtureRecord& r)
{
    std::vector<uint8_t> e(kIndexEntrySize, 0);
    const uint8_t head[8] = {r.year, r.month, r.day, r.hour, r.minute, r.second, r.type, r.rings};
    std::memcpy(e.data(), head, sizeof head);
    PutLe(e, 8, r.talkSeconds, 2);
    e[10] = static_cast<uint8_t>(std::min<size_t>(r.phone.size(), 20));
    e[11] = static_cast<uint8_t>(std::min<size_t>(r.key.size(), 20));
    e[12] = static_cast<uint8_t>(std::min<size_t>(r.extension.size(), 10));
    CopyField(e, 13, r.phone, 20);
    CopyField(e, 33, r.key, 20);
    CopyField(e, 53, r.extension, 10);
    CopyField(e, kEntryNotesOffset, r.notes, kEntryNotesSize - 1);
    return e;
}

int AddFixtureRecord(const std::string& root, const FixtureRecord& r)
{
    const std::string index = root + IndexDevicePath(r.year, r.month, r.day, r.channel);
    if (!MakeFolders(FolderOf(index)))
        return -1;
    std::vector<uint8_t> bytes;
    {
        std::ifstream in(index, std::ios::binary);
        bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    if (bytes.size() < kIndexHeaderSize)
        bytes.assign(kIndexHeaderSize, 0);
    bytes.resize(kIndexHeaderSize + (bytes.size() - kIndexHeaderSize) / kIndexEntrySize * kIndexEntrySize);
    const int i = static_cast<int>((bytes.size() - kIndexHeaderSize) / kIndexEntrySize);
    if (i >= kIndexBitmapSize * 8)
        return -1;
    bytes[static_cast<size_t>(i / 8)] |= static_cast<uint8_t>(1u << (i % 8));
    const uint16_t count = static_cast<uint16_t>(bytes[510] | (bytes[511] << 8));
    PutLe(bytes, 510, count + 1u, 2);
    const std::vector<uint8_t> entry = EncodeEntry(r);
    bytes.insert(bytes.end(), entry.begin(), entry.end());
    if (!WriteWhole(index, bytes))
        return -1;
    if (r.type != 2) {
        const std::string wav = root + WavDevicePath(r.year, r.month, r.day, r.hour, r.minute, r.second, r.channel);
        if (!MakeFolders(FolderOf(wav)) || !WriteWhole(wav, WavFile(r)))
            return -1;
    }
    return i;
}

std::vector<RecordDay> ListRecordDays(const std::string& root)
{
    std::vector<RecordDay> days;
    const std::string base = root + "/RecordFiles";
    for (const std::string& month : FolderNames(base, 4)) {
        const int yymm = std::stoi(month);
        for (const std::string& day : FolderNames(base + "/" + month, 2)) {
            if (HasIndexFile(base + "/" + month + "/" + day))
                days.push_back({static_cast<uint8_t>(yymm / 100), static_cast<uint8_t>(yymm % 100),
                                static_cast<uint8_t>(std::stoi(day))});
        }
    }
    std::sort(days.begin(), days.end());
    return days;
}

}  // namespace calvox::emu
