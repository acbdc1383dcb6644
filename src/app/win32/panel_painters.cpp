#include "app/win32/panel_painters.h"

#include "app/main_window_layout.h"
#include "platform/paint_memo.h"
#include "app/panel_layout.h"
#include "app/subsystem_states.h"
#include "platform/win32/draw_helpers.h"
#include "app/win32/light_layer.h"
#include "platform/win32/scoped_win.h"
#include "platform/win32/timer_cost.h"
#include "platform/win32/wide_text.h"
#include "session/user_texts.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <iterator>
#include <string>
#include <tuple>

namespace {

constexpr COLORREF kYellow = RGB(255, 255, 0);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kHelpTextColour = RGB(20, 255, 71);

constexpr RECT kTitleRect{125, 15, 425, 35};
constexpr int kTitleFontHeight = 30;
constexpr int kChannelNameFontHeight = 16;
constexpr RECT kHelpBannerRect{10, 45, 540, 65};
constexpr RECT kHelpBannerFrame{8, 43, 542, 67};
constexpr int kHelpFontHeight = 17;

RECT ToRect(Rect r) {
    return RECT{r.left, r.top, r.right, r.bottom};
}

// One line of text centred across `rect`; a background colour makes it opaque.
void DrawCentredText(HDC dc, const std::wstring& text, RECT rect, int fontHeight, COLORREF colour,
                     const COLORREF* background, UINT extraFormat) {
    const ScopedTextStyle style(dc, fontHeight, colour, background);
    if (style.Ready()) {
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rect,
                  DT_CENTER | DT_SINGLELINE | extraFormat);
    }
}

void FrameWithColour(HDC dc, RECT rect, COLORREF colour) {
    const ScopedBrush brush(CreateSolidBrush(colour));
    if (brush) {
        FrameRect(dc, &rect, brush.get());
    }
}

// Runs a painter on the main window's device context unless it drew the same inputs since the window was
// last exposed; no window or no context, no painting.
template <typename Inputs, typename Painter>
void PaintOnMainWindow(PaintMemo<Inputs>& memo, const Inputs& inputs, Painter paint) {
    if (!memo.ShouldPaint(inputs, MainWindowExposures())) {
        return;
    }
    const ScopedGetDC dc(MainThread().handles.mainWindow);
    if (dc) {
        paint(dc.get());
    } else {
        memo.Forget();
    }
}

template <std::size_t N> std::array<LedColour, N> Load(const std::atomic<LedColour> (&values)[N]) {
    std::array<LedColour, N> loaded{};
    for (std::size_t i = 0; i < N; ++i) {
        loaded[i] = values[i].load(std::memory_order_relaxed);
    }
    return loaded;
}

// The label's box, measured once: selecting a font into a window's context costs Wine's X11 driver a search
// for resource files each time, and the ring ticks twenty times a second.
Rect NetworkLabelBox(HDC dc) {
    static Rect box{};
    if (box.IsEmpty()) {
        box = LabelBox(dc, kNetworkLabel, kNetworkLabelPosition.x, kNetworkLabelPosition.y);
    }
    return box;
}

// The ring's lights leave the label's box alone, so that the label, drawn after them, need not be drawn again
// when only a light changes.
LightLayer& RingLights(HDC dc, const IndicatorLights& lights) {
    static LightLayer ring;
    ring.Clear();
    for (int i = 0; i < kNetworkRingLights; ++i) {
        ring.Add(lights.ring[i].load(std::memory_order_relaxed), RingLightPosition(i));
    }
    ring.Spare(NetworkLabelBox(dc));
    return ring;
}

std::string HelpText(const MainThreadState& mainThread) {
    return std::string(std::begin(mainThread.helpText),
                       std::find(std::begin(mainThread.helpText), std::end(mainThread.helpText), '\0'));
}

} // namespace

