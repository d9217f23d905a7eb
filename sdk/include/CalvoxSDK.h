/* CalvoxSDK: the recorders' UDP protocol behind plain exported functions.
 *
 * Plain C can include this header; the std::function callback type and the exports that take it are C++ only
 * (C programs use the CalvoxAPI_C_ variants with plain function pointers).
 *
 * Every record below is a fixed firmware layout copied whole to and from the recorder; each size is checked at
 * compile time. Pointers returned by the accessors point into the connection object: they stay valid until
 * CalvoxAPI_DeleteDevice and are overwritten by the next read of the same record. That holds for the entries
 * of the online-user and user lists too: a refresh rewrites them in place, then sets the count.
 *
 * The header is organised by subject: first the types and records (basic types, events and callbacks, status
 * records, settings records, users, files and records, search), then the exports (library, identity and
 * accessors, search/connection/heartbeat, status and settings commands, users, files/records/line control,
 * transfer, monitor and player, update). Each subject's declarations go in its own section.
 */
#ifndef CALVOX_SDK_H
#define CALVOX_SDK_H

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
#include <functional>
#define CALVOX_EXTERN_C extern "C"
#define CALVOX_STATIC_ASSERT(cond, msg) static_assert(cond, msg)
#else
#define CALVOX_EXTERN_C
#define CALVOX_STATIC_ASSERT(cond, msg) _Static_assert(cond, msg)
#endif

#if defined(CALVOX_SDK_BUILDING)
#define CALVOX_API CALVOX_EXTERN_C __attribute__((visibility("default")))
#else
#define CALVOX_API CALVOX_EXTERN_C
#endif

/* ===================================================================================================== */
/* Basic types                                                                                            */
/* ===================================================================================================== */

/* One recorder's connection object. Handles count from 1 and are never reused within a process, so a stale
 * handle can never reach another connection; 0 means none. */
typedef int Calvox_DeviceHandle;

/* 0 ok, 2 refused or cancelled, 3 no reply, 4 invalid argument, 20 file error, 21 empty file, 22 read error,
 * 40 firmware not newer, 41 firmware needs a newer SDK, 101 wrong user name or password; any other value is the
 * recorder's own status byte. */
typedef int Calvox_Result;
enum {
    Calvox_Result_Ok = 0,
    Calvox_Result_Refused = 2,
    Calvox_Result_NoReply = 3,
    Calvox_Result_InvalidArgument = 4,
    Calvox_Result_FileError = 20,
    Calvox_Result_EmptyFile = 21,
    Calvox_Result_ReadError = 22,
    Calvox_Result_FirmwareNotNewer = 40,
    Calvox_Result_FirmwareNeedsNewerSdk = 41,
    Calvox_Result_WrongUserOrPassword = 101
};

/* Line state of a channel. */
typedef enum Calvox_PhoneState {
    Calvox_Phone_Lost = 0,
    Calvox_Phone_OnHook = 1,
    Calvox_Phone_OffHook = 2,
    Calvox_Phone_Ring = 3,
    Calvox_Phone_InComing = 4,
    Calvox_Phone_OutComing = 5,
    Calvox_Phone_AutoReply = 6,
    Calvox_Phone_None = 255
} Calvox_PhoneState;

/* Connect status, read with CalvoxAPI_ConnectStatus after every ConnectStatus event. */
typedef enum Calvox_ConnectStatus {
    Calvox_Connect_Idle = 0,
    Calvox_Connect_Offline = 1,
    Calvox_Connect_Online = 2
} Calvox_ConnectStatus;

/* Permission word of the logged-in user. */
enum {
    Calvox_Permission_ManageUsers = 1u << 0,
    Calvox_Permission_ChangeSetting = 1u << 1,
    Calvox_Permission_Download = 1u << 2,
    Calvox_Permission_Delete = 1u << 3,
    Calvox_Permission_Monitor = 1u << 4
};
typedef uint32_t Calvox_Permission;

/* ===================================================================================================== */
/* Events and callbacks                                                                                   */
/* ===================================================================================================== */

