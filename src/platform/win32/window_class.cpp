#include "platform/win32/window_class.h"

HCURSOR ArrowCursor() {
    return LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
} // IDC_ARROW

bool RegisterWindowClass(HINSTANCE instance, const wchar_t* name, WNDPROC procedure,
                         const WindowClassLook& look) {
    WNDCLASSEXW existing{};
    existing.cbSize = sizeof existing;
    const bool alreadyRegistered = GetClassInfoExW(instance, name, &existing) != 0;
    if (!alreadyRegistered) {
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof windowClass;
        windowClass.style = look.style;
        windowClass.lpfnWndProc = procedure;
        windowClass.hInstance = instance;
        windowClass.hIcon = look.icon;
        windowClass.hIconSm = look.smallIcon;
        windowClass.hCursor = look.cursor;
        windowClass.hbrBackground = look.background;
        windowClass.lpszMenuName = look.menu;
        windowClass.lpszClassName = name;
        if (RegisterClassExW(&windowClass) != 0) {
            return true;
        }
    }
    // Stock brushes ignore deletion, so any brush the class does not own can be handed back.
    if (look.background != nullptr) {
        DeleteObject(look.background);
    }
    return alreadyRegistered;
}
