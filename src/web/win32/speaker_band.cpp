#include "web/win32/speaker_band.h"

#include "session/shared_state.h"
#include "web/account_state.h"
#include "web/win32/web_wiring.h"
#include "platform/win32/draw_helpers.h"
#include "platform/win32/scoped_win.h"
#include "web/blur_tint.h"
#include "platform/win32/top_down_bitmap.h"

#include <span>

namespace {

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kYellow = RGB(255, 255, 0);

// A top-down 32-bit bitmap whose pixels the program reads and writes directly.
HBITMAP CreatePixelBitmap(HDC compatible, int width, int height, std::span<std::uint32_t>* pixels) {
    BITMAPINFO info = TopDown32BitmapInfo(width, height);
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(compatible, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap != nullptr) {
        *pixels = std::span(static_cast<std::uint32_t*>(bits),
                            static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    }
    return bitmap;
}

// The framed picture shown, empty when none is: pictures differ in size, a new one may not cover the last.
RECT gShownPicture{};

void FillWithBackground(HDC dc, const RECT& rect) {
    const ScopedBrush brush(CreateSolidBrush(Web().account->backgroundColour));
    if (brush) {
        FillRect(dc, &rect, brush.get());
    }
}

// Paints the background over the picture shown, except over `kept`, which is about to be drawn on.
void ForgetShownPicture(HDC dc, const RECT& kept) {
    if (IsRectEmpty(&gShownPicture)) {
        return;
    }
    const int saved = SaveDC(dc);
    ExcludeClipRect(dc, kept.left, kept.top, kept.right, kept.bottom);
    FillWithBackground(dc, gShownPicture);
    RestoreDC(dc, saved);
    gShownPicture = RECT{};
}

RECT Win32Rect(const Rect& rect) {
    return RECT{rect.left, rect.top, rect.right, rect.bottom};
}

// A text longer than its strip is cut at the strip's edge: what it drew past it, no clearing would take away.
void DrawTextInStrip(HDC dc, const char* utf8, Point at, const Rect& strip, COLORREF colour) {
    const int saved = SaveDC(dc);
    IntersectClipRect(dc, strip.left, strip.top, strip.right, strip.bottom);
    DrawUtf8Text(dc, utf8, at.x, at.y, colour);
    RestoreDC(dc, saved);
}

void ClearDetailStrips(HDC dc) {
    const SpeakerBandPlaces& places = Web().speakerBand;
    FillWithBackground(dc, Win32Rect(places.nameStrip));
    FillWithBackground(dc, Win32Rect(places.phraseStrip));
}

} // namespace

bool ShowSpeakerPicture(HWND mainWindow, HBITMAP picture) {
    BITMAP size{};
    if (picture == nullptr || GetObjectW(picture, sizeof size, &size) == 0) {
        return false;
    }
    const ScopedGetDC dc(mainWindow);
    if (!dc) {
        return false;
    }
    const Point origin = Web().speakerBand.picture;
    const RECT frame{origin.x, origin.y, origin.x + size.bmWidth, origin.y + size.bmHeight};
    ForgetShownPicture(dc.get(), frame);
    DrawBitmap(dc.get(), picture, origin.x, origin.y);
    const ScopedBrush red(CreateSolidBrush(kRed));
    if (red) {
        FrameRect(dc.get(), &frame, red.get());
    }
    gShownPicture = frame;
    return true;
}

void ClearSpeakerPicture(HWND mainWindow) {
    const ScopedGetDC dc(mainWindow);
    if (dc) {
        ForgetShownPicture(dc.get(), RECT{});
    }
}

void ClearSpeakerDetails(HWND mainWindow) {
    const ScopedGetDC dc(mainWindow);
    if (dc) {
        ClearDetailStrips(dc.get());
    }
}

void ShowSpeakerDetails(HWND mainWindow, const SpeakerDetails& details) {
    const ScopedGetDC dc(mainWindow);
    if (dc) {
        DrawSpeakerDetails(dc.get(), details);
    }
}

void DrawSpeakerDetails(HDC dc, const SpeakerDetails& details) {
    // The previous speaker's phrase is not blurred into the new one's strip.
    ClearDetailStrips(dc);
    const SpeakerBandPlaces& places = Web().speakerBand;
    DrawTextInStrip(dc, details.firstName, places.firstName, places.nameStrip, kWhite);
    DrawTextInStrip(dc, details.town, places.town, places.nameStrip, kWhite);
    BlurTintRect(dc, Win32Rect(places.phraseStrip));
    const Point phraseAt{places.phraseStrip.left, places.phraseStrip.top};
    DrawTextInStrip(dc, details.phrase, phraseAt, places.phraseStrip, kYellow);
}

void BlurTintRect(HDC target, const RECT& rect) {
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    if (target == nullptr || width <= 0 || height <= 0) {
        return;
    }
    const ScopedGetDC window(Web().mainWindow);
    if (!window) {
        return;
    }
    std::span<std::uint32_t> pixels;
    const ScopedBitmap bitmap(CreatePixelBitmap(window.get(), width, height, &pixels));
    const ScopedMemoryDC canvas(window.get());
    const ScopedSelect selected(canvas.get(), bitmap.get());
    if (!selected.Ok()) {
        return;
    }
    BitBlt(canvas.get(), 0, 0, width, height, window.get(), rect.left, rect.top, SRCCOPY);
    GdiFlush(); // the pixels are read directly
    BlurTint(pixels, width, height);
    BitBlt(target, rect.left, rect.top, width, height, canvas.get(), 0, 0, SRCCOPY);
}
