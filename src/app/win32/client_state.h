#pragma once

#include "peripherals/accessory_handshake.h"
#include "peripherals/synth_link.h"
#include "peripherals/win32/usb_icon_win32.h"

// What start-up creates for the run, each part owned by the subsystem that writes it; start-up hands each
// thread the parts it uses.
struct ClientState {
    SynthLink synth;
    AccessoryRunFlags accessory;
    UsbIconView usbIcon;
};

// The client's state for the main window's callbacks, which the system calls without a context.
ClientState& Client();