void PaintStatusLights(HDC dc, const IndicatorLights& lights, int errorLevel, const WindowHandles& handles,
                       bool mainWindowInFront, bool onlyChanges) {
    static LightLayer panelLights;
    static LightLayer foregroundLights;
    panelLights.Clear();
    for (const StatusLight& light : kStatusLights) {
        panelLights.Add((lights.*light.state).load(std::memory_order_relaxed), light.lightPosition);
    }
    const auto levelLights = ErrorLevelLights(errorLevel);
    for (std::size_t i = 0; i < levelLights.size(); ++i) {
        panelLights.Add(levelLights[i], kErrorLevelLightPositions[i]);
    }
    // A group of its own: composed with the panel, the two far-apart lights would make one wide copy.
    foregroundLights.Clear();
    for (const Point at : kForegroundLightPositions) {
        foregroundLights.Add(mainWindowInFront ? kLedGreen : kLedRed, at);
    }
    for (LightLayer* layer : {&panelLights, &foregroundLights}) {
        if (onlyChanges) {
            layer->DrawChangesOn(dc, handles);
        } else {
            layer->DrawOn(dc, handles);
        }
    }
}

// The labels sit clear of the lights: drawing lights leaves them whole, so they are drawn again only when the
// window was exposed or the background changed.
void PaintStatusLabels(HDC dc, COLORREF background) {
    for (const StatusLight& light : kStatusLights) {
        DrawLabel(dc, light.label, light.labelPosition.x, light.labelPosition.y, background);
    }
    DrawLabel(dc, kErrorLevelLabel, kErrorLevelLabelPosition.x, kErrorLevelLabelPosition.y, background);
}

void DrawTitle(HDC dc) {
    if (dc == nullptr) {
        return;
    }
    const COLORREF background = Account().backgroundColour;
    // The 30-pixel font cell is taller than the title area: centred vertically, the capitals fit inside it
    // whole instead of losing their feet, and the background stays clear of the help banner's frame.
    DrawCentredText(dc, WideFromUtf8(kMainWindowTitle), kTitleRect, kTitleFontHeight, kYellow, &background,
                    DT_VCENTER);
}

void PaintChannelPanel(HDC dc, const SharedState& shared, const WindowHandles& handles, COLORREF background) {
    const ChannelPanelContent content = DescribeChannelPanel(
        shared.channelPort.load(std::memory_order_relaxed), shared.channelMembers.CurrentChannelCount());
    DrawBitmap(dc, handles.channelImages[0], kChannelBackgroundPosition.x, kChannelBackgroundPosition.y);
    if (content.channelImage > 0) {
        DrawTransparentBitmap(dc, handles.channelImages[content.channelImage], kChannelImagePosition.x,
                              kChannelImagePosition.y);
    }
    FrameWithColour(dc, ToRect(kChannelPanelZone), kRed);
    if (content.name != nullptr) {
        DrawCentredText(dc, WideFromUtf8(content.name), ToRect(kChannelNameRect), kChannelNameFontHeight,
                        kYellow, nullptr, 0);
    }
    DrawLabel(dc, content.memberCount, kMemberCountPosition.x, kMemberCountPosition.y, background);
    DrawLabel(dc, kChannelLabel, kChannelLabelPosition.x, kChannelLabelPosition.y, background);
}

void PaintNetworkRing(HDC dc, const IndicatorLights& lights, const WindowHandles& handles,
                      COLORREF background) {
    RingLights(dc, lights).DrawOn(dc, handles);
    DrawLabel(dc, kNetworkLabel, kNetworkLabelPosition.x, kNetworkLabelPosition.y, background);
}

void PaintNetworkRingChanges(HDC dc, const IndicatorLights& lights, const WindowHandles& handles) {
    RingLights(dc, lights).DrawChangesOn(dc, handles);
}

