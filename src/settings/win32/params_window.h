#pragma once

// Opens the parameters window beside the main window, with its opening animation, or closes it when it is
// open. Returns 1, or 0 when the window cannot be created; a later call then tries again.
int ToggleParamsWindow();
