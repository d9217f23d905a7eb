#include "SectionDevice.h"

#include "DialogFrame.h"
#include "KesDevice.h"
#include "LanguageTexts.h"
#include "MainForm.h"

#include <QWidget>

bool SectionDeviceOnline(KesDevice* device)
{
    return device != nullptr && CalvoxAPI_ConnectStatus(device->Handle) == 2;
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

bool MainForm::RunSectionCall(KesDevice* device, const std::function<int()>& call, DeviceHold* hold)
{
    // The device may have left the list while a picker or a message was open.
    *hold = HoldDevice(device);
    int result = -1;
    if (!*hold || !RunWaitTask(call, &result))
        return false;
    if (result != 0)
        ShowResultTip(false, TextDevice005, this);
    return result == 0;
}

bool MainForm::RunSectionWrite(KesDevice* device, const std::function<int()>& call)
{
    DeviceHold hold;
    if (!RunSectionCall(device, call, &hold))
        return false;
    ShowResultTip(true, TextTips001, this);
    return true;
}
