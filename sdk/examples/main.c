/* calvox-example: the SDK from a plain C program, step by step.
 *
 *   calvox-example [--search] [device-id [address[:port] [user [password]]]]
 *
 * Defaults: the recorder emulator's first recorder, 2A000000000000000001 at 127.0.0.1:6066, user admin with
 * password admin. --search first looks for recorders on every local network by broadcast (so use it only on
 * a network where that is welcome). Then the program creates a connection for the ID, logs in, reads the
 * base settings, starts the heartbeat and prints its events for a few seconds, and downloads the recorder's
 * log file. It uses nothing but the public header and the C variants of the exports. */
#include <CalvoxSDK.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>

static const char* EventName(Calvox_EventType type)
{
    static const char* const names[] = {"Progress",      "FoundDevice",    "FileSize",      "FileData",
                                        "ConnectStatus", "StorageStatus",  "CloudServer",   "OnlineUserList",
                                        "ChannelStatus", "TalkTime",       "MonitorChannel", "PlaybackState",
                                        "RecordFinished"};
    return (int)type >= 0 && (int)type < 13 ? names[type] : "?";
}

/* Search: one line per recorder found. */
static int OnSearchEvent(Calvox_EventType type, int handle, unsigned char* data, int length)
{
    (void)handle;
    if (type == Calvox_Event_FoundDevice && data) {
        const Calvox_FoundDeviceInfo* found = (const Calvox_FoundDeviceInfo*)data;
        printf("  found %.20s: %s, %d channels, firmware %.16s, at %.16s:%u\n", found->ID, found->Model,
               found->Channels, found->FirmwareVersion, found->Address, found->Port);
    } else if (type == Calvox_Event_Progress) {
        printf("  search %d%%\n", length);
    }
    return 0;
}

/* Heartbeat: runs on the SDK's heartbeat thread. Channel events carry the channel number in the data slot. */
static int OnHeartbeatEvent(Calvox_EventType type, int handle, unsigned char* data, int length)
{
    static const char* const states[] = {"idle", "offline", "online"};
    if (type == Calvox_Event_ConnectStatus) {
        const int status = CalvoxAPI_ConnectStatus(handle);
        printf("  event ConnectStatus: %s\n", status >= 0 && status <= 2 ? states[status] : "?");
    } else {
        printf("  event %s: data %ld, value %d\n", EventName(type), (long)(intptr_t)data, length);
    }
    fflush(stdout);
    return 0;
}

/* Download: the size first, then the file's bytes in pieces. */
static long g_fileSize = -1, g_received = 0;
static unsigned char g_head[64];

static int OnDownloadEvent(Calvox_EventType type, int handle, unsigned char* data, int length)
{
    (void)handle;
    if (type == Calvox_Event_FileSize) {
        g_fileSize = length;
    } else if (type == Calvox_Event_FileData) {
        for (int i = 0; i < length && g_received + i < (long)sizeof g_head; ++i)
            g_head[g_received + i] = data[i];
        g_received += length;
    }
    return 0; /* nonzero would cancel the transfer */
}

static void SleepMs(long ms)
{
    struct timespec t = {ms / 1000, (ms % 1000) * 1000000L};
    nanosleep(&t, NULL);
}

static int Fail(const char* step, int result, Calvox_DeviceHandle device)
{
    fprintf(stderr, "calvox-example: %s failed with %d\n", step, result);
    if (device)
        CalvoxAPI_DeleteDevice(device);
    CalvoxAPI_Exit();
    return 1;
}

int main(int argc, char** argv)
{
    int search = 0, first = 1;
    if (argc > 1 && strcmp(argv[1], "--search") == 0) {
        search = 1;
        first = 2;
    }
    const char* id = argc > first ? argv[first] : "2A000000000000000001";
    char host[64] = "127.0.0.1";
    unsigned short port = 6066;
    if (argc > first + 1) {
        snprintf(host, sizeof host, "%s", argv[first + 1]);
        char* colon = strchr(host, ':');
        if (colon) {
            *colon = 0;
            port = (unsigned short)atoi(colon + 1);
        }
    }
    const char* user = argc > first + 2 ? argv[first + 2] : "admin";
    const char* password = argc > first + 3 ? argv[first + 3] : "admin";

    CalvoxAPI_Init();

    if (search) {
        printf("searching the local networks\n");
        CalvoxAPI_C_SearchDevice(OnSearchEvent);
    }

    if (CalvoxAPI_CheckDeviceID(id) != 0) {
        fprintf(stderr, "calvox-example: %s is not a valid device ID\n", id);
        CalvoxAPI_Exit();
        return 2;
    }
    Calvox_DeviceHandle device = CalvoxAPI_CreateDevice(id);
    if (!device)
        return Fail("CalvoxAPI_CreateDevice", 0, 0);
    printf("device %.20s: model %s, %d channels, playback %s\n", CalvoxAPI_DeviceID(device),
           CalvoxAPI_DeviceModel(device), CalvoxAPI_DeviceChannels(device),
           CalvoxAPI_IsSupportPlayBack(device) ? "yes" : "no");

    /* Log in directly (0: not through the cloud relay). */
    int r = CalvoxAPI_SetNetAddr(device, host, port);
    if (r != 0)
        return Fail("CalvoxAPI_SetNetAddr", r, device);
    r = CalvoxAPI_SetUserPassword(device, user, (int)strlen(user), password);
    if (r != 0)
        return Fail("CalvoxAPI_SetUserPassword", r, device);
    r = CalvoxAPI_Login(device, 0);
    if (r != 0)
        return Fail(r == 101 ? "login (wrong user name or password)" : "login", r, device);
    printf("logged in to %s:%u as %s: firmware %s, may change settings %s, may download %s\n", host, port, user,
           CalvoxAPI_FirmwareVersion(device), CalvoxAPI_Permission_ChangeSetting(device) ? "yes" : "no",
           CalvoxAPI_Permission_Download(device) ? "yes" : "no");

    /* The base settings: read into the connection, then looked at through the accessor. */
    r = CalvoxAPI_GetBaseSetting(device);
    if (r != 0)
        return Fail("CalvoxAPI_GetBaseSetting", r, device);
    const unsigned char* base = (const unsigned char*)CalvoxAPI_BaseSetting(device);
    printf("base settings (%u bytes):", (unsigned)sizeof(Calvox_BaseSetting));
    for (int i = 0; i < 16; ++i)
        printf(" %02x", base[i]);
    printf(" ...\n");

    /* The heartbeat polls the recorder once a second and reports what changes. */
    r = CalvoxAPI_C_CreateHeartbeatThread(device, OnHeartbeatEvent);
    if (r != 0)
        return Fail("CalvoxAPI_C_CreateHeartbeatThread", r, device);
    printf("heartbeat started; events for 3 seconds:\n");
    fflush(stdout);
    SleepMs(3000);

    /* One file from the recorder. */
    r = CalvoxAPI_C_DownloadFile(device, "/RecordFiles/Log.txt", OnDownloadEvent);
    if (r == 0) {
        printf("downloaded /RecordFiles/Log.txt: %ld of %ld bytes, beginning \"", g_received, g_fileSize);
        for (long i = 0; i < g_received && i < (long)sizeof g_head; ++i)
            putchar(g_head[i] >= 0x20 && g_head[i] < 0x7f ? g_head[i] : '.');
        printf("\"\n");
    } else {
        printf("download of /RecordFiles/Log.txt gave %d\n", r);
    }

    CalvoxAPI_Logout(device);
    CalvoxAPI_DeleteDevice(device);
    CalvoxAPI_Exit();
    printf("done\n");
    return 0;
}