typedef enum Calvox_EventType {
    Calvox_Event_Progress = 0,
    Calvox_Event_FoundDevice = 1,
    Calvox_Event_FileSize = 2,
    Calvox_Event_FileData = 3,
    Calvox_Event_ConnectStatus = 4,
    Calvox_Event_StorageStatus = 5,
    Calvox_Event_CloudServer = 6,
    Calvox_Event_OnlineUserList = 7,
    Calvox_Event_ChannelStatus = 8,
    Calvox_Event_TalkTime = 9,
    Calvox_Event_MonitorChannel = 10,
    Calvox_Event_PlaybackState = 11,
    Calvox_Event_RecordFinished = 12
} Calvox_EventType;

/* (event, handle, data, length) -> nonzero cancels a transfer. For channel events the channel number travels
 * in the data pointer: (int)(intptr_t)data. */
typedef int (*Calvox_C_EventCallback)(Calvox_EventType type, int handle, unsigned char* data, int length);

#ifdef __cplusplus
typedef std::function<int(Calvox_EventType, int, unsigned char*, int)> Calvox_EventCallback;
#else
/* Not usable from C: use the CalvoxAPI_C_ variants. Declared so the prototypes below still parse. */
typedef struct Calvox_EventCallback Calvox_EventCallback;
#endif

/* Every export that takes a callback needs a callable one: a null pointer, an empty Calvox_EventCallback or a
 * null function pointer (C variants) gives 4 before anything is sent or started. */

/* ===================================================================================================== */
/* Status records                                                                                         */
/* ===================================================================================================== */

typedef struct Calvox_StorageStatus {
    uint32_t State;      /* 0 = no storage */
    uint32_t Size1;      /* megabytes */
    uint32_t Size2;      /* megabytes */
} Calvox_StorageStatus;
CALVOX_STATIC_ASSERT(sizeof(Calvox_StorageStatus) == 12, "Calvox_StorageStatus layout");

typedef struct Calvox_NetStatus {
    uint32_t Address;    /* current IPv4 address, network order */
} Calvox_NetStatus;
CALVOX_STATIC_ASSERT(sizeof(Calvox_NetStatus) == 4, "Calvox_NetStatus layout");

typedef struct Calvox_ChannelStatus {
    uint8_t LineState;       /* Calvox_PhoneState */
    uint8_t RingCount;
    uint8_t PlaybackState;   /* nonzero while the channel plays audio */
    uint8_t PhoneNumberLength;
    char PhoneNumber[20];
} Calvox_ChannelStatus;
CALVOX_STATIC_ASSERT(sizeof(Calvox_ChannelStatus) == 24, "Calvox_ChannelStatus layout");

typedef struct Calvox_OnlineUser {
    uint8_t NameLength;
    char Name[19];
    uint32_t Address;        /* network order */
    uint8_t Mac[6];
    uint8_t LoginTime[6];    /* year - 2000, month, day, hour, minute, second */
    uint32_t ClientVersion;
} Calvox_OnlineUser;
CALVOX_STATIC_ASSERT(sizeof(Calvox_OnlineUser) == 40, "Calvox_OnlineUser layout");

typedef struct Calvox_OnlineUserList {
    int Count;
    Calvox_OnlineUser* Entries;  /* owned by the connection object */
} Calvox_OnlineUserList;

typedef struct Calvox_DateTime {
    uint8_t Year;        /* year - 2000 */
    uint8_t Month;
    uint8_t Day;
    uint8_t Hour;
    uint8_t Minute;
    uint8_t Second;
    uint8_t DayOfWeek;   /* 1 = Monday */
} Calvox_DateTime;
CALVOX_STATIC_ASSERT(sizeof(Calvox_DateTime) == 7, "Calvox_DateTime layout");

typedef struct Calvox_CurrentRecordInfo {
    uint8_t Year;        /* year - 2000 */
    uint8_t Month;
    uint8_t Day;
    uint8_t Reserved[3];
    uint16_t Index;      /* in that day's index file, little-endian */
    uint8_t RecordType;
    uint8_t PhoneNumberLength;
    char PhoneNumber[20];
} Calvox_CurrentRecordInfo;
CALVOX_STATIC_ASSERT(sizeof(Calvox_CurrentRecordInfo) == 30, "Calvox_CurrentRecordInfo layout");

typedef struct Calvox_PlayBackFileList {
    uint8_t Count;           /* at most 20 */
    char Names[20][28];      /* zero-terminated UTF-8 */
} Calvox_PlayBackFileList;
CALVOX_STATIC_ASSERT(sizeof(Calvox_PlayBackFileList) == 561, "Calvox_PlayBackFileList layout");

