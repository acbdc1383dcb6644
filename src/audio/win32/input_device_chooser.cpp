#include "audio/win32/input_device_chooser.h"

#include "audio/audio_state.h"
#include "audio/input_devices.h"
#include "audio/win32/audio_wiring.h"
#include "audio/win32/endpoint_description.h"
#include "platform/win32/window_class.h"
#include "platform/win32/wide_text.h"
#include "session/user_texts.h"

#include <windows.h>

#include <mmsystem.h>

#include <string>
#include <vector>

namespace {

constexpr wchar_t kChooserClass[] = L"InputDeviceWndClass";
constexpr COLORREF kChooserBackground = RGB(127, 127, 127);
constexpr int kChooserWidth = 400;
constexpr int kChooserHeight = 500;
constexpr int kButtonLeft = 10;
constexpr int kButtonTop = 10;
constexpr int kButtonPitch = 30;
constexpr int kButtonWidth = 350;
constexpr int kButtonHeight = 25;

// The chooser lives on the main thread: null while it is closed.
HWND gChooser = nullptr;
void (*gOnClosed)() = nullptr;

std::vector<std::string> WaveInNames() {
    std::vector<std::string> names;
    const UINT count = waveInGetNumDevs();
    for (UINT device = 0; device < count && device < kInputDeviceSlots; ++device) {
        WAVEINCAPSW caps{};
        const bool known = waveInGetDevCapsW(device, &caps, sizeof caps) == MMSYSERR_NOERROR;
        names.push_back(known ? Utf8FromWide(caps.szPname) : std::string());
    }
    return names;
}

std::vector<CaptureEndpoint> CaptureEndpoints() {
    std::vector<CaptureEndpoint> endpoints;
    EndpointDescription description;
    for (int position = 0; position < kInputDeviceSlots && DescribeCaptureEndpoint(position, description);
         ++position) {
        endpoints.push_back({description.name, description.iconLocation});
    }
    return endpoints;
}

// Buttons are made once per opening, from the slots as they were just filled.
void CreateButtons(HWND chooser) {
    const AudioState& audio = *AudioWindows().audio;
    for (int i = 0; i < kInputDeviceSlots; ++i) {
        HWND button = CreateWindowExW(0, L"BUTTON", WideFromUtf8(audio.inputDevices[i].buttonText).c_str(),
                                      WS_CHILD | WS_VISIBLE | BS_RADIOBUTTON, kButtonLeft,
                                      kButtonTop + kButtonPitch * i, kButtonWidth, kButtonHeight, chooser,
                                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(i)), nullptr, nullptr);
        if (button != nullptr && i == audio.selectedInputDevice.load()) {
            SendMessageW(button, BM_SETCHECK, BST_CHECKED, 0);
        }
    }
}

// Closing goes through the message queue, so a button's own notification never destroys it under itself.
void CloseChooser(HWND chooser) {
    PostMessageW(chooser, WM_CLOSE, 0, 0);
}

LRESULT CALLBACK ChooserWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        return 0;
    case WM_COMMAND: {
        AudioState& audio = *AudioWindows().audio;
        CloseChooser(window);
        audio.selectedInputDevice.store(
            ChosenInputDevice(audio.inputDevices, LOWORD(wParam), audio.selectedInputDevice.load()));
        return 0;
    }
    case WM_DESTROY: {
        gChooser = nullptr;
        if (gOnClosed != nullptr) {
            gOnClosed();
        }
        return 0;
    }
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

void OpenChooser() {
    const AudioWiring& wiring = AudioWindows();
    RECT mainRect{};
    GetWindowRect(wiring.mainWindow, &mainRect);
    HINSTANCE instance = wiring.instance;
    WindowClassLook look;
    look.background = CreateSolidBrush(kChooserBackground);
    look.cursor = ArrowCursor();
    RegisterWindowClass(instance, kChooserClass, ChooserWindowProc, look);
    HWND chooser =
        CreateWindowExW(0, kChooserClass, WideFromUtf8(kInputDeviceTitle).c_str(), WS_VISIBLE | WS_SYSMENU,
                        mainRect.left - 300, mainRect.top + 200, kChooserWidth, kChooserHeight,
                        wiring.mainWindow, nullptr, instance, nullptr);
    if (chooser == nullptr) {
        return;
    }
    gChooser = chooser;
    ShowWindow(chooser, SW_SHOW);
    SetForegroundWindow(wiring.mainWindow);
    FillInputDeviceSlots(WaveInNames(), CaptureEndpoints(), wiring.audio->inputDevices);
    CreateButtons(chooser);
}

} // namespace

void ToggleInputDeviceChooser(void (*onClosed)()) {
    gOnClosed = onClosed;
    if (gChooser != nullptr) {
        CloseChooser(gChooser);
    } else {
        OpenChooser();
    }
}
