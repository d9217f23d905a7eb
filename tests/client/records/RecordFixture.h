#pragma once

// Index files, WAV files and backup trees for the record tests, written byte by byte as a recorder does.

#include "LanguageTexts.h"
#include "RecordIndexEntry.h"
#include "SoftwareSetting.h"
#include "store/LocalRecordDevice.h"
#include "store/RecordSearch.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QList>
#include <QMap>
#include <QString>

#include <cstring>

// A search window from the first to the second time (year, month, day, hour, minute), TimeFilter on.
inline void SetWindow(RecordSearchCondition& c, int y1, int mo1, int d1, int h1, int mi1, int y2, int mo2, int d2, int h2,
                      int mi2)
{
    c.TimeFilter = true;
    const unsigned char start[7] = {uchar(y1 - 2000), uchar(mo1), uchar(d1), uchar(h1), uchar(mi1), 0, 0};
    const unsigned char end[7] = {uchar(y2 - 2000), uchar(mo2), uchar(d2), uchar(h2), uchar(mi2), 0, 0};
    std::memcpy(c.Start, start, 7);
    std::memcpy(c.End, end, 7);
}

// An entry with the start time, type, talk time and phone text (every byte as given, length = its size).
inline RecordIndexEntry MakeEntry(int year, int month, int day, int hour, int minute, int second, int type = 0,
                                  int talk = 0, const QByteArray& phone = QByteArray(), int rings = 0,
                                  const QByteArray& notes = QByteArray(), const QByteArray& key = QByteArray(),
                                  const QByteArray& extension = QByteArray())
{
    RecordIndexEntry e;
    std::memset(&e, 0, sizeof e);
    e.Year = static_cast<uint8_t>(year - 2000);
    e.Month = static_cast<uint8_t>(month);
    e.Day = static_cast<uint8_t>(day);
    e.Hour = static_cast<uint8_t>(hour);
    e.Minute = static_cast<uint8_t>(minute);
    e.Second = static_cast<uint8_t>(second);
    e.Type = static_cast<uint8_t>(type);
    e.Rings = static_cast<uint8_t>(rings);
    e.TalkTime = static_cast<uint16_t>(talk);
    e.PhoneLength = static_cast<uint8_t>(qMin(phone.size(), 20));
    std::memcpy(e.PhoneNumber, phone.constData(), static_cast<std::size_t>(qMin(phone.size(), 20)));
    e.KeyLength = static_cast<uint8_t>(qMin(key.size(), 20));
    std::memcpy(e.Key, key.constData(), static_cast<std::size_t>(qMin(key.size(), 20)));
    e.ExtensionLength = static_cast<uint8_t>(qMin(extension.size(), 10));
    std::memcpy(e.Extension, extension.constData(), static_cast<std::size_t>(qMin(extension.size(), 10)));
    std::memcpy(e.Notes, notes.constData(), static_cast<std::size_t>(qMin(notes.size(), 65)));
    return e;
}

// An index file: the entries in order, present unless listed in deleted; the count is that of the present ones.
inline QByteArray MakeIndexFile(const QList<RecordIndexEntry>& entries, const QList<int>& deleted = {})
{
    QByteArray bytes(512, '\0');
    int present = 0;
    for (int i = 0; i < entries.size(); ++i) {
        if (deleted.contains(i))
            continue;
        bytes[i / 8] = static_cast<char>(bytes[i / 8] | (1 << (i % 8)));
        ++present;
    }
    bytes[510] = static_cast<char>(present & 0xff);
    bytes[511] = static_cast<char>(present >> 8);
    for (const RecordIndexEntry& e : entries)
        bytes.append(reinterpret_cast<const char*>(&e), sizeof e);
    return bytes;
}

inline bool WriteBytes(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(path.left(path.lastIndexOf(QLatin1Char('/'))));
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

inline QByteArray ReadBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline QByteArray Chunk(const char id[4], const QByteArray& body, quint32 declaredSize)
{
    QByteArray chunk(id, 4);
    for (int i = 0; i < 4; ++i)
        chunk.append(static_cast<char>((declaredSize >> (8 * i)) & 0xff));
    return chunk + body;
}

inline QByteArray Chunk(const char id[4], const QByteArray& body)
{
    return Chunk(id, body, static_cast<quint32>(body.size()));
}

// RIFF header and a 16-byte format chunk (so the next chunk starts at 36), then the given chunks.
inline QByteArray MakeWav(const QByteArray& chunks)
{
    QByteArray fmt(16, '\0');
    fmt[0] = 6;  // A-law
    fmt[2] = 1;
    const QByteArray body = QByteArray("WAVE") + Chunk("fmt ", fmt) + chunks;
    return Chunk("RIFF", body);
}

inline QByteArray VornBody(const RecordIndexEntry& e, int channel)
{
    QByteArray body(reinterpret_cast<const char*>(&e), sizeof e);
    body.append(static_cast<char>(channel));
    body.append(3, '\0');
    return body;
}

// The local device list as the tests see it: name -> entry.
inline QMap<QString, LocalRecordDevice>& TestLocalDevices()
{
    static QMap<QString, LocalRecordDevice> devices;
    return devices;
}

inline bool TestLocalDeviceLookup(const QString& name, LocalRecordDevice* device)
{
    const auto it = TestLocalDevices().constFind(name);
    if (it == TestLocalDevices().constEnd())
        return false;
    *device = *it;
    return true;
}

// The English record-type labels, as the English language file gives them.
inline void UseEnglishRecordTypes()
{
    TextDevice032 = QStringLiteral(
        "Inbound|Outbound|Missed|Key Control|Voice Trigger|Continuous|Auto-Answer|Timing|Polarity").split('|');
}

inline void AddTestLocalDevice(const QString& name, const QString& id, int channels, char prefix = 0)
{
    LocalRecordDevice device;
    device.ID = id;
    device.Channels = channels;
    device.CircuitOutNum = prefix;
    for (bool& flag : device.ChannelFlags)
        flag = true;
    TestLocalDevices().insert(name, device);
    UseEnglishRecordTypes();
    SetLocalRecordDeviceLookup(&TestLocalDeviceLookup);
}

// <backup>/<id>/YYMM/DD/CHnn.Index
inline QString IndexPathIn(const QString& id, int year, int month, int day, int channel)
{
    return g_SoftwareSetting.BackupPath + id
        + QStringLiteral("/%1%2/%3/CH%4.Index")
              .arg(year - 2000, 2, 10, QLatin1Char('0'))
              .arg(month, 2, 10, QLatin1Char('0'))
              .arg(day, 2, 10, QLatin1Char('0'))
              .arg(channel, 2, 10, QLatin1Char('0'));
}