/* ===================================================================================================== */
/* Settings records (firmware layouts; unnamed bytes are kept and sent back unchanged)                    */
/* ===================================================================================================== */

typedef struct Calvox_BaseSetting { uint8_t Bytes[64]; } Calvox_BaseSetting;
CALVOX_STATIC_ASSERT(sizeof(Calvox_BaseSetting) == 64, "Calvox_BaseSetting layout");

typedef struct Calvox_ChannelSetting { uint8_t Bytes[980]; } Calvox_ChannelSetting;
CALVOX_STATIC_ASSERT(sizeof(Calvox_ChannelSetting) == 980, "Calvox_ChannelSetting layout");

typedef struct Calvox_KeyControlSetting { uint8_t Bytes[428]; } Calvox_KeyControlSetting;
CALVOX_STATIC_ASSERT(sizeof(Calvox_KeyControlSetting) == 428, "Calvox_KeyControlSetting layout");

typedef struct Calvox_NetSetting {
    uint32_t Address;    /* network order */
    uint32_t Mask;
    uint32_t Gateway;
    uint8_t Mac[6];
    uint16_t Port;
    uint8_t AddressMode; /* 0 DHCP, 1 static */
    uint8_t CloudEnabled;
    uint8_t Reserved[2];
} Calvox_NetSetting;
CALVOX_STATIC_ASSERT(sizeof(Calvox_NetSetting) == 24, "Calvox_NetSetting layout");

typedef struct Calvox_SMDRSetting { uint8_t Bytes[64]; } Calvox_SMDRSetting;
CALVOX_STATIC_ASSERT(sizeof(Calvox_SMDRSetting) == 64, "Calvox_SMDRSetting layout");

typedef struct Calvox_RecordTimeSetting { uint8_t Bytes[120]; } Calvox_RecordTimeSetting;
CALVOX_STATIC_ASSERT(sizeof(Calvox_RecordTimeSetting) == 120, "Calvox_RecordTimeSetting layout");

typedef struct Calvox_ScheduledRestartSetting { uint8_t Bytes[16]; } Calvox_ScheduledRestartSetting;
CALVOX_STATIC_ASSERT(sizeof(Calvox_ScheduledRestartSetting) == 16, "Calvox_ScheduledRestartSetting layout");

/* ===================================================================================================== */
/* Users                                                                                                  */
/* ===================================================================================================== */

typedef struct Calvox_UserInfo {
    uint8_t NameLength;
    char Name[19];
    uint8_t ManageUsers;
    uint8_t ChangeSetting;
    uint8_t Download;
    uint8_t Delete;
    uint8_t Monitor;
    uint8_t Channels[64];    /* 0/1 per channel */
} Calvox_UserInfo;
CALVOX_STATIC_ASSERT(sizeof(Calvox_UserInfo) == 89, "Calvox_UserInfo layout");

typedef struct Calvox_UserList {
    uint32_t Count;
    Calvox_UserInfo* Entries;    /* owned by the connection object */
} Calvox_UserList;

/* ===================================================================================================== */
/* Files and records                                                                                      */
/* ===================================================================================================== */

typedef struct Calvox_RecordKey {
    uint8_t Year;        /* year - 2000 */
    uint8_t Month;
    uint8_t Day;
    uint8_t Hour;
    uint8_t Minute;
    uint8_t Second;
    uint8_t Channel;     /* counted from 0 */
    uint8_t HasRecording;
    uint8_t Index[2];    /* little-endian index in the day's index file */
} Calvox_RecordKey;
CALVOX_STATIC_ASSERT(sizeof(Calvox_RecordKey) == 10, "Calvox_RecordKey layout");

/* ===================================================================================================== */
/* Search (record only here; exports with their subject)                                                  */
/* ===================================================================================================== */

/* Callers copy sizeof(Calvox_FoundDeviceInfo): it holds a pointer, so it is 64 bytes only on 32-bit systems. */
typedef struct Calvox_FoundDeviceInfo {
    char ID[20];
    const char* Model;       /* the model table's text */
    int Channels;
    char FirmwareVersion[16];
    char Address[16];
    uint16_t Port;
} Calvox_FoundDeviceInfo;

/* ===================================================================================================== */
/* Exports: library                                                                                       */
/* ===================================================================================================== */

