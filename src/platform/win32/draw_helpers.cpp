#include "platform/win32/draw_helpers.h"

#include "platform/win32/wide_text.h"

#include <cstring>
#include <mutex>
#include <string>

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kTransparentColour = RGB(0, 0, 0);
constexpr int kLabelFontHeight = 14;

// A memory device context with a bitmap selected into it, for the length of one drawing.
class BitmapSource {
  public:
    BitmapSource(HDC dc, HBITMAP bitmap)
        : dc_(dc), selection_(dc_.get(), SizeOf(bitmap) ? bitmap : nullptr) {}

    bool Ready() const { return selection_.Ok(); }
    HDC dc() const { return dc_.get(); }

    int width = 0;
    int height = 0;

  private:
    // Reads the bitmap's size; false when it is not a bitmap, which then stays unselected.
    bool SizeOf(HBITMAP bitmap) {
        BITMAP info{};
        if (GetObjectW(bitmap, sizeof info, &info) == 0) {
            return false;
        }
        width = info.bmWidth;
        height = info.bmHeight;
        return true;
    }

    ScopedMemoryDC dc_;
    ScopedSelect selection_;
};

} // namespace

HFONT CreateBoldArial(int height) {
    return CreateFontW(height, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_TT_PRECIS,
                       CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, L"Arial");
}

HFONT SharedBoldArial(int height) {
    struct SharedFont {
        int height;
        HFONT font;
    };
    // The windows paint with a handful of heights, far fewer than the slots.
    static SharedFont fonts[16];
    static std::mutex lock;
    const std::lock_guard hold(lock);
    for (SharedFont& shared : fonts) {
        if (shared.font != nullptr && shared.height == height) {
            return shared.font;
        }
        if (shared.font == nullptr) {
            shared = SharedFont{height, CreateBoldArial(height)};
            return shared.font;
        }
    }
    return nullptr;
}

ScopedTextStyle::ScopedTextStyle(HDC dc, int fontHeight, COLORREF textColour, const COLORREF* background)
    : dc_(dc), fontSelection_(dc, SharedBoldArial(fontHeight)) {
    if (!fontSelection_.Ok()) {
        return;
    }
    oldMode_ = SetBkMode(dc_, background != nullptr ? OPAQUE : TRANSPARENT);
    oldBackground_ = background != nullptr ? SetBkColor(dc_, *background) : GetBkColor(dc_);
    oldText_ = SetTextColor(dc_, textColour);
}

ScopedTextStyle::~ScopedTextStyle() {
    if (!fontSelection_.Ok()) {
        return;
    }
    SetTextColor(dc_, oldText_);
    SetBkColor(dc_, oldBackground_);
    SetBkMode(dc_, oldMode_);
}

void DrawLabel(HDC dc, const char* text, int x, int y, COLORREF background) {
    if (dc == nullptr || text == nullptr) {
        return;
    }
    const ScopedTextStyle style(dc, kLabelFontHeight, kWhite, &background);
    if (style.Ready()) {
        TextOutA(dc, x, y, text, static_cast<int>(std::strlen(text)));
    }
}

Rect LabelBox(HDC dc, const char* text, int x, int y) {
    const ScopedSelect font(dc, SharedBoldArial(kLabelFontHeight));
    SIZE size{};
    if (dc == nullptr || text == nullptr || !font.Ok() ||
        !GetTextExtentPoint32A(dc, text, static_cast<int>(std::strlen(text)), &size)) {
        return Rect{};
    }
    return Rect{x, y, x + size.cx, y + size.cy};
}

void DrawUtf8Text(HDC dc, const char* utf8, int x, int y, COLORREF textColour) {
    if (dc == nullptr || utf8 == nullptr) {
        return;
    }
    const std::wstring wide = WideFromUtf8(utf8);
    const ScopedTextStyle style(dc, 20, textColour, nullptr);
    if (!wide.empty() && style.Ready()) {
        TextOutW(dc, x, y, wide.c_str(), static_cast<int>(wide.size()));
    }
}

void DrawTransparentBitmap(HDC dc, HBITMAP bitmap, int x, int y) {
    if (dc == nullptr || bitmap == nullptr) {
        return;
    }
    const BitmapSource source(dc, bitmap);
    if (source.Ready()) {
        TransparentBlt(dc, x, y, source.width, source.height, source.dc(), 0, 0, source.width, source.height,
                       kTransparentColour);
    }
}

void DrawBitmap(HDC dc, HBITMAP bitmap, int x, int y) {
    if (dc == nullptr || bitmap == nullptr) {
        return;
    }
    const BitmapSource source(dc, bitmap);
    if (source.Ready()) {
        BitBlt(dc, x, y, source.width, source.height, source.dc(), 0, 0, SRCCOPY);
    }
}

void DrawStretchedBitmap(HDC dc, HBITMAP bitmap, int x, int y, int width, int height) {
    if (dc == nullptr || bitmap == nullptr || width <= 0 || height <= 0) {
        return;
    }
    const ScopedBitmap scaled(CreateCompatibleBitmap(dc, width, height));
    const BitmapSource source(dc, bitmap);
    const BitmapSource scratch(dc, scaled.get());
    if (!source.Ready() || !scratch.Ready()) {
        return;
    }
    const int oldMode = SetStretchBltMode(scratch.dc(), HALFTONE);
    // HALFTONE wants the brush origin set again after the mode changes.
    SetBrushOrgEx(scratch.dc(), 0, 0, nullptr);
    StretchBlt(scratch.dc(), 0, 0, width, height, source.dc(), 0, 0, source.width, source.height, SRCCOPY);
    BitBlt(dc, x, y, width, height, scratch.dc(), 0, 0, SRCCOPY);
    SetStretchBltMode(scratch.dc(), oldMode);
}

namespace {
unsigned mainWindowExposures = 0; // the main window's thread alone paints and counts
} // namespace

unsigned MainWindowExposures() {
    return mainWindowExposures;
}

void NoteMainWindowExposed() {
    ++mainWindowExposures;
}
