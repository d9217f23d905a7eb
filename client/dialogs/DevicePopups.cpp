#include "DevicePopups.h"

#include "CallQueue.h"
#include "DeviceManage.h"
#include "KesDevice.h"
#include "LanguageTexts.h"
#include "RecordPopupForm.h"
#include "RecordTexts.h"
#include "SoftwareSetting.h"
#include "StatusPopupForm.h"
#include "StatusRecordCopy.h"
#include "WarningPopupForm.h"
#include "ZGridListData.h"
#include "contacts/Contacts.h"

#include <memory>

namespace {

// The phone book's entry for a number: name, company and notes (cells 1, 3 and 8 of its row).
struct ContactTexts {
    bool Found = false;
    QString Name;
    QString Company;
    QString Notes;
};

ContactTexts LookUp(const QString& number, char prefix)
{
    ContactTexts contact;
    if (number.isEmpty())
        return contact;
    if (const ZGridListRow* row = FindContact(number, prefix)) {
        contact.Found = true;
        contact.Name = row->Cells[1].Text;
        contact.Company = row->Cells[3].Text;
        contact.Notes = row->Cells[8].Text;
    }
    return contact;
}

// The outside-line key of the device's base settings (byte 4), 0 when none is known.
char OutsideLinePrefix(KesDevice* device)
{
    const Calvox_BaseSetting* base = CalvoxAPI_BaseSetting(device->Handle);
    if (base == nullptr)
        return 0;
    return static_cast<char>(reinterpret_cast<const signed char*>(base)[4]);
}

bool ValidChannel(KesDevice* device, int channel)
{
    return channel >= 0 && channel < device->Channels && channel < 64;
}

}  // namespace

DevicePopups::DevicePopups(QObject* parent) : QObject(parent), m_Answers(new CallQueue(this)) {}

DevicePopups::~DevicePopups()
{
    m_Workers.WaitForDone();
}

void DevicePopups::WaitForRecordRequests()
{
    m_Workers.WaitForDone();
}

void DevicePopups::DeviceEventDispose(KesDevice* device, Calvox_EventType type, int channel, int)
{
    if (device == nullptr)
        return;
    switch (type) {
    case 5:  // StorageStatus
        StorageEvent(device);
        break;
    case 8:  // ChannelStatus
        if (ValidChannel(device, channel))
            ChannelEvent(device, channel);
        break;
    case 12:  // RecordFinished
        if (ValidChannel(device, channel))
            RecordFinished(device, channel);
        break;
    default:
        break;
    }
}

void DevicePopups::StorageEvent(KesDevice* device)
{
    if (!g_SoftwareSetting.WarningPopup)
        return;
    const Calvox_StorageStatus* storage = CalvoxAPI_StorageStatus(device->Handle);
    if (storage == nullptr || CopyStatusRecord(*storage).State != 0)
        return;
    auto* popup = new WarningPopupForm;
    popup->Message = TextTips020;
    popup->Popup(1, g_SoftwareSetting.WarningPopupTime);
}

void DevicePopups::ChannelEvent(KesDevice* device, int channel)
{
    const Calvox_ChannelStatus* live = CalvoxAPI_ChannelStatus(device->Handle, channel);
    if (live == nullptr)
        return;
    // The heartbeat thread rewrites the record: take one copy and decide on it.
    const Calvox_ChannelStatus status = CopyStatusRecord(*live);

    const QString line = device->ID + QLatin1Char('/') + QString::number(channel);
    if (status.LineState != 0)
        m_LostAlerted.remove(line);
    if (g_SoftwareSetting.WarningPopup && !m_LostAlerted.contains(line)) {
        const Calvox_ChannelSetting* setting = CalvoxAPI_ChannelSetting(device->Handle, channel);
        if (setting != nullptr && reinterpret_cast<const unsigned char*>(setting)[896] != 0 && status.LineState == 0 &&
            CalvoxAPI_LastPhoneStatus(device->Handle, channel) != 0) {
            m_LostAlerted.insert(line);
            auto* popup = new WarningPopupForm;
            // Channels are counted from 1, as the grids show them.
            popup->Message = QStringLiteral("Channel %1 Lost").arg(channel + 1);
            popup->Popup(1, g_SoftwareSetting.WarningPopupTime);
            return;
        }
    }

    if (!g_SoftwareSetting.StatusPopup || status.PhoneNumberLength == 0)
        return;
    char prefix = 0;
    if (status.LineState == 3 && status.RingCount == 2 && g_SoftwareSetting.StatusPopupComingCall)
        prefix = 0;
    else if (status.LineState == 5 && g_SoftwareSetting.StatusPopupOutgoingCall)
        prefix = OutsideLinePrefix(device);
    else
        return;

    const QString number = PhoneNumberToString(reinterpret_cast<const unsigned char*>(status.PhoneNumber),
                                               status.PhoneNumberLength, static_cast<int>(sizeof status.PhoneNumber));
    const ContactTexts contact = LookUp(number, prefix);
    if (!contact.Found && !g_SoftwareSetting.StatusPopupStrangeNumber)
        return;

    auto* popup = new StatusPopupForm;
    popup->PhoneNum = number;
    popup->Name = contact.Name;
    popup->Company = contact.Company;
    popup->Notes = contact.Notes;
    connect(
        popup, &StatusPopupForm::EditButtonClicked, this, [this, number]() { emit AddContactRequested(number); },
        Qt::QueuedConnection);
    popup->Popup(g_SoftwareSetting.StatusPopupLocation, g_SoftwareSetting.StatusPopupTime, status.LineState == 5);
}

void DevicePopups::RecordFinished(KesDevice* device, int channel)
{
    if (!g_SoftwareSetting.NotesPopup)
        return;
    // The hold keeps the device alive while the worker asks the recorder, even when it is removed meanwhile.
    auto hold = std::make_shared<DeviceHold>(DeviceManage::HoldDevice(DeviceManage::IndexOfDevice(device)));
    if (!*hold)
        return;
    m_Workers.Start([this, hold, channel]() {
        Calvox_CurrentRecordInfo info = {};
        const int result = hold->Device()->GetCurrentRecordInfo(channel, &info);
        if (result != 0)
            return;
        m_Answers->Post([this, hold, channel, info]() {
            KesDevice* device = hold->Device();
            if (DeviceManage::IndexOfDevice(device) >= 0)
                RaiseRecordPopup(device, channel, info);
        });
    });
}

void DevicePopups::RaiseRecordPopup(KesDevice* device, int channel, const Calvox_CurrentRecordInfo& info)
{
    QString number;
    ContactTexts contact;
    if (info.PhoneNumberLength != 0) {
        number = PhoneNumberToString(reinterpret_cast<const unsigned char*>(info.PhoneNumber), info.PhoneNumberLength,
                                     static_cast<int>(sizeof info.PhoneNumber));
        contact = LookUp(number, info.RecordType == 1 ? OutsideLinePrefix(device) : 0);
    }
    auto* popup = new RecordPopupForm;
    popup->Device = device;
    popup->Channel = channel;
    popup->RecordInfo = info;
    popup->PhoneNum = number;
    popup->Name = contact.Name;
    popup->Company = contact.Company;
    popup->Popup(g_SoftwareSetting.NotesPopupLocation, g_SoftwareSetting.NotesPopupTime);
}
