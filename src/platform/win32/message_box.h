#pragma once

#include <windows.h>

// Every message box of the client: the text and caption are UTF-8, as the program keeps all its texts, and
// are converted for the system here only. Returns MessageBoxW's answer (0 when no box could be shown).
int ShowMessageBox(HWND owner, const char* utf8Text, const char* utf8Caption, UINT style);
