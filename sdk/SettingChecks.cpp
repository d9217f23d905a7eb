#include "SettingChecks.h"

#include <cstdint>

namespace calvox {
namespace {

void AtMost(uint8_t& value, uint8_t limit)
{
    if (value > limit)
        value = limit;
}

}  // namespace

bool CheckBaseSetting(Calvox_BaseSetting& record)
{
    const uint8_t outsideLine = record.Bytes[4];
    if (!(outsideLine == 0 || outsideLine == '#' || outsideLine == '*' || (outsideLine >= '0' && outsideLine <= '9')))
        return false;
    AtMost(record.Bytes[2], 25);
    AtMost(record.Bytes[7], 30);
    AtMost(record.Bytes[10], 10);
    AtMost(record.Bytes[11], 10);
    return true;
}

void LimitChannelSetting(Calvox_ChannelSetting& record)
{
    uint8_t& rings = record.Bytes[902];
    if (rings == 0)
        rings = 1;
    AtMost(rings, 10);
    AtMost(record.Bytes[903], 200);
}

bool CheckKeyControlSetting(const Calvox_KeyControlSetting& record)
{
    for (int entry = 0; entry < 10; ++entry)
        if (record.Bytes[40 * entry + 1] > 10)
            return false;
    return record.Bytes[400] <= 10;
}

void LimitScheduledRestartSetting(Calvox_ScheduledRestartSetting& record)
{
    if (record.Bytes[1] > 23)
        record.Bytes[1] = 0;
    if (record.Bytes[2] >= 60)
        record.Bytes[2] = 0;
}

}  // namespace calvox
