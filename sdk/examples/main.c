/* calvox-example [device-id]: creates a connection for the device ID and prints what the SDK knows of it. */
#include <CalvoxSDK.h>

#include <stdio.h>

int main(int argc, char** argv)
{
    const char* id = argc > 1 ? argv[1] : "2A000000000000000001"; /* the emulator's default recorder */
    if (CalvoxAPI_Init() != 0)
        return 1;
    if (CalvoxAPI_CheckDeviceID(id) != 0) {
        fprintf(stderr, "calvox-example: %s is not a valid device ID\n", id);
        CalvoxAPI_Exit();
        return 2;
    }
    Calvox_DeviceHandle device = CalvoxAPI_CreateDevice(id);
    if (!device) {
        fprintf(stderr, "calvox-example: cannot create a connection for %s\n", id);
        CalvoxAPI_Exit();
        return 1;
    }
    char text[21] = {0};
    const char* deviceId = CalvoxAPI_DeviceID(device);
    for (int i = 0; i < 20 && deviceId[i]; ++i)
        text[i] = deviceId[i];
    printf("device %s: model %s, %d channels, playback %s\n", text, CalvoxAPI_DeviceModel(device),
           CalvoxAPI_DeviceChannels(device), CalvoxAPI_IsSupportPlayBack(device) ? "yes" : "no");
    CalvoxAPI_DeleteDevice(device);
    CalvoxAPI_Exit();
    return 0;
}
