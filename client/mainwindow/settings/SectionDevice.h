#pragma once

// What every section of the settings page does around a device call: find the settings device, tell whether it
// is online, run the call under the wait panel, and report the outcome.

#include <functional>
#include <initializer_list>

class KesDevice;
class QWidget;

// The settings device: the device at the index the settings page's device bar selects, null when the index is
// outside the device list. Looked up afresh by every operation.
KesDevice* SettingSectionDevice();
// While the page has no device bar, the index it would select (tests set it); -1 selects none.
extern int g_SettingSectionDeviceIndex;

// Device and online (connect status 2).
bool SectionDeviceOnline(KesDevice* device);

// Runs `call` on the wait panel's thread while the GUI thread waits in the panel's loop; the call's result, or
// -1 when the panel was busy with another task and ran nothing.
int RunSectionCall(const std::function<int()>& call);

// A read of the recorder under the wait panel: true on success; else "Connection timeouts" over parent.
bool RunSectionRead(const std::function<int()>& call, QWidget* parent);

// The outcome of a write: "Operation completely" for 0, else "Connection timeouts".
void ShowWriteResult(int result, QWidget* parent);
// "Permission denied" when the logged-in user may not change settings; true when allowed.
bool MayChangeSettings(KesDevice* device, QWidget* parent);

// Sets the enabled state of each widget.
void SetWidgetsEnabled(std::initializer_list<QWidget*> widgets, bool enabled);
