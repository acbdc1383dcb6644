#pragma once

#include <windows.h>

class PushToTalk;
struct AccessoryRunFlags;
struct UsbIconView;

// What the accessory thread uses; start-up keeps it until the thread has ended.
struct AccessoryWiring {
    AccessoryRunFlags& run;
    PushToTalk& pushToTalk;
    UsbIconView& usbIcon;
};

// The accessory thread, given the `AccessoryWiring*`: finds a supported USB-serial adapter, probes its key
// five times a second and shows its state, until shutdown asks it to end.
DWORD WINAPI AccessoryThread(LPVOID wiring);

// Asks the accessory thread to end, wakes it from its wait for a device, and waits until it has ended.
void StopAccessoryThread(HANDLE thread, AccessoryRunFlags& run);