CALVOX_API int CalvoxAPI_Init(void);
CALVOX_API int CalvoxAPI_Exit(void);

/* ===================================================================================================== */
/* Exports: identity, accessors and conversions                                                           */
/* ===================================================================================================== */

/* 0 when the ID's first character names a known model, else 4. */
CALVOX_API Calvox_Result CalvoxAPI_CheckDeviceID(const char* id);
/* A new connection object for the ID (20 characters, need not be terminated when all 20 are used); 0 when
 * the model is unknown. */
CALVOX_API Calvox_DeviceHandle CalvoxAPI_CreateDevice(const char* id);
/* Stops the connection's threads and frees it; 0, also for 0 or a stale handle (then nothing happens). */
CALVOX_API Calvox_Result CalvoxAPI_DeleteDevice(Calvox_DeviceHandle handle);

/* Accessors: no traffic, no lock. A stale or unknown handle or a bad channel gives 0 or null. */
CALVOX_API const char* CalvoxAPI_DeviceID(Calvox_DeviceHandle handle);  /* 20 bytes, not terminated */
CALVOX_API const char* CalvoxAPI_DeviceModel(Calvox_DeviceHandle handle);
CALVOX_API const char* CalvoxAPI_FirmwareVersion(Calvox_DeviceHandle handle);
CALVOX_API int CalvoxAPI_DeviceChannels(Calvox_DeviceHandle handle);
CALVOX_API int CalvoxAPI_IsSupportPlayBack(Calvox_DeviceHandle handle);
CALVOX_API int CalvoxAPI_Permission_ManageUsers(Calvox_DeviceHandle handle);
CALVOX_API int CalvoxAPI_Permission_ChangeSetting(Calvox_DeviceHandle handle);
CALVOX_API int CalvoxAPI_Permission_Download(Calvox_DeviceHandle handle);
CALVOX_API int CalvoxAPI_Permission_Delete(Calvox_DeviceHandle handle);
CALVOX_API int CalvoxAPI_Permission_Monitor(Calvox_DeviceHandle handle);
CALVOX_API int CalvoxAPI_Permission_Channel(Calvox_DeviceHandle handle, int channel);
CALVOX_API int CalvoxAPI_ConnectStatus(Calvox_DeviceHandle handle);
CALVOX_API Calvox_StorageStatus* CalvoxAPI_StorageStatus(Calvox_DeviceHandle handle);
CALVOX_API Calvox_NetStatus* CalvoxAPI_NetStatus(Calvox_DeviceHandle handle);
CALVOX_API int CalvoxAPI_LastPhoneStatus(Calvox_DeviceHandle handle, int channel);
CALVOX_API Calvox_ChannelStatus* CalvoxAPI_ChannelStatus(Calvox_DeviceHandle handle, int channel);
CALVOX_API Calvox_OnlineUserList* CalvoxAPI_OnlineUserList(Calvox_DeviceHandle handle);
CALVOX_API int CalvoxAPI_CloudServerHasConnected(Calvox_DeviceHandle handle);
CALVOX_API int CalvoxAPI_SimulateOffHookIsEnabled(Calvox_DeviceHandle handle, int channel);
CALVOX_API Calvox_DateTime* CalvoxAPI_DateTime(Calvox_DeviceHandle handle);
CALVOX_API Calvox_PlayBackFileList* CalvoxAPI_PlayBackFileList(Calvox_DeviceHandle handle);
CALVOX_API Calvox_BaseSetting* CalvoxAPI_BaseSetting(Calvox_DeviceHandle handle);
CALVOX_API Calvox_ChannelSetting* CalvoxAPI_ChannelSetting(Calvox_DeviceHandle handle, int channel);
CALVOX_API Calvox_KeyControlSetting* CalvoxAPI_KeyControlSetting(Calvox_DeviceHandle handle);
CALVOX_API Calvox_NetSetting* CalvoxAPI_NetSetting(Calvox_DeviceHandle handle);
CALVOX_API Calvox_SMDRSetting* CalvoxAPI_SMDRSetting(Calvox_DeviceHandle handle);
CALVOX_API Calvox_UserList* CalvoxAPI_UserList(Calvox_DeviceHandle handle);
CALVOX_API Calvox_RecordTimeSetting* CalvoxAPI_RecordTimeSetting(Calvox_DeviceHandle handle);
CALVOX_API Calvox_ScheduledRestartSetting* CalvoxAPI_ScheduledRestartSetting(Calvox_DeviceHandle handle);

