#pragma once

#include "peripherals/accessory_handshake.h"
#include "peripherals/synth_link.h"
#include "peripherals/win32/usb_icon_win32.h"

// Each peripheral's state as start-up composes it, apart, for the callbacks the system calls without a
// context; start-up hands the threads the ones they use.
SynthLink& Synth();
AccessoryRunFlags& Accessory();
UsbIconView& UsbIconOnWindow();
