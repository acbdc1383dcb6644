#pragma once

// The small window that lists the system's capture devices as radio buttons; a choice is opened by the
// next talk. Opening it while it is open closes it. `onClosed` is called as it closes.
void ToggleInputDeviceChooser(void (*onClosed)());