/* Dotted text to an IPv4 address in network order (inet_addr rules); 0xFFFFFFFF when invalid. */
CALVOX_API uint32_t CalvoxAPI_StringToIPaddress(const char* text);
/* The same value in host order: "2.0.7.8" gives 0x02000708. */
CALVOX_API uint32_t CalvoxAPI_StringToVersion(const char* text);
/* Clear out[16], write "%d.%d.%d.%d" (address: lowest byte first; version: top byte first), return the length. */
CALVOX_API int CalvoxAPI_IPaddressToString(uint32_t address, char out[16]);
CALVOX_API int CalvoxAPI_VersionToString(uint32_t version, char out[16]);

/* ===================================================================================================== */
/* Exports: search, connection and heartbeat                                                              */
/* ===================================================================================================== */

/* Finds the recorders on every local IPv4 network: from each local address (interfaces that are up, loopback
 * excepted) five broadcasts of the search to port 6066, each carrying the IDs found so far. Events, handle 0:
 * FoundDevice (data: a Calvox_FoundDeviceInfo valid during the call, length 0) for each new recorder of a known
 * model, Progress (length: percent) after each round and 100 at the end. Callback results are ignored. Blocks
 * about 2.5 s per local address; at most 200 recorders. Returns 0 (4 without a callback). */
CALVOX_API int CalvoxAPI_SearchDevice(const Calvox_EventCallback* callback);
CALVOX_API int CalvoxAPI_C_SearchDevice(Calvox_C_EventCallback callback);

/* Connection and login. */
/* The recorder's address: the first IPv4 address of host (dotted text or a name; address 0 when unknown) and
 * port. 4 for a null host. */
CALVOX_API Calvox_Result CalvoxAPI_SetNetAddr(Calvox_DeviceHandle handle, const char* host, unsigned short port);
/* Keeps the first userLength bytes of user (at most 19, else 4 and the previous name stays) and the MD5 of the
 * zero-terminated password (null: the empty password); the password itself is not kept. */
CALVOX_API Calvox_Result CalvoxAPI_SetUserPassword(Calvox_DeviceHandle handle, const char* user, int userLength,
                                                   const char* password);
/* Logs in (command 3). With the low byte of remoteLogin nonzero the recorder is first looked up through the
 * cloud relay (and reached by hole punching when it sits behind NAT); when that fails the login goes to the
 * previous address. 0 ok; 101 wrong user name or password; 2 too many users online; 3 no reply. On success the
 * firmware version and the permissions are those the recorder sent. The address, the credentials and the flag
 * stay with the connection: the heartbeat logs in the same way whenever it reconnects. */
CALVOX_API Calvox_Result CalvoxAPI_Login(Calvox_DeviceHandle handle, int remoteLogin);

/* Heartbeat: once a second command 4; changes arrive as events on the heartbeat thread (no SDK lock held, so
 * the callback may call other exports of the connection). The callback is copied. 0; 2 when a heartbeat
 * thread of the connection already runs (the new callback is not taken); 4 for an empty callback. */
CALVOX_API Calvox_Result CalvoxAPI_CreateHeartbeatThread(Calvox_DeviceHandle handle, const Calvox_EventCallback* cb);
CALVOX_API Calvox_Result CalvoxAPI_C_CreateHeartbeatThread(Calvox_DeviceHandle handle, Calvox_C_EventCallback fn);
/* Ends this connection's monitor session, stops the heartbeat and waits for it; the ConnectStatus event with
 * status 0 has been delivered when it returns (from the heartbeat's own callback it does not wait). Sends
 * nothing to the recorder except the end of monitoring. 0. */
CALVOX_API Calvox_Result CalvoxAPI_Logout(Calvox_DeviceHandle handle);

/* ===================================================================================================== */
/* Exports: status and settings commands                                                                  */
/* ===================================================================================================== */

