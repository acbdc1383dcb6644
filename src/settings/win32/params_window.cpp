#include "settings/win32/params_window.h"

#include "audio/win32/input_device_chooser.h"
#include "platform/win32/window_class.h"
#include "platform/win32/window_frames.h"
#include "session/session_state.h"
#include "settings/opening_animation.h"
#include "settings/params_zones.h"
#include "settings/win32/colour_upload.h"
#include "settings/win32/params_painting.h"

#include <windows.h>

#include <commdlg.h>
#include <windowsx.h>

namespace {

constexpr wchar_t kParamsClass[] = L"ParamWndClass";
constexpr COLORREF kParamsBackground = RGB(255, 0, 0);

// The colour dialog's custom colours, kept from one choice to the next for the whole run.
COLORREF gCustomColours[16] = {};

// Confirmed or cancelled, the client is repainted: the main window at once, before the upload's wait.
void ChooseBackgroundColour(HWND window) {
    SessionState& session = Session();
    CHOOSECOLORW choice{};
    choice.lStructSize = sizeof choice;
    choice.hwndOwner = window;
    choice.rgbResult = RGB(0, 0, 0);
    choice.lpCustColors = gCustomColours;
    choice.Flags = CC_RGBINIT | CC_FULLOPEN;
    const bool chosen = ChooseColorW(&choice) != FALSE;
    if (chosen) {
        session.backgroundColour = choice.rgbResult;
    }
    HWND mainWindow = session.handles.mainWindow;
    InvalidateRect(mainWindow, nullptr, TRUE);
    UpdateWindow(mainWindow);
    if (chosen) {
        UploadBackgroundColour(choice.rgbResult, session.accountNumber.load(std::memory_order_relaxed));
    }
    // A PARAMS click during the dialog may have closed this window meanwhile.
    if (session.handles.paramsWindow == window) {
        InvalidateRect(window, nullptr, TRUE);
    }
    SetForegroundWindow(mainWindow);
}

void OnClick(HWND window, LPARAM lParam) {
    switch (ParamsClickAt(Point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)})) {
    case ParamsClick::ChooseColour:
        ChooseBackgroundColour(window);
        break;
    case ParamsClick::ToggleInputChooser:
        ToggleInputDeviceChooser();
        break;
    case ParamsClick::None:
        break;
    }
}

LRESULT CALLBACK ParamsWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    WindowHandles& handles = Session().handles;
    switch (message) {
    case WM_CREATE:
        return 0;
    case WM_PAINT:
        PaintParamsWindow(window, handles.paramsReady);
        return 0;
    case WM_LBUTTONDOWN:
        OnClick(window, lParam);
        return 0;
    case WM_DESTROY:
        if (handles.paramsWindow == window) {
            handles.paramsWindow = nullptr;
            handles.paramsReady = false;
        }
        return 0;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

int OpenParamsWindow() {
    WindowHandles& handles = Session().handles;
    handles.paramsReady = false;
    ForgetDescribedDevices();
    RECT mainRect{};
    GetWindowRect(handles.mainWindow, &mainRect);
    HINSTANCE instance = reinterpret_cast<HINSTANCE>(handles.instance);
    WindowClassLook look;
    look.background = CreateSolidBrush(kParamsBackground);
    look.cursor = ArrowCursor();
    RegisterWindowClass(instance, kParamsClass, ParamsWindowProc, look);
    const WindowFrame created = CreationFrame(mainRect.left, mainRect.top);
    HWND window =
        CreateWindowExW(0, kParamsClass, L"Zelvora Params", WS_VISIBLE | WS_SYSMENU, created.x, created.y,
                        created.width, created.height, handles.mainWindow, nullptr, instance, nullptr);
    if (window == nullptr) {
        return 0; // nothing is marked open, so the next PARAMS click tries again
    }
    handles.paramsWindow = window;
    ShowWindow(window, SW_SHOW);
    // About a second on the main thread, during which no message is handled.
    PlayWindowFrames(window, OpeningFrames(mainRect.left, mainRect.top), kOpeningFrameDelayMs);
    handles.paramsReady = true;
    // An invalidated window paints its content; a bare posted WM_PAINT would find nothing to redraw.
    InvalidateRect(window, nullptr, TRUE);
    SetForegroundWindow(handles.mainWindow);
    return 1;
}

} // namespace

int ToggleParamsWindow() {
    HWND open = Session().handles.paramsWindow;
    if (open == nullptr) {
        return OpenParamsWindow();
    }
    // Through the queue, as the system's close button does: WM_DESTROY then comes from DestroyWindow itself.
    PostMessageW(open, WM_CLOSE, 0, 0);
    return 1;
}