void PaintHelpBanner(HDC dc, const MainThreadState& mainThread, COLORREF background) {
    FrameWithColour(dc, kHelpBannerFrame, kYellow);
    RECT banner = kHelpBannerRect;
    FillRect(dc, &banner, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    DrawCentredText(dc, WideFromUtf8(HelpText(mainThread).c_str()), banner, kHelpFontHeight, kHelpTextColour,
                    &background, DT_VCENTER);
}

void CALLBACK ChannelPanelTimerProc(HWND, UINT, UINT_PTR, DWORD) {
    const TimerCost cost("channel panel");
    const MainThreadState& mainThread = MainThread();
    if (!mainThread.panelsReady) {
        return;
    }
    const SharedState& shared = Shared();
    const std::uint32_t background = Account().backgroundColour;
    static PaintMemo<std::tuple<int, int, std::uint32_t>> memo;
    const std::tuple inputs{shared.channelPort.load(std::memory_order_relaxed),
                            shared.channelMembers.CurrentChannelCount(), background};
    PaintOnMainWindow(memo, inputs,
                      [&](HDC dc) { PaintChannelPanel(dc, shared, mainThread.handles, background); });
}

void CALLBACK NetworkRingTimerProc(HWND, UINT, UINT_PTR, DWORD) {
    const TimerCost cost("network ring");
    const IndicatorLights& lights = Shared().lights;
    const WindowHandles& handles = MainThread().handles;
    const std::uint32_t background = Account().backgroundColour;
    static PaintMemo<std::array<LedColour, kNetworkRingLights>> lightsMemo;
    static PaintMemo<std::uint32_t> wholeMemo;
    const unsigned exposures = MainWindowExposures();
    // A wiped window or a new background takes the whole ring; otherwise the lights that changed suffice.
    const bool whole = wholeMemo.ShouldPaint(background, exposures);
    const bool lightsChanged = lightsMemo.ShouldPaint(Load(lights.ring), exposures);
    if (!whole && !lightsChanged) {
        return;
    }
    const ScopedGetDC dc(handles.mainWindow);
    if (!dc) {
        wholeMemo.Forget();
        lightsMemo.Forget();
    } else if (whole) {
        PaintNetworkRing(dc.get(), lights, handles, background);
    } else {
        PaintNetworkRingChanges(dc.get(), lights, handles);
    }
}

void CALLBACK HelpBannerTimerProc(HWND, UINT, UINT_PTR, DWORD) {
    const TimerCost cost("help banner");
    const MainThreadState& mainThread = MainThread();
    const std::uint32_t background = Account().backgroundColour;
    static PaintMemo<std::tuple<std::string, std::uint32_t>> memo;
    PaintOnMainWindow(memo, std::tuple{HelpText(mainThread), background},
                      [&](HDC dc) { PaintHelpBanner(dc, mainThread, background); });
}

void CALLBACK StatusPanelTimerProc(HWND, UINT, UINT_PTR, DWORD) {
    const TimerCost cost("status panel");
    const MainThreadState& mainThread = MainThread();
    const WindowHandles& handles = mainThread.handles;
    const IndicatorLights& shownLights = Shared().lights;
    const int errorLevel = Voice().errorLevel.load(std::memory_order_relaxed);
    const bool inFront = mainThread.mainWindowInFront;
    std::array<LedColour, std::size(kStatusLights)> lights{};
    for (std::size_t i = 0; i < lights.size(); ++i) {
        lights[i] = (shownLights.*kStatusLights[i].state).load(std::memory_order_relaxed);
    }
    static PaintMemo<std::tuple<decltype(lights), int, bool>> lightsMemo;
    static PaintMemo<bool> wholeMemo;
    const unsigned exposures = MainWindowExposures();
    if (lightsMemo.ShouldPaint(std::tuple{lights, errorLevel, inFront}, exposures)) {
        // A wiped window takes every light; otherwise a blink touches only the light that blinks.
        const bool whole = wholeMemo.ShouldPaint(true, exposures);
        const ScopedGetDC dc(handles.mainWindow);
        if (dc) {
            PaintStatusLights(dc.get(), shownLights, errorLevel, handles, inFront, !whole);
        } else {
            lightsMemo.Forget();
            wholeMemo.Forget();
        }
    }
    static PaintMemo<std::uint32_t> labelsMemo;
    const std::uint32_t background = Account().backgroundColour;
    PaintOnMainWindow(labelsMemo, background, [&](HDC dc) { PaintStatusLabels(dc, background); });
}