/* Status reads: on 0 the accessor's record holds the recorder's answer. */
CALVOX_API Calvox_Result CalvoxAPI_GetStorageStatus(Calvox_DeviceHandle handle);
CALVOX_API Calvox_Result CalvoxAPI_GetNetStatus(Calvox_DeviceHandle handle);
CALVOX_API Calvox_Result CalvoxAPI_GetChannelVoltage(Calvox_DeviceHandle handle, int channel, int* voltage);
CALVOX_API Calvox_Result CalvoxAPI_GetCurrentRecordInfo(Calvox_DeviceHandle handle, int channel,
                                                        Calvox_CurrentRecordInfo* out);
CALVOX_API Calvox_Result CalvoxAPI_GetTime(Calvox_DeviceHandle handle);
CALVOX_API Calvox_Result CalvoxAPI_SetTime(Calvox_DeviceHandle handle, const Calvox_DateTime* time);
CALVOX_API Calvox_Result CalvoxAPI_GetPlayBackFileList(Calvox_DeviceHandle handle);

/* Settings groups. A Get fills the accessor's record. A Set first checks and limits the caller's record in
 * place (4 and nothing sent when a check fails), sends it between two markers and on 0 makes it the accessor's
 * record:
 *   base: [4] must be 0, '#', '*' or '0'..'9'; [2] at most 25, [7] at most 30, [10] and [11] at most 10;
 *   channel: [902] from 1 to 10, [903] at most 200; channel outside 0..count-1 gives 4;
 *   key control: every key length (byte 1 of each entry, and [400]) above 10 gives 4;
 *   scheduled restart: [1] above 23 and [2] of 60 or more become 0. */
CALVOX_API Calvox_Result CalvoxAPI_GetBaseSetting(Calvox_DeviceHandle handle);
CALVOX_API Calvox_Result CalvoxAPI_SetBaseSetting(Calvox_DeviceHandle handle, Calvox_BaseSetting* record);
CALVOX_API Calvox_Result CalvoxAPI_GetChannelSetting(Calvox_DeviceHandle handle, int channel);
CALVOX_API Calvox_Result CalvoxAPI_SetChannelSetting(Calvox_DeviceHandle handle, int channel,
                                                     Calvox_ChannelSetting* record);
CALVOX_API Calvox_Result CalvoxAPI_GetKeyControlSetting(Calvox_DeviceHandle handle);
CALVOX_API Calvox_Result CalvoxAPI_SetKeyControlSetting(Calvox_DeviceHandle handle, Calvox_KeyControlSetting* record);
CALVOX_API Calvox_Result CalvoxAPI_GetNetSetting(Calvox_DeviceHandle handle);
CALVOX_API Calvox_Result CalvoxAPI_SetNetSetting(Calvox_DeviceHandle handle, Calvox_NetSetting* record);
CALVOX_API Calvox_Result CalvoxAPI_GetSMDRSetting(Calvox_DeviceHandle handle);
CALVOX_API Calvox_Result CalvoxAPI_SetSMDRSetting(Calvox_DeviceHandle handle, Calvox_SMDRSetting* record);
CALVOX_API Calvox_Result CalvoxAPI_GetRecordTimeSetting(Calvox_DeviceHandle handle);
CALVOX_API Calvox_Result CalvoxAPI_SetRecordTimeSetting(Calvox_DeviceHandle handle, Calvox_RecordTimeSetting* record);
CALVOX_API Calvox_Result CalvoxAPI_GetScheduledRestartSetting(Calvox_DeviceHandle handle);
CALVOX_API Calvox_Result CalvoxAPI_SetScheduledRestartSetting(Calvox_DeviceHandle handle,
                                                              Calvox_ScheduledRestartSetting* record);

/* ===================================================================================================== */
/* Exports: users                                                                                         */
/* ===================================================================================================== */

/* Reads the whole user table in parts into the connection object (CalvoxAPI_UserList). The entries are
 * rewritten where they are: an entries pointer taken earlier stays valid, and shows the new entries. 2 when a
 * reply has the wrong size. */
CALVOX_API Calvox_Result CalvoxAPI_GetUserList(Calvox_DeviceHandle handle);
/* The name is the text in user->Name, at most 19 bytes (a 19-byte name needs no terminator); an empty name
 * gives 4. The password travels as its MD5. The recorder answers 102 when the name exists, 103 when its table
 * is full. */
CALVOX_API Calvox_Result CalvoxAPI_AddUser(Calvox_DeviceHandle handle, const Calvox_UserInfo* user,
                                           const char* password);
