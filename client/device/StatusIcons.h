#pragma once

class QImage;

// The images grid cells point at for a channel: entries 0-9 the line-state icons, indexed by Calvox_PhoneState
// (0 Lost .. 6 AutoReply) and three further states (7 SoundCtrlEnable, 8 SoundCtrlDisable, 9 NotSupport),
// loaded by DeviceManage; 10 Monitoring and 11 PlayBack, loaded and replaced by the main window. Cells only
// point at them: the loaders own them. Null until loaded.
constexpr int kStatusIconCount = 12;
constexpr int kLineStateIconCount = 10;
constexpr int kMonitoringIcon = 10;
constexpr int kPlayBackIcon = 11;
extern QImage* g_StatusIcons[kStatusIconCount];
