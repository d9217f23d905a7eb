#pragma once

// What the sections of the settings page share around a device call besides MainForm's own helpers
// (SettingDevice, OnlineSettingDevice, RunSectionCall): the online test for a given device, the permission
// check before a write, and enabling a group of widgets.

#include <initializer_list>

class KesDevice;
class QWidget;

// Device and online (connect status 2).
bool SectionDeviceOnline(KesDevice* device);

// "Permission denied" when the logged-in user may not change settings; true when allowed.
bool MayChangeSettings(KesDevice* device, QWidget* parent);

// Sets the enabled state of each widget.
void SetWidgetsEnabled(std::initializer_list<QWidget*> widgets, bool enabled);