/* password null keeps the recorder's password. */
CALVOX_API Calvox_Result CalvoxAPI_EditUser(Calvox_DeviceHandle handle, const Calvox_UserInfo* user,
                                            const char* password);
CALVOX_API Calvox_Result CalvoxAPI_DeleteUser(Calvox_DeviceHandle handle, const Calvox_UserInfo* user);

/* ===================================================================================================== */
/* Exports: files, records and line control                                                               */
/* ===================================================================================================== */

/* Records and files. Device paths are like "/RecordFiles/2403/15/CH03.Index"; a path that does not fit one
 * datagram gives 4 before anything is sent. */
CALVOX_API Calvox_Result CalvoxAPI_RemoveFile(Calvox_DeviceHandle handle, const char* path);
/* The newest (earliest) day that holds records: year - 2000, month, day. */
CALVOX_API Calvox_Result CalvoxAPI_GetLatestRecordTime(Calvox_DeviceHandle handle, uint8_t* year, uint8_t* month,
                                                       uint8_t* day);
CALVOX_API Calvox_Result CalvoxAPI_GetEarliestRecordTime(Calvox_DeviceHandle handle, uint8_t* year,
                                                         uint8_t* month, uint8_t* day);
/* days[d] nonzero when day d of the month (year - 2000) holds records; all zero after any failure. */
CALVOX_API Calvox_Result CalvoxAPI_GetDayListFromMonthDir(Calvox_DeviceHandle handle, int year, int month,
                                                          uint8_t days[32]);
/* Notes of at most 64 bytes for record recordIndex (0..65535) of that day's index file of the channel
 * (counted from 0). */
CALVOX_API Calvox_Result CalvoxAPI_EditRecordNotes(Calvox_DeviceHandle handle, int recordIndex, uint8_t year,
                                                   int month, uint8_t day, uint8_t channel, const char* notes);
/* When the recorder answers that it deletes in the background, waits for it (up to five 5-second tries) and
 * returns 0. */
CALVOX_API Calvox_Result CalvoxAPI_DeleteRecord(Calvox_DeviceHandle handle, const Calvox_RecordKey* key);

/* Line control. A channel outside 0..count-1 gives 4 and nothing is sent. */
/* Dials the number's first `length` bytes on the channel. */
CALVOX_API Calvox_Result CalvoxAPI_Dial(Calvox_DeviceHandle handle, int channel, const char* number,
                                        unsigned char length);
/* Takes the line off hook; the recorder receives value / 128 + 1 (255 at most). A negative value gives 4. */
CALVOX_API Calvox_Result CalvoxAPI_OffHook(Calvox_DeviceHandle handle, int channel, int value);
/* Plays one of the recorder's audio files (a name of at most 27 bytes, else 4) on the line. */
CALVOX_API Calvox_Result CalvoxAPI_PlayAudioFile(Calvox_DeviceHandle handle, int channel, const char* name);
/* The recorder's latest SMDR text: *text points into the connection (not terminated), *length is at most 100. */
CALVOX_API Calvox_Result CalvoxAPI_GetSMDR(Calvox_DeviceHandle handle, unsigned* length, const char** text);
CALVOX_API Calvox_Result CalvoxAPI_Reboot(Calvox_DeviceHandle handle);

/* ===================================================================================================== */
/* Exports: transfer                                                                                      */
/* ===================================================================================================== */

/* Sends a local file to deviceFolder + "/" + (deviceName, or the local file's name when null). The local
 * file's name must be ASCII and at most 27 bytes, the device path at most 255 bytes (else 4); 20 when the
 * file cannot be opened, 21 when it is empty, 22 on a read error. Progress events (length: percent) on the
 * calling thread; a nonzero return cancels (the recorder is told) with 2. One transfer per connection at a
 * time: a second caller waits. */
CALVOX_API Calvox_Result CalvoxAPI_UploadFile(Calvox_DeviceHandle handle, const char* localPath,
                                              const char* deviceFolder, const char* deviceName,
                                              const Calvox_EventCallback* callback);
CALVOX_API Calvox_Result CalvoxAPI_C_UploadFile(Calvox_DeviceHandle handle, const char* localPath,
                                                const char* deviceFolder, const char* deviceName,
                                                Calvox_C_EventCallback callback);
/* Fetches a device file: FileSize (length: its size S) once, then FileData per 1024-byte block in order (data
 * valid during the call only). A nonzero callback return cancels with 2. 2 also when the recorder announces more
 * than INT_MAX bytes or sends a block of another length than the file's next piece: never more than S bytes are
 * delivered. */
