#include "RecordStatistics.h"

#include "ZGridListData.h"

#include <array>

namespace {

constexpr int Channels = 64;

// The 17 counters of one channel (and of the total), in the order of table columns 2 to 18.
enum Counter
{
    Missed = 0,
    InboundCount, InboundTime,
    OutboundCount, OutboundTime,
    AutoAnswerCount, AutoAnswerTime,
    VoiceTriggerCount, VoiceTriggerTime,
    KeyControlCount, KeyControlTime,
    TimingCount, TimingTime,
    PolarityCount, PolarityTime,
    TotalCount, TotalTime,
    CounterCount
};
using Block = std::array<quint32, CounterCount>;

// The count counter a record type feeds (its time counter follows it); -1 for types counted nowhere.
int CountCounterOf(qintptr type)
{
    switch (type) {
    case 0: return InboundCount;
    case 1: return OutboundCount;
    case 2: return Missed;
    case 3: return KeyControlCount;
    case 4: return VoiceTriggerCount;
    case 6: return AutoAnswerCount;
    case 7: return TimingCount;
    case 8: return PolarityCount;
    default: return -1;  // 5 Continuous, and anything the list does not know
    }
}

void FillCounters(ZGridListRow* row, const Block& block)
{
    for (int counter = 0; counter < CounterCount; ++counter) {
        const bool isTime = counter != Missed && counter % 2 == 0;
        row->Cells[counter + 2] = isTime ? StatisticsDurationText(block[counter]) : QString::number(block[counter]);
    }
}

} // namespace

QString StatisticsDurationText(quint32 seconds)
{
    return QStringLiteral("%1:%2:%3")
        .arg(seconds / 3600, 2, 10, QLatin1Char('0'))
        .arg(seconds % 3600 / 60, 2, 10, QLatin1Char('0'))
        .arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

ZGridListData* CountRecordStatistics(const ZGridListData& records, const QString& totalLabel)
{
    std::array<Block, Channels> blocks{};
    std::array<bool, Channels> seen{};
    std::array<QString, Channels> names;

    for (const ZGridListRow* row : records.Rows) {
        if (row->CellCount() < 6)
            continue;
        const qintptr channel = row->Cells[2].Value;
        if (channel < 0 || channel >= Channels)
            continue;
        if (!seen[channel]) {
            seen[channel] = true;
            names[channel] = row->Cells[3].Text;
        }
        const int counter = CountCounterOf(row->Cells[4].Value);
        if (counter < 0)
            continue;
        const quint32 seconds = static_cast<quint32>(row->Cells[5].Value);
        Block& block = blocks[channel];
        block[counter] += 1;
        if (counter != Missed)
            block[counter + 1] += seconds;
        block[TotalCount] += 1;
        block[TotalTime] += seconds;
    }

    auto* table = new ZGridListData(StatisticsColumnCount);
    Block total{};
    for (int channel = 0; channel < Channels; ++channel) {
        if (!seen[channel])
            continue;
        ZGridListRow* row = table->CreateRow();
        row->Cells[0] = QString::number(channel + 1);
        row->Cells[1] = names[channel];
        FillCounters(row, blocks[channel]);
        table->AddRow(row);
        for (int counter = 0; counter < CounterCount; ++counter)
            total[counter] += blocks[channel][counter];
    }
    ZGridListRow* row = table->CreateRow();
    row->Cells[0] = totalLabel;
    row->Cells[1] = QString();
    FillCounters(row, total);
    table->AddRow(row);
    return table;
}
