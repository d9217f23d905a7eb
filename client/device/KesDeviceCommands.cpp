// The plain wrappers: each passes Handle first, converts its strings and returns the SDK's result unchanged.
#include "KesDevice.h"

#include <QFile>

int KesDevice::Logout()
{
    return CalvoxAPI_Logout(Handle);
}

int KesDevice::GetNetStatus()
{
    return CalvoxAPI_GetNetStatus(Handle);
}

int KesDevice::GetStorageStatus()
{
    return CalvoxAPI_GetStorageStatus(Handle);
}

int KesDevice::GetChannelVoltage(int channel, int* voltage)
{
    return CalvoxAPI_GetChannelVoltage(Handle, channel, voltage);
}

int KesDevice::GetCurrentRecordInfo(int channel, Calvox_CurrentRecordInfo* info)
{
    return CalvoxAPI_GetCurrentRecordInfo(Handle, channel, info);
}

int KesDevice::GetPlayBackFileList()
{
    return CalvoxAPI_GetPlayBackFileList(Handle);
}

int KesDevice::RemoveFile(const QString& devicePath)
{
    return CalvoxAPI_RemoveFile(Handle, devicePath.toLatin1().constData());
}

int KesDevice::GetBaseSetting()
{
    return CalvoxAPI_GetBaseSetting(Handle);
}

int KesDevice::SetBaseSetting(Calvox_BaseSetting* setting)
{
    return CalvoxAPI_SetBaseSetting(Handle, setting);
}

int KesDevice::GetKeyControlSetting()
{
    return CalvoxAPI_GetKeyControlSetting(Handle);
}

int KesDevice::SetKeyControlSetting(Calvox_KeyControlSetting* setting)
{
    return CalvoxAPI_SetKeyControlSetting(Handle, setting);
}

int KesDevice::GetNetSetting()
{
    return CalvoxAPI_GetNetSetting(Handle);
}

int KesDevice::SetNetSetting(Calvox_NetSetting* setting)
{
    return CalvoxAPI_SetNetSetting(Handle, setting);
}

int KesDevice::GetSMDRSetting()
{
    return CalvoxAPI_GetSMDRSetting(Handle);
}

int KesDevice::SetSMDRSetting(Calvox_SMDRSetting* setting)
{
    return CalvoxAPI_SetSMDRSetting(Handle, setting);
}

int KesDevice::GetRecordTimeSetting()
{
    return CalvoxAPI_GetRecordTimeSetting(Handle);
}

int KesDevice::SetRecordTimeSetting(Calvox_RecordTimeSetting* setting)
{
    return CalvoxAPI_SetRecordTimeSetting(Handle, setting);
}

int KesDevice::GetScheduledRestartSetting()
{
    return CalvoxAPI_GetScheduledRestartSetting(Handle);
}

int KesDevice::SetScheduledRestartSetting(Calvox_ScheduledRestartSetting* setting)
{
    return CalvoxAPI_SetScheduledRestartSetting(Handle, setting);
}

int KesDevice::AddUser(const Calvox_UserInfo* user, const QString& password)
{
    return CalvoxAPI_AddUser(Handle, user, password.toLatin1().constData());
}

int KesDevice::EditUser(const Calvox_UserInfo* user, const QString& password)
{
    if (password.isEmpty())
        return CalvoxAPI_EditUser(Handle, user, nullptr);
    return CalvoxAPI_EditUser(Handle, user, password.toLatin1().constData());
}

int KesDevice::DeleteUser(const Calvox_UserInfo* user)
{
    return CalvoxAPI_DeleteUser(Handle, user);
}

int KesDevice::GetLatestRecordTime(unsigned char* year, unsigned char* month, unsigned char* day)
{
    return CalvoxAPI_GetLatestRecordTime(Handle, year, month, day);
}

int KesDevice::GetDayListFromMonthDir(unsigned char year, unsigned char month, unsigned char* days)
{
    return CalvoxAPI_GetDayListFromMonthDir(Handle, year, month, days);
}

int KesDevice::EditRecordNotes(quint16 index, unsigned char year, unsigned char month, unsigned char day,
                               unsigned char channel, const QString& notes)
{
    return CalvoxAPI_EditRecordNotes(Handle, index, year, month, day, channel, notes.toUtf8().constData());
}

int KesDevice::DeleteRecord(const Calvox_RecordKey* key)
{
    return CalvoxAPI_DeleteRecord(Handle, key);
}

int KesDevice::StartMonitor(unsigned char channel)
{
    return CalvoxAPI_StartMonitor(Handle, channel);
}

int KesDevice::Dial(unsigned char channel, const QString& number)
{
    const QByteArray digits = number.toLatin1();
    // The length travels as one byte: a longer number would dial only its wrapped-around head.
    if (digits.size() > 255)
        return Calvox_Result_InvalidArgument;
    return CalvoxAPI_Dial(Handle, channel, digits.constData(), static_cast<unsigned char>(digits.size()));
}

int KesDevice::Reboot()
{
    return CalvoxAPI_Reboot(Handle);
}

int KesDevice::PlayAudioFile(int channel, const QString& fileName)
{
    return CalvoxAPI_PlayAudioFile(Handle, channel, fileName.toLatin1().constData());
}

int KesDevice::CheckFirmware(const QString& localPath)
{
    return CalvoxAPI_CheckFirmware(Handle, QFile::encodeName(localPath).constData());
}

QString KesDevice::GetSMDR()
{
    unsigned length = 0;
    const char* text = nullptr;
    if (CalvoxAPI_GetSMDR(Handle, &length, &text) != 0 || text == nullptr)
        return QString();
    return QString::fromUtf8(text, static_cast<int>(length));
}