CALVOX_API Calvox_Result CalvoxAPI_DownloadFile(Calvox_DeviceHandle handle, const char* devicePath,
                                                const Calvox_EventCallback* callback);
CALVOX_API Calvox_Result CalvoxAPI_C_DownloadFile(Calvox_DeviceHandle handle, const char* devicePath,
                                                  Calvox_C_EventCallback callback);

/* ===================================================================================================== */
/* Exports: monitor and player                                                                            */
/* ===================================================================================================== */

/* Live listening, one channel of one recorder per process. Channel 255, or the channel the heartbeat reports
 * as monitored on this connection, ends monitoring (0). Otherwise ends any session and asks the recorder for
 * the channel: its status when it refuses (3 without reply), else 0 and the audio plays with about one
 * second of delay. Deleting or logging out the connection ends its session. */
CALVOX_API Calvox_Result CalvoxAPI_StartMonitor(Calvox_DeviceHandle handle, int channel);
CALVOX_API Calvox_Result CalvoxAPI_StopMonitor(void);
/* Volume of the player: percent / 100, held to 0.0 .. 1.0. 0. */
CALVOX_API Calvox_Result CalvoxAPI_PlayerSetVolume(int percent);
/* Plays exactly 1024 A-law bytes (8000 Hz, 128 ms); waits while two blocks are queued. Returns at once when
 * the player is closed (before CalvoxAPI_Init, after CalvoxAPI_Exit). 0; 4 for null data.
 * The sound output is ALSA (device from CALVOX_AUDIO_DEVICE, default "default"); without a sound device the
 * player keeps real-time pace on a silent output. CALVOX_AUDIO_SINK=null|memory|wav:<path> chooses another
 * output (tests). */
CALVOX_API Calvox_Result CalvoxAPI_PlayerWriteData(const unsigned char* data);

/* ===================================================================================================== */
/* Exports: update                                                                                        */
/* ===================================================================================================== */

/* Events of the SDK's HTTP client: Header (data null, length = the status code), ContentLength (length = the
 * announced body length), Data (a piece of the body). */
typedef enum HttpEventType {
    HttpEvent_Header = 0,
    HttpEvent_ContentLength = 1,
    HttpEvent_Data = 2
} HttpEventType;

/* The update server is set when the SDK is built and can be overridden with the environment variable
 * CALVOX_UPDATE_SERVER ("host" or "host:port", port 81 when none is given). Requests run on the calling
 * thread; every connect and every wait for the server is bounded by a time-out. A null or empty callback
 * gives 4. */

/* The model's version document "<model>/Version.json": when any of it arrived, the callback gets
 * Calvox_Event_FileData once with the whole body (also when the transfer then failed). 0 when the exchange
 * completed, whatever the HTTP status (a reply without a Content-Length completes with no event); 3 when it
 * failed. */
CALVOX_API Calvox_Result CalvoxAPI_GetNewVersionInfo(Calvox_DeviceHandle handle, const Calvox_EventCallback* callback);
/* The firmware image "<model>/<fileName>": Calvox_Event_FileSize 0 once the server has answered 200, then
 * FileSize with the length, then FileData per piece; a nonzero answer stops. 0 when the whole image arrived;
 * -1 on any failure, on a stop, on an empty body and on any status but 200 (nothing is delivered then). */
CALVOX_API int CalvoxAPI_DownloadFirmware(Calvox_DeviceHandle handle, const char* fileName,
                                          const Calvox_EventCallback* callback);
/* Checks a firmware file against the connected recorder: 4 unknown handle, 20 file unreadable, shorter than
 * its 512-byte header or for another model, 40 not newer than the recorder's firmware, 41 needs a newer SDK
 * than this one (2.0.7.8), 0 acceptable. */
CALVOX_API Calvox_Result CalvoxAPI_CheckFirmware(Calvox_DeviceHandle handle, const char* path);
/* The client program's version document "CalvoxClient/Version.json", as CalvoxAPI_GetNewVersionInfo with
 * handle 0 in the event. */
CALVOX_API Calvox_Result CalvoxAPI_GetClientVersionInfo(const Calvox_EventCallback* callback);

#endif /* CALVOX_SDK_H */
