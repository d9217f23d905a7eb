/* A plain C program built against an installed CalvoxSDK: it includes only the public header and calls the
 * library through the C variants. */
#include <CalvoxSDK.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

static int events;

static int OnEvent(Calvox_EventType type, int handle, unsigned char* data, int length)
{
    (void)type;
    (void)handle;
    (void)data;
    (void)length;
    ++events;
    return 0;
}

#define CHECK(cond)                                                      \
    do {                                                                 \
        if (!(cond)) {                                                   \
            fprintf(stderr, "%s:%d: failed: %s\n", __FILE__, __LINE__, #cond); \
            return 1;                                                    \
        }                                                                \
    } while (0)

int main(void)
{
    CHECK(CalvoxAPI_Init() == 0);
    CHECK(CalvoxAPI_CheckDeviceID("4A000000000000000001") == 0);
    Calvox_DeviceHandle device = CalvoxAPI_CreateDevice("4A000000000000000001");
    CHECK(device != 0);
    CHECK(strcmp(CalvoxAPI_DeviceModel(device), "KES2204S") == 0);

    /* A null function pointer is refused before anything is sent. */
    CHECK(CalvoxAPI_C_SearchDevice(NULL) == Calvox_Result_InvalidArgument);
    CHECK(CalvoxAPI_C_DownloadFile(device, "/RecordFiles/Log.txt", NULL) == Calvox_Result_InvalidArgument);
    /* An unknown handle is refused too. */
    CHECK(CalvoxAPI_C_DownloadFile(0, "/RecordFiles/Log.txt", OnEvent) == Calvox_Result_InvalidArgument);
    /* A real search broadcasts, so it runs only inside the test suite's private network namespace. */
    if (getenv("CALVOX_NETNS"))
        CHECK(CalvoxAPI_C_SearchDevice(OnEvent) == 0);

    CHECK(CalvoxAPI_DeleteDevice(device) == 0);
    CHECK(CalvoxAPI_Exit() == 0);
    printf("consumer: ok (%d events)\n", events);
    return 0;
}
