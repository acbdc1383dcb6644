#include "web/win32/network_window.h"

#include "session/session_state.h"
#include "platform/win32/scoped_win.h"
#include "platform/win32/timer_cost.h"
#include "web/member_grids.h"
#include "web/member_walk.h"
#include "web/win32/member_picture.h"
#include "web/win32/rising_window.h"

namespace {

constexpr UINT_PTR kRedrawTimer = 13;
constexpr UINT kRedrawPeriodMs = 1000;
constexpr COLORREF kYellow = RGB(255, 255, 0);
constexpr COLORREF kGreen = RGB(0, 255, 0);

HWND networkWindow = nullptr;
bool isOpen = false;
bool isReady = false; // drawing waits for the opening animation's end
GridRedrawMemo redrawMemo;

LRESULT CALLBACK NetworkWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

const RisingWindow kNetworkWindow{
    .className = L"NetworkWndClass",
    .title = L"Zelvora Network",
    .procedure = NetworkWindowProc,
    .classStyle = CS_HREDRAW | CS_VREDRAW,
    .background = kYellow,
    .offset = {-50, 200},
    .anchorRight = true,
    .growth = kNetworkGrowth,
};

bool OnAChannel() {
    return Session().channelPort.load(std::memory_order_relaxed) != kFirstChannelPort;
}

void DrawGrid(HDC dc, int channel) {
    const int used = WalkChannelMembers(Session(), channel, [dc](int account, int place) {
        const std::optional<Rect> cell = NetworkCell(place);
        return cell && DrawMemberPicture(dc, account, *cell);
    });
    const CellRange empty = EmptyCells(used, Session().channelMemberCounts[channel].load());
    const ScopedBrush green(CreateSolidBrush(kGreen));
    for (int cell = empty.first; cell < empty.end; ++cell) {
        const Rect c = *NetworkCell(cell);
        const RECT rect{c.left, c.top, c.right, c.bottom};
        FillRect(dc, &rect, green.get());
    }
}

LRESULT CALLBACK NetworkWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        return 0;
    case WM_PAINT: {
        const ScopedPaint paint(window);
        if (isReady) {
            DrawNetworkMembers(GridPass::Repaint);
        }
        return 0;
    }
    case WM_TIMER:
        if (wParam == kRedrawTimer && isReady) {
            const TimerCost cost("network grid");
            DrawNetworkMembers(GridPass::Tick);
        }
        return 0;
    case WM_DESTROY:
        KillTimer(window, kRedrawTimer);
        networkWindow = nullptr;
        isOpen = false;
        isReady = false;
        return 0;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

} // namespace

int OpenNetworkWindow() {
    if (!OnAChannel()) {
        return 1;
    }
    if (isOpen) {
        // The close box's way, so the window is destroyed once.
        PostMessageW(networkWindow, WM_CLOSE, 0, 0);
        return 1;
    }
    isOpen = true;
    isReady = false;
    redrawMemo.Forget();
    networkWindow = OpenRisingWindow(kNetworkWindow);
    if (networkWindow == nullptr) {
        isOpen = false; // a later click may try again
        return 0;
    }
    isReady = true;
    ReturnFocusToMainWindow();
    SetTimer(networkWindow, kRedrawTimer, kRedrawPeriodMs, nullptr);
    return 1;
}

void DrawNetworkMembers(GridPass pass) {
    const ScopedGetDC dc(networkWindow);
    if (!dc) {
        return;
    }
    if (!OnAChannel()) {
        PostMessageW(networkWindow, WM_CLOSE, 0, 0);
        return;
    }
    const int channel = ChannelOfPort(Session().channelPort.load(std::memory_order_relaxed));
    const int current =
        Session().channelMemberCounts[kCurrentChannelCountIndex].load(std::memory_order_relaxed);
    if (pass == GridPass::Tick && !redrawMemo.TickDraws(current)) {
        return;
    }
    DrawGrid(dc.get(), channel);
    if (pass == GridPass::Tick) {
        // The count the pass started from: a change during the pass is drawn at the next tick.
        redrawMemo.NoteTickDrew(current);
    }
}
