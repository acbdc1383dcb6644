#include "settings/win32/params_window.h"

#include "audio/win32/input_device_chooser.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/window_class.h"
#include "platform/win32/window_frames.h"
#include "session/shared_state.h"
#include "settings/opening_animation.h"
#include "settings/params_zones.h"
#include "settings/win32/colour_upload.h"
#include "settings/win32/params_painting.h"
#include "web/account_state.h"
#include "web/win32/web_wiring.h"
#include "session/user_texts.h"

#include <windows.h>

#include <commdlg.h>
#include <windowsx.h>

namespace {

constexpr wchar_t kParamsClass[] = L"ParamWndClass";
constexpr COLORREF kParamsBackground = RGB(255, 0, 0);

// The colour dialog's custom colours, kept from one choice to the next for the whole run.
COLORREF gCustomColours[16] = {};

// The parameters window lives on the main thread: null while it is closed, and ready once its opening
// animation has finished (it then paints its content).
HWND gParamsWindow = nullptr;
bool gParamsReady = false;

// Confirmed or cancelled, the client is repainted: the main window at once, before the upload's wait.
void ChooseBackgroundColour(HWND window) {
    const WebWiring& web = Web();
    CHOOSECOLORW choice{};
    choice.lStructSize = sizeof choice;
    choice.hwndOwner = window;
    choice.rgbResult = RGB(0, 0, 0);
    choice.lpCustColors = gCustomColours;
    choice.Flags = CC_RGBINIT | CC_FULLOPEN;
    const bool chosen = ChooseColorW(&choice) != FALSE;
    if (chosen) {
        web.account->backgroundColour = choice.rgbResult;
    }
    HWND mainWindow = web.mainWindow;
    InvalidateRect(mainWindow, nullptr, TRUE);
    UpdateWindow(mainWindow);
    if (chosen) {
        UploadBackgroundColour(choice.rgbResult, web.shared->accountNumber.load(std::memory_order_relaxed));
    }
    // A PARAMS click during the dialog may have closed this window meanwhile.
    if (gParamsWindow == window) {
        InvalidateRect(window, nullptr, TRUE);
    }
    SetForegroundWindow(mainWindow);
}

// The window names the input device: it shows the choice just made.
void ShowChosenInputDevice() {
    if (gParamsWindow != nullptr) {
        InvalidateRect(gParamsWindow, nullptr, TRUE);
    }
}

void OnClick(HWND window, LPARAM lParam) {
    switch (ParamsClickAt(Point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)})) {
    case ParamsClick::ChooseColour:
        ChooseBackgroundColour(window);
        break;
    case ParamsClick::ToggleInputChooser:
        ToggleInputDeviceChooser(ShowChosenInputDevice);
        break;
    case ParamsClick::None:
        break;
    }
}

LRESULT CALLBACK ParamsWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        return 0;
    case WM_PAINT:
        PaintParamsWindow(window, gParamsReady);
        return 0;
    case WM_LBUTTONDOWN:
        OnClick(window, lParam);
        return 0;
    case WM_DESTROY:
        if (gParamsWindow == window) {
            gParamsWindow = nullptr;
            gParamsReady = false;
        }
        return 0;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

int OpenParamsWindow() {
    const WebWiring& web = Web();
    gParamsReady = false;
    ForgetDescribedDevices();
    RECT mainRect{};
    GetWindowRect(web.mainWindow, &mainRect);
    HINSTANCE instance = web.instance;
    WindowClassLook look;
    look.background = CreateSolidBrush(kParamsBackground);
    look.cursor = ArrowCursor();
    RegisterWindowClass(instance, kParamsClass, ParamsWindowProc, look);
    const WindowFrame created = CreationFrame(mainRect.left, mainRect.top);
    HWND window = CreateWindowExW(0, kParamsClass, WideFromUtf8(kParamsTitle).c_str(),
                                  WS_VISIBLE | WS_SYSMENU, created.x, created.y, created.width,
                                  created.height, web.mainWindow, nullptr, instance, nullptr);
    if (window == nullptr) {
        return 0; // nothing is marked open, so the next PARAMS click tries again
    }
    gParamsWindow = window;
    ShowWindow(window, SW_SHOW);
    // About a second on the main thread, during which no message is handled.
    PlayWindowFrames(window, OpeningFrames(mainRect.left, mainRect.top), kOpeningFrameDelayMs);
    gParamsReady = true;
    // An invalidated window paints its content; a bare posted WM_PAINT would find nothing to redraw.
    InvalidateRect(window, nullptr, TRUE);
    SetForegroundWindow(web.mainWindow);
    return 1;
}

} // namespace

int ToggleParamsWindow() {
    HWND open = gParamsWindow;
    if (open == nullptr) {
        return OpenParamsWindow();
    }
    // Through the queue, as the system's close button does: WM_DESTROY then comes from DestroyWindow itself.
    PostMessageW(open, WM_CLOSE, 0, 0);
    return 1;
}
