#include "SectionDevice.h"

#include "DeviceManage.h"
#include "DeviceTabBar.h"
#include "DialogFrame.h"
#include "KesDevice.h"
#include "LanguageTexts.h"
#include "MainFormGlobals.h"
#include "WaitForm.h"
#include "WaitThread.h"

#include <QWidget>

int g_SettingSectionDeviceIndex = -1;

KesDevice* SettingSectionDevice()
{
    return DeviceManage::GetDevice(g_SettingDeviceTabBar != nullptr ? g_SettingDeviceTabBar->SelectedDeviceIndex
                                                                    : g_SettingSectionDeviceIndex);
}

bool SectionDeviceOnline(KesDevice* device)
{
    return device != nullptr && CalvoxAPI_ConnectStatus(device->Handle) == 2;
}

int RunSectionCall(const std::function<int()>& call)
{
    int result = -1;
    g_WaitForm->Thread->Task = [&result, &call]() { result = call(); };
    if (!g_WaitForm->Run()) {
        // Another run was in progress: ours never ran and must not run later with dangling references.
        g_WaitForm->Thread->Task = nullptr;
        return -1;
    }
    return result;
}

bool RunSectionRead(const std::function<int()>& call, QWidget* parent)
{
    if (RunSectionCall(call) == 0)
        return true;
    ShowResultTip(false, TextDevice005, parent);
    return false;
}

void ShowWriteResult(int result, QWidget* parent)
{
    ShowResultTip(result == 0, result == 0 ? TextTips001 : TextDevice005, parent);
}

bool MayChangeSettings(KesDevice* device, QWidget* parent)
{
    if (CalvoxAPI_Permission_ChangeSetting(device->Handle) != 0)
        return true;
    ShowResultTip(false, TextTips012, parent);
    return false;
}

void SetWidgetsEnabled(std::initializer_list<QWidget*> widgets, bool enabled)
{
    for (QWidget* widget : widgets)
        widget->setEnabled(enabled);
}
