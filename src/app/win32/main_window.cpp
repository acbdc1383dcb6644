#include "app/win32/main_window.h"

#include "app/win32/peripheral_states.h"
#include "app/hover_help.h"
#include "app/main_window_input.h"
#include "app/main_window_layout.h"
#include "app/main_thread_state.h"
#include "app/subsystem_states.h"
#include "app/win32/about_box.h"
#include "app/win32/close_button.h"
#include "app/win32/main_window_paint.h"
#include "app/win32/site_page.h"
#include "app/win32/title_animation.h"
#include "audio/win32/endpoint_volume.h"
#include "peripherals/synth_link.h"
#include "peripherals/win32/synthesiser_toggle.h"
#include "platform/win32/timer_cost.h"
#include "platform/win32/message_box.h"
#include "settings/win32/params_window.h"
#include "web/win32/canvas_window.h"
#include "web/win32/group_list_window.h"
#include "web/win32/network_window.h"
#include "session/user_texts.h"

#include <windowsx.h>

#include <cstring>

namespace {

constexpr WPARAM kCloseCommand = 105;

void CopyText(char* destination, size_t capacity, const char* text) {
    std::strncpy(destination, text, capacity - 1);
    destination[capacity - 1] = '\0';
}

LRESULT HitTest(HWND window, LPARAM lParam) {
    RECT windowRect;
    GetWindowRect(window, &windowRect);
    const Point p{GET_X_LPARAM(lParam) - windowRect.left, GET_Y_LPARAM(lParam) - windowRect.top};
    return MainThread().zones.drag.Contains(p) ? HTCAPTION : HTCLIENT;
}

void OnLeftClick(HWND window, Point p) {
    const Zones& zones = MainThread().zones;
    SystemEndpointLevels levels;
    if (TurnKnobAt(zones, p, levels)) {
        return;
    }
    switch (ClickActionAt(zones, p)) {
    case ClickAction::Documentation:
        OpenSitePage("/FR-Zelvora.php");
        break;
    case ClickAction::AboutBox:
        ShowAboutBox(window);
        break;
    case ClickAction::Close:
        PostMessageW(window, WM_DESTROY, 0, 0);
        break;
    case ClickAction::StartSynthesiser:
        ToggleSynthesiser(Synth(), StatusLine{window, kBottomFrame, Account().backgroundColour});
        break;
    case ClickAction::GroupList:
        OpenGroupList();
        break;
    case ClickAction::NetworkWindow:
        OpenNetworkWindow();
        break;
    case ClickAction::Canvas:
        OpenCanvas();
        break;
    case ClickAction::ParamsKnob:
        ToggleParamsWindow();
        break;
    case ClickAction::VolumeKnob:
    case ClickAction::MicGainKnob:
    case ClickAction::None:
        break;
    }
}

void OnRightClick(Point p) {
    MainThreadState& mainThread = MainThread();
    const SpokenHelp help = SpokenHelpFor(mainThread.zones, p);
    if (help.resetsHelpBanner) {
        CopyText(mainThread.helpText, sizeof mainThread.helpText, kWelcomeToTheNetwork);
    }
    CopyText(mainThread.spokenHelp, sizeof mainThread.spokenHelp, help.text);
    SendSpeechText(Synth(), mainThread.spokenHelp);
}

void OnMouseMove(HWND window, Point p) {
    UpdateCloseButtonHover(window, POINT{p.x, p.y});
    MainThreadState& mainThread = MainThread();
    CopyText(mainThread.helpText, sizeof mainThread.helpText, HoverHelpText(mainThread.zones, p));
}

void OnKeyDown(HWND window, WPARAM virtualKey) {
    const KeyAction action = KeyActionFor(static_cast<unsigned>(virtualKey));
    SharedState& shared = Shared();
    switch (action.kind) {
    case KeyAction::Close:
        PostMessageW(window, WM_DESTROY, 0, 0);
        break;
    case KeyAction::Talk:
        shared.pushToTalk.SetKeyState(kPttTalk);
        break;
    case KeyAction::SelectChannel:
        shared.channelMembers.ForgetCurrentChannelCount();
        shared.channelPort.store(action.channelPort);
        break;
    case KeyAction::AboutBox:
        ShowAboutBox(window);
        break;
    case KeyAction::Inactive:
        // The box takes the key's release, so the activity it shows is counted now.
        MainThread().inactivitySeconds = kInactivityStartSeconds;
        ShowMessageBox(window, kKeyIsInactive, kKeyboardInfo, MB_OK);
        break;
    }
}

// The end of the run: free what the window owns and let the message loop end.
void OnDestroy() {
    WindowHandles& handles = MainThread().handles;
    if (handles.singleInstanceLock != nullptr) {
        ReleaseMutex(handles.singleInstanceLock);
        CloseHandle(handles.singleInstanceLock);
        handles.singleInstanceLock = nullptr;
    }
    for (HBITMAP__*& image : handles.channelImages) {
        if (image != nullptr) {
            DeleteObject(image);
            image = nullptr;
        }
    }
    PostQuitMessage(0);
}

Point PointOf(LPARAM lParam) {
    return Point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
}

} // namespace

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_NCHITTEST:
        return HitTest(window, lParam);
    case WM_PAINT:
        PaintMainWindow(window);
        return 0;
    case WM_MOUSEMOVE:
        OnMouseMove(window, PointOf(lParam));
        return 0;
    case WM_LBUTTONDOWN:
        OnLeftClick(window, PointOf(lParam));
        return 0;
    case WM_RBUTTONDOWN:
        OnRightClick(PointOf(lParam));
        return 0;
    case WM_KEYDOWN:
        OnKeyDown(window, wParam);
        return 0;
    case WM_KEYUP:
        HandleKeyRelease(MainThread(), Shared().pushToTalk, static_cast<unsigned>(wParam));
        return 0;
    case WM_ACTIVATE:
        // The window is the foreground one exactly while it is the active window of the foreground thread.
        MainThread().mainWindowInFront = LOWORD(wParam) != WA_INACTIVE;
        return DefWindowProcW(window, message, wParam, lParam);
    case WM_KILLFOCUS:
        // The space bar's release goes to whichever window has the keyboard now (another program, or the
        // "Info Clavier" box): without this the client would go on talking.
        Shared().pushToTalk.SetKeyState(kPttListen);
        return 0;
    case WM_TIMER:
        if (wParam == kTitleAnimationTimerId) {
            const TimerCost cost("title animation");
            DrawNextAnimationFrame(window);
        }
        return 0;
    case WM_COMMAND:
        if (LOWORD(wParam) == kCloseCommand) {
            DestroyWindow(window);
            return 0;
        }
        return DefWindowProcW(window, message, wParam, lParam);
    case WM_DESTROY:
        OnDestroy();
        return 0;
    case WM_SIZE:
    case WM_HSCROLL:
    case WM_DEVICECHANGE:
        return 0;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}
