// The settings page: frame, bookmarks, the device clock and the per-day rows.
#include "MainForm.h"

void MainForm::InitSettingTables() {}

void MainForm::RefreshDeviceTime(bool fill)
{
    Q_UNUSED(fill);
}

void MainForm::SettingPageSelectedDeviceChangedEvent(int DeviceIndex)
{
    Q_UNUSED(DeviceIndex);
}

void MainForm::BookmarkClickEvent() {}
