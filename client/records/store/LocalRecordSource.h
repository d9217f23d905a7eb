#pragma once

#include "store/RecordSearch.h"

#include <QByteArray>

// The PC backup of one device (its folder <BackupPath><ID>) as a search store.
class LocalRecordSource : public RecordSearchSource
{
public:
    explicit LocalRecordSource(const QString& deviceId);

    bool LatestRecordDate(unsigned char* year, unsigned char* month, unsigned char* day) override;
    bool DayList(unsigned char year, unsigned char month, unsigned char days[32]) override;
    IndexResult ReadIndex(unsigned char year, unsigned char month, unsigned char day, int channel,
                          unsigned char** buffer, int* size) override;

private:
    QString m_id;
    // The encoded day folder of the last day asked for, "<...>/YYMM/DD/CH", to which "nn.Index" is appended.
    int m_dayKey = -1;
    QByteArray m_dayPrefix;
};
