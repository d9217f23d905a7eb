// Records and files on the recorder: remove a file (30), the newest and oldest recorded day (31, 32), the days
// of a month that hold records (33), a record's notes (34) and deleting a record (35, then the wait command 2
// while the recorder finishes).
#include "CalvoxSDK.h"
#include "Datagram.h"
#include "Device.h"
#include "HandleTable.h"
#include "ReplyMatcher.h"
#include "Request.h"

#include <cstring>
#include <mutex>

namespace calvox {
namespace {

constexpr uint8_t kCmdWait = 2;
constexpr uint8_t kCmdRemoveFile = 30;
constexpr uint8_t kCmdLatestRecordTime = 31;
constexpr uint8_t kCmdEarliestRecordTime = 32;
constexpr uint8_t kCmdDayList = 33;
constexpr uint8_t kCmdEditNotes = 34;
constexpr uint8_t kCmdDeleteRecord = 35;

constexpr int kMaxNotes = 64;
constexpr int kWaitTimeoutMs = 5000;
constexpr uint8_t kStatusDeleteBusy = 1;  // the recorder deletes in the background: wait for it

int Run(Calvox_Device& device, uint8_t* buffer, int payloadLength, int minReplyPayload = 0)
{
    std::lock_guard<std::mutex> lock(device.commandMutex);
    return RunCommand(device, buffer, payloadLength, minReplyPayload);
}

int RecordTime(Calvox_DeviceHandle handle, uint8_t command, uint8_t* year, uint8_t* month, uint8_t* day)
{
    auto device = FindDevice(handle);
    if (!device || !year || !month || !day)
        return Calvox_Result_InvalidArgument;
    uint8_t buffer[kDatagramSize] = {};
    buffer[kOffCommand] = command;
    const int status = Run(*device, buffer, 0, 3);
    if (status == 0) {
        *year = buffer[kHeaderSize];
        *month = buffer[kHeaderSize + 1];
        *day = buffer[kHeaderSize + 2];
    }
    return status;
}

}  // namespace
}  // namespace calvox

using namespace calvox;

CALVOX_API Calvox_Result CalvoxAPI_RemoveFile(Calvox_DeviceHandle handle, const char* path)
{
    auto device = FindDevice(handle);
    if (!device || !path)
        return Calvox_Result_InvalidArgument;
    const size_t length = strnlen(path, kMaxPayload);
    if (length + 1 > static_cast<size_t>(kMaxPayload))
        return Calvox_Result_InvalidArgument;  // with its terminator the path must fit one datagram
    uint8_t buffer[kDatagramSize] = {};
    buffer[kOffCommand] = kCmdRemoveFile;
    std::memcpy(buffer + kHeaderSize, path, length + 1);
    return Run(*device, buffer, static_cast<int>(length) + 1);
}

CALVOX_API Calvox_Result CalvoxAPI_GetLatestRecordTime(Calvox_DeviceHandle handle, uint8_t* year, uint8_t* month,
                                                       uint8_t* day)
{
    return RecordTime(handle, kCmdLatestRecordTime, year, month, day);
}

CALVOX_API Calvox_Result CalvoxAPI_GetEarliestRecordTime(Calvox_DeviceHandle handle, uint8_t* year,
                                                         uint8_t* month, uint8_t* day)
{
    return RecordTime(handle, kCmdEarliestRecordTime, year, month, day);
}

CALVOX_API Calvox_Result CalvoxAPI_GetDayListFromMonthDir(Calvox_DeviceHandle handle, int year, int month,
                                                          uint8_t days[32])
{
    if (!days)
        return Calvox_Result_InvalidArgument;
    std::memset(days, 0, 32);
    auto device = FindDevice(handle);
    if (!device)
        return Calvox_Result_InvalidArgument;
    uint8_t buffer[kDatagramSize] = {};
    buffer[kOffCommand] = kCmdDayList;
    buffer[kHeaderSize] = static_cast<uint8_t>(year);
    buffer[kHeaderSize + 1] = static_cast<uint8_t>(month);
    const int status = Run(*device, buffer, 2, 32);
    if (status == 0)
        std::memcpy(days, buffer + kHeaderSize, 32);
    return status;
}

CALVOX_API Calvox_Result CalvoxAPI_EditRecordNotes(Calvox_DeviceHandle handle, int recordIndex, uint8_t year,
                                                   int month, uint8_t day, uint8_t channel, const char* notes)
{
    auto device = FindDevice(handle);
    if (!device || !notes)
        return Calvox_Result_InvalidArgument;
    // The index travels as 16 bits: a larger one would write the notes of another record.
    if (recordIndex < 0 || recordIndex > 0xFFFF)
        return Calvox_Result_InvalidArgument;
    const size_t length = strnlen(notes, kMaxNotes + 1);
    if (length > kMaxNotes)
        return Calvox_Result_InvalidArgument;
    uint8_t buffer[kDatagramSize] = {};
    buffer[kOffCommand] = kCmdEditNotes;
    uint8_t* p = buffer + kHeaderSize;
    PutU16(p, static_cast<uint16_t>(recordIndex));
    p[2] = year;
    p[3] = static_cast<uint8_t>(month);
    p[4] = day;
    p[5] = channel;
    std::memcpy(p + 6, notes, length);  // zero-padded to 64 bytes
    return Run(*device, buffer, 6 + kMaxNotes);
}

CALVOX_API Calvox_Result CalvoxAPI_DeleteRecord(Calvox_DeviceHandle handle, const Calvox_RecordKey* key)
{
    auto device = FindDevice(handle);
    if (!device || !key)
        return Calvox_Result_InvalidArgument;
    std::lock_guard<std::mutex> lock(device->commandMutex);
    // A fresh sequence byte per delete: the recorder tells a retried request from a new delete by it.
    device->deleteSequence = NextSequence(device->deleteSequence);
    uint8_t buffer[kDatagramSize] = {};
    buffer[kOffCommand] = kCmdDeleteRecord;
    buffer[kHeaderSize] = device->deleteSequence;
    std::memcpy(buffer + kHeaderSize + 4, key, sizeof *key);
    const int status = RunCommand(*device, buffer, 4 + static_cast<int>(sizeof *key));
    if (status != kStatusDeleteBusy)
        return status;

    ReplyMatcher& general = *device->general;
    const int timeout = general.Timeout();
    general.SetTimeout(kWaitTimeoutMs);
    std::memset(buffer, 0, kHeaderSize);
    buffer[kOffCommand] = kCmdWait;
    RunCommand(*device, buffer, 0);  // whatever the wait brings, the delete was accepted
    general.SetTimeout(timeout);
    return Calvox_Result_Ok;
}
