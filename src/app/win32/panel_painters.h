#pragma once

#include "app/main_thread_state.h"
#include "session/shared_state.h"

#include <windows.h>

// The panels of the main window that timers repaint over whatever is there.

// "ZELVORA" centred in the title area, yellow on the background colour.
void DrawTitle(HDC dc);

// Each painter draws its panel on the given device context from the state it shows.
void PaintChannelPanel(HDC dc, const SharedState& shared, const WindowHandles& handles, COLORREF background);
// The status panel in two parts its timer memoises apart: the lights, and the labels beside them. With
// `onlyChanges`, only the lights that changed since the last painting, which `dc` still shows.
void PaintStatusLights(HDC dc, const IndicatorLights& lights, int errorLevel, const WindowHandles& handles,
                       bool mainWindowInFront, bool onlyChanges);
void PaintStatusLabels(HDC dc, COLORREF background);
void PaintNetworkRing(HDC dc, const IndicatorLights& lights, const WindowHandles& handles,
                      COLORREF background);
// Only the ring's lights that changed since its last painting, which `dc` still shows.
void PaintNetworkRingChanges(HDC dc, const IndicatorLights& lights, const WindowHandles& handles);
void PaintHelpBanner(HDC dc, const MainThreadState& mainThread, COLORREF background);

// Thread-timer routines: each paints its panel on the main window's device context.
void CALLBACK ChannelPanelTimerProc(HWND, UINT, UINT_PTR, DWORD);
void CALLBACK NetworkRingTimerProc(HWND, UINT, UINT_PTR, DWORD);
void CALLBACK HelpBannerTimerProc(HWND, UINT, UINT_PTR, DWORD);
void CALLBACK StatusPanelTimerProc(HWND, UINT, UINT_PTR, DWORD);
