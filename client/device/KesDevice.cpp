#include "KesDevice.h"

#include "KesDeviceAutoLoginThread.h"
#include "ProgramFolder.h"
#include "ZGridListData.h"

#include <QDateTime>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>

QMap<QString, QString> g_ModelNames;
std::atomic<ZGridListData*> KesDevice::SharedMonitorTable{nullptr};

namespace {

constexpr int kMonitorColumns = 11;
constexpr int kRecordColumns = 12;
constexpr int kUserListColumns = 6;
constexpr int kOnlineUserColumns = 5;

// DeviceEventSignal crosses to the GUI thread queued: its argument types must be known to the meta-type system.
void RegisterEventTypes()
{
    static const bool registered = [] {
        qRegisterMetaType<Calvox_EventType>();
        qRegisterMetaType<unsigned char*>();
        return true;
    }();
    Q_UNUSED(registered);
}

// Time bytes 0-4 and 6 from the PC's local time; byte 5 (second) is left as it was.
void StampTime(std::array<unsigned char, 7>& time, const QDateTime& now)
{
    const QDate date = now.date();
    const QTime clock = now.time();
    time[0] = static_cast<unsigned char>(date.year() - 2000);
    time[1] = static_cast<unsigned char>(date.month());
    time[2] = static_cast<unsigned char>(date.day());
    time[3] = static_cast<unsigned char>(clock.hour());
    time[4] = static_cast<unsigned char>(clock.minute());
    time[6] = static_cast<unsigned char>(date.dayOfWeek());
}

}  // namespace

KesDevice* KesDevice::Create(const QString& name, const QString& id)
{
    const QByteArray idBytes = id.toLatin1();
    const Calvox_DeviceHandle handle = CalvoxAPI_CreateDevice(idBytes.constData());
    if (handle == 0)
        return nullptr;
    RegisterEventTypes();

    KesDevice* device = new KesDevice();
    device->Handle = handle;
    device->ID = id;
    device->Model = QString::fromUtf8(CalvoxAPI_DeviceModel(handle));
    device->ModelName = ModelDisplayName(device->Model);
    device->Channels = qBound(0, CalvoxAPI_DeviceChannels(handle), 64);
    device->Name = name;

    device->MonitorData = new ZGridListData(kMonitorColumns);
    for (int i = 1; i <= device->Channels; ++i) {
        ZGridListRow* row = device->MonitorData->CreateRow();
        row->Cells[0] = name;
        row->Cells[1] = i;
        row->Visible = false;
        row->UserData = device;
        device->MonitorData->AddRow(row);
        device->ChannelFlags[i - 1] = true;
    }
    device->RecordData = new ZGridListData(kRecordColumns);
    device->UserListData = new ZGridListData(kUserListColumns);
    device->OnlineUserData = new ZGridListData(kOnlineUserColumns);
    device->RecordData->RowsVisible = false;
    device->UserListData->RowsVisible = false;
    device->OnlineUserData->RowsVisible = false;

    device->AutoLoginThread = new KesDeviceAutoLoginThread();
    device->AutoLoginThread->Device = device;
    return device;
}

KesDevice::~KesDevice()
{
    // From here on the heartbeat callback returns at once.
    Closing = true;
    // A running login sequence is not interrupted: every call in it ends by reply or by the SDK's time-out.
    AutoLoginThread->WaitForEnd();
    // Stops and joins the heartbeat thread, so no callback runs past this line and the tables can go.
    CalvoxAPI_DeleteDevice(Handle);
    delete AutoLoginThread;
    delete MonitorData;
    delete RecordData;
    delete UserListData;
    delete OnlineUserData;
}

void KesDevice::LoadModelNames()
{
    QFile file(ProgramFolder() + QStringLiteral("/Model"));
    if (!file.open(QIODevice::ReadOnly))
        return;
    const QByteArray content = file.readAll();
    file.close();
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(content, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return;
    const QJsonObject names = document.object();
    for (auto it = names.constBegin(); it != names.constEnd(); ++it)
        g_ModelNames[it.key()] = it.value().toString();
}

QString KesDevice::ModelDisplayName(const QString& model)
{
    return g_ModelNames.value(model, model);
}

void KesDevice::SetName(const QString& name)
{
    Name = name;
}

void KesDevice::SetNetAddr(const QString& address, int port)
{
    IPaddress = address;
    Port = QString::number(port);
    CalvoxAPI_SetNetAddr(Handle, address.toLatin1().constData(), static_cast<unsigned short>(port));
}

int KesDevice::Login()
{
    const QByteArray user = UserName.toLatin1();
    const QByteArray password = Password.toLatin1();
    CalvoxAPI_SetUserPassword(Handle, user.constData(), user.size(), password.constData());
    return CalvoxAPI_Login(Handle, RemoteLogin ? 1 : 0);
}

int KesDevice::GetTime()
{
    const QDateTime now = QDateTime::currentDateTime();
    Time.Update([&now](std::array<unsigned char, 7>& time) { StampTime(time, now); });
    return CalvoxAPI_GetTime(Handle);
}

int KesDevice::SetTime()
{
    const QDateTime now = QDateTime::currentDateTime();
    std::array<unsigned char, 7> stamped;
    Time.Update([&](std::array<unsigned char, 7>& time) {
        StampTime(time, now);
        stamped = time;
    });
    Calvox_DateTime record;
    record.Year = stamped[0];
    record.Month = stamped[1];
    record.Day = stamped[2];
    record.Hour = stamped[3];
    record.Minute = stamped[4];
    record.Second = static_cast<uint8_t>(now.time().second());
    record.DayOfWeek = stamped[6];
    return CalvoxAPI_SetTime(Handle, &record);
}

int KesDevice::GetChannelSetting(int channel)
{
    const int r = CalvoxAPI_GetChannelSetting(Handle, channel);
    if (r == 0)
        UpdateChannelRow(channel, CalvoxAPI_ChannelSetting(Handle, channel));
    return r;
}

int KesDevice::SetChannelSetting(int channel, Calvox_ChannelSetting* setting)
{
    const int r = CalvoxAPI_SetChannelSetting(Handle, channel, setting);
    if (r == 0)
        UpdateChannelRow(channel, setting);
    return r;
}

int KesDevice::GetUserList()
{
    const int r = CalvoxAPI_GetUserList(Handle);
    if (r == 0)
        UpdateUserTable();
    return r;
}
