#pragma once

#include <windows.h>

// WM_PAINT of the parameters window: the input and output devices with their icons, the account's details
// and the colour swatch; only the background until the opening animation has finished (`ready`).
void PaintParamsWindow(HWND window, bool ready);

// The devices are described again at the next paint, as at each opening of the window.
void ForgetDescribedDevices();
