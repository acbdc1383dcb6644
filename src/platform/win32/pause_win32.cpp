#include "platform/pause.h"

#include <windows.h>

void PauseMs(int milliseconds) {
    Sleep(milliseconds > 0 ? static_cast<DWORD>(milliseconds) : 0);
}
