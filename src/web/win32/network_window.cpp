#include "web/win32/network_window.h"

#include "session/shared_state.h"
#include "web/account_state.h"
#include "web/win32/web_wiring.h"
#include "platform/win32/scoped_win.h"
#include "platform/win32/timer_cost.h"
#include "web/member_grids.h"
#include "web/member_walk.h"
#include "web/win32/member_picture.h"
#include "web/win32/rising_window.h"
#include "session/user_texts.h"

namespace {

constexpr UINT_PTR kRedrawTimer = 13;
constexpr COLORREF kYellow = RGB(255, 255, 0);
constexpr COLORREF kGreen = RGB(0, 255, 0);

RisingWindowState networkWindow;
GridRedrawMemo redrawMemo;

LRESULT CALLBACK NetworkWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

const RisingWindow kNetworkWindow{
    .className = L"NetworkWndClass",
    .title = kNetworkWindowTitle,
    .procedure = NetworkWindowProc,
    .classStyle = CS_HREDRAW | CS_VREDRAW,
    .background = kYellow,
    .offset = {-50, 200},
    .anchorRight = true,
    .growth = kNetworkGrowth,
    .refreshTimer = kRedrawTimer,
};

bool OnAChannel() {
    return Web().shared->channelPort.load(std::memory_order_relaxed) != kFirstChannelPort;
}

void DrawGrid(HDC dc, int channel) {
    const MemberList members = Web().shared->channelMembers.Snapshot(channel);
    const int used = WalkChannelMembers(members, [dc](int account, int place) {
        const std::optional<Rect> cell = NetworkCell(place);
        return cell && DrawMemberPicture(dc, account, *cell);
    });
    const CellRange empty = EmptyCells(used, members.count);
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
        if (networkWindow.isReady) {
            DrawNetworkMembers(GridPass::Repaint);
        }
        return 0;
    }
    case WM_TIMER:
        if (wParam == kRedrawTimer && networkWindow.isReady) {
            const TimerCost cost("network grid");
            DrawNetworkMembers(GridPass::Tick);
        }
        return 0;
    case WM_DESTROY:
        ForgetRisingWindow(kNetworkWindow, networkWindow);
        redrawMemo.Forget();
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
    return ToggleRisingWindow(kNetworkWindow, networkWindow);
}

void DrawNetworkMembers(GridPass pass) {
    const ScopedGetDC dc(networkWindow.window);
    if (!dc) {
        return;
    }
    if (!OnAChannel()) {
        PostMessageW(networkWindow.window, WM_CLOSE, 0, 0);
        return;
    }
    const int channel = ChannelOfPort(Web().shared->channelPort.load(std::memory_order_relaxed));
    const int current = Web().shared->channelMembers.CurrentChannelCount();
    if (pass == GridPass::Tick && !redrawMemo.TickDraws(current)) {
        return;
    }
    DrawGrid(dc.get(), channel);
    if (pass == GridPass::Tick) {
        // The count the pass started from: a change during the pass is drawn at the next tick.
        redrawMemo.NoteTickDrew(current);
    }
}
