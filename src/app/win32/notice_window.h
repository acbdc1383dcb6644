#pragma once

// Shows a UTF-8 notice in a "CustomDialog" window beside the main window and returns when the window has gone
// (after 20 seconds, or earlier when the user closes it). The window's own message loop serves every window
// of the calling thread meanwhile. A quit message meant for an outer loop closes the notice and is passed on.
void ShowSupervisorNotice(const char* utf8);
