#pragma once

#include <windows.h>

// The whole run of the client: start-up, message loop and shutdown. Returns the process exit code.
int RunClient(HINSTANCE instance, int showCommand);
