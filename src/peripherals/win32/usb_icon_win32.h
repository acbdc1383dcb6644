#pragma once

// Shows the accessory's state as the USB icon on the main window: 1 black, 2 green, 3 red. Called by start-up
// with 1 before the accessory thread exists, then only by that thread.
void SetUsbIconState(int state);
