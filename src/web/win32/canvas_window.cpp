#include "web/win32/canvas_window.h"

#include "session/shared_state.h"
#include "web/account_state.h"
#include "web/win32/web_wiring.h"
#include "platform/win32/draw_helpers.h"
#include "platform/win32/scoped_win.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/window_class.h"
#include "web/canvas_display_list.h"
#include "web/canvas_fit.h"
#include "web/fetch_result.h"
#include "web/service_paths.h"
#include "web/win32/canvas_menu_ids.h"
#include "web/win32/https_client.h"
#include "web/win32/image_decoding.h"
#include "web/win32/shared_image_sender.h"
#include "session/user_texts.h"

#include <windows.h>

namespace {

constexpr wchar_t kCanvasClass[] = L"CanvasWndClass";
constexpr int kCanvasSize = 600;
constexpr int kSharedImageKind = 1;

// The canvas lives on the main thread, so its state needs no lock.
CanvasDisplayList gDisplayList;
bool gImageLoaded = false;      // fetched for this opening; the menu commands ask for it again
HBITMAP gSharedImage = nullptr; // kept across openings and channels until a fetch brings another
HWND gCanvasWindow = nullptr;   // null while the canvas is closed

int CurrentChannel() {
    return ChannelOfPort(Web().shared->channelPort.load(std::memory_order_relaxed));
}

// A reply without a body (no image on the channel) and a failed exchange keep the last image; a body
// replaces it, even with nothing when it does not decode or is refused.
void FetchSharedImage() {
    ResponseBuffer::Lease response = SharedResponseBuffer().Acquire();
    const FetchResult fetched = HttpsGet(response, kExchangeBase, CurrentChannel(), kSharedImageKind);
    if (fetched.status != FetchStatus::Body) {
        return;
    }
    HBITMAP decoded = DecodeImageBitmap(response, static_cast<int>(fetched.size));
    if (gSharedImage != nullptr) {
        DeleteObject(gSharedImage);
    }
    gSharedImage = decoded;
}

void SetScrollRangeFromZero(HWND canvas, int bar, int maximum) {
    SetScrollRange(canvas, bar, 0, maximum, TRUE);
    SetScrollPos(canvas, bar, 0, TRUE);
}

void DrawSharedImage(HWND canvas, HDC dc) {
    if (!gImageLoaded) {
        FetchSharedImage();
        gImageLoaded = true;
    }
    BITMAP image{};
    if (gSharedImage == nullptr || GetObjectW(gSharedImage, sizeof image, &image) == 0) {
        return;
    }
    RECT client{};
    GetClientRect(canvas, &client);
    SetScrollRangeFromZero(canvas, SB_HORZ, image.bmWidth - kCanvasSize);
    SetScrollRangeFromZero(canvas, SB_VERT, image.bmHeight - kCanvasSize);
    const ImagePlacement placed = FitAndCentre(client.right, client.bottom, image.bmWidth, image.bmHeight);
    DrawStretchedBitmap(dc, gSharedImage, placed.x, placed.y, placed.width, placed.height);
}

void Refresh(HWND canvas) {
    gImageLoaded = false;
    InvalidateRect(canvas, nullptr, TRUE);
}

LRESULT CALLBACK CanvasWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT: {
        const ScopedPaint paint(window);
        gDisplayList.ForEach([&](CanvasItem item) {
            if (item == CanvasItem::kSharedImage) {
                DrawSharedImage(window, paint.get());
            }
        });
        return 0;
    }
    case WM_COMMAND:
        if (LOWORD(wParam) == IDM_CANVAS_SEND) {
            // Sent or not, the canvas then shows what the channel shares now.
            SendSharedImage(CurrentChannel());
            Refresh(window);
        } else if (LOWORD(wParam) == IDM_CANVAS_RELOAD) {
            Refresh(window);
        }
        return 0;
    case WM_LBUTTONUP:
        // The keyboard belongs to the main window: the talk key must keep working.
        SetForegroundWindow(Web().mainWindow);
        return 0;
    case WM_DESTROY: {
        gCanvasWindow = nullptr;
        gImageLoaded = false;
        return 0;
    }
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

} // namespace

void OpenCanvas() {
    const WebWiring& web = Web();
    if (web.shared->channelPort.load(std::memory_order_relaxed) == kFirstChannelPort) {
        return;
    }
    if (gCanvasWindow != nullptr) {
        // Closed through the queue, like the close box, so the window is destroyed and not just told so.
        PostMessageW(gCanvasWindow, WM_CLOSE, 0, 0);
        return;
    }
    RECT mainRect{};
    GetWindowRect(web.mainWindow, &mainRect);
    HINSTANCE instance = web.instance;
    WindowClassLook look;
    look.style = CS_HREDRAW | CS_VREDRAW;
    look.background = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1));
    look.icon = LoadIconW(nullptr, MAKEINTRESOURCEW(32512)); // IDI_APPLICATION
    look.smallIcon = look.icon;
    look.cursor = ArrowCursor();
    look.menu = MAKEINTRESOURCEW(IDR_CANVAS_MENU);
    RegisterWindowClass(instance, kCanvasClass, CanvasWindowProc, look);
    HWND canvas = CreateWindowExW(0, kCanvasClass, WideFromUtf8(kCanvasTitle).c_str(), WS_OVERLAPPEDWINDOW,
                                  mainRect.left - 200, mainRect.top + 50, kCanvasSize, kCanvasSize,
                                  web.mainWindow, nullptr, instance, nullptr);
    if (canvas == nullptr) {
        return; // nothing is marked open, so a later click tries again
    }
    gCanvasWindow = canvas;
    gDisplayList.ShowSharedImage();
    ShowWindow(canvas, SW_SHOW);
    SetForegroundWindow(web.mainWindow);
}
