#pragma once

#include <windows.h>

// How a window class looks; fields left at their defaults give no class style, icon, cursor or menu.
struct WindowClassLook {
    UINT style = 0;
    HBRUSH background = nullptr;
    HICON icon = nullptr;
    HICON smallIcon = nullptr;
    HCURSOR cursor = nullptr;
    const wchar_t* menu = nullptr;
};

// Registers the class unless a class of that name already exists in the process, so a window opened a
// second time reuses its class. False when the class cannot be used; a background brush the class did not
// take is deleted then, and also when the class already existed.
bool RegisterWindowClass(HINSTANCE instance, const wchar_t* name, WNDPROC procedure,
                         const WindowClassLook& look);

// The standard arrow cursor, for classes that want one.
HCURSOR ArrowCursor();
