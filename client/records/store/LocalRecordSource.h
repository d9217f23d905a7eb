#pragma once

#include "store/RecordSearch.h"

#include <QByteArray>

// The PC backup of one device (its folder <BackupPath><ID>) as a search store.
class LocalRecordSource : public RecordSearchSource
{
public:
    explicit LocalRecordSource(const QString& deviceId);
    ~LocalRecordSource() override;
    LocalRecordSource(const LocalRecordSource&) = delete;
    LocalRecordSource& operator=(const LocalRecordSource&) = delete;

    bool LatestRecordDate(unsigned char* year, unsigned char* month, unsigned char* day) override;
    bool DayList(unsigned char year, unsigned char month, unsigned char days[32]) override;
    IndexResult ReadIndex(unsigned char year, unsigned char month, unsigned char day, int channel,
                          unsigned char** buffer, int* size) override;

private:
    QString m_id;
    // The last day asked for: its folder open (-1 when it could not be opened), and its encoded path
    // "<...>/YYMM/DD/", to which a file's name is appended when the folder could not be opened.
    int m_dayKey = -1;
    int m_dayFolder = -1;
    QByteArray m_dayPath;
};
