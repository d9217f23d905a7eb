#include "RecordMenuRules.h"

RecordMenuItems RecordMenuEnabled(const RecordMenuState& state)
{
    RecordMenuItems items;
    const bool actionable = state.Target == 1 || (state.Target == 0 && state.DeviceOnline);
    if (!actionable)
        return items;
    items.Play = state.RowSelected && state.SelectedTalkTime != QLatin1String("--/--");
    items.Dial = state.RowSelected;
    items.EditKeyword = state.RowSelected;
    items.AddToContacts = state.RowSelected;
    items.Download = state.AnyChecked && state.Target == 0;
    items.Delete = state.AnyChecked;
    items.ExportExcel = state.AnyChecked;
    return items;
}
