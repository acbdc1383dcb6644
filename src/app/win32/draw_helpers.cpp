#include "app/win32/draw_helpers.h"

#include "app/win32/wide_text.h"

#include <cstring>
#include <string>

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kTransparentColour = RGB(0, 0, 0);

// A memory device context with a bitmap selected into it, for the length of one drawing.
class BitmapSource {
  public:
    BitmapSource(HDC dc, HBITMAP bitmap) : dc_(CreateCompatibleDC(dc)) {
        BITMAP info{};
        if (dc_ != nullptr && GetObjectW(bitmap, sizeof info, &info) != 0) {
            width = info.bmWidth;
            height = info.bmHeight;
            old_ = SelectObject(dc_, bitmap);
        }
    }
    ~BitmapSource() {
        if (old_ != nullptr) {
            SelectObject(dc_, old_);
        }
        if (dc_ != nullptr) {
            DeleteDC(dc_);
        }
    }
    BitmapSource(const BitmapSource&) = delete;
    BitmapSource& operator=(const BitmapSource&) = delete;

    bool Ready() const { return old_ != nullptr; }
    HDC dc() const { return dc_; }

    int width = 0;
    int height = 0;

  private:
    HDC dc_;
    HGDIOBJ old_ = nullptr;
};

} // namespace

HFONT CreateBoldArial(int height) {
    return CreateFontW(height, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_TT_PRECIS,
                       CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, L"Arial");
}

ScopedTextStyle::ScopedTextStyle(HDC dc, int fontHeight, COLORREF textColour, const COLORREF* background)
    : dc_(dc), font_(CreateBoldArial(fontHeight)) {
    if (font_ == nullptr) {
        return;
    }
    oldFont_ = SelectObject(dc_, font_);
    oldMode_ = SetBkMode(dc_, background != nullptr ? OPAQUE : TRANSPARENT);
    oldBackground_ = background != nullptr ? SetBkColor(dc_, *background) : GetBkColor(dc_);
    oldText_ = SetTextColor(dc_, textColour);
}

ScopedTextStyle::~ScopedTextStyle() {
    if (font_ == nullptr) {
        return;
    }
    SetTextColor(dc_, oldText_);
    SetBkColor(dc_, oldBackground_);
    SetBkMode(dc_, oldMode_);
    SelectObject(dc_, oldFont_);
    DeleteObject(font_);
}

void DrawLabel(HDC dc, const char* text, int x, int y, COLORREF background) {
    if (dc == nullptr || text == nullptr) {
        return;
    }
    const ScopedTextStyle style(dc, 14, kWhite, &background);
    if (style.Ready()) {
        TextOutA(dc, x, y, text, static_cast<int>(std::strlen(text)));
    }
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
    HBITMAP scaled = CreateCompatibleBitmap(dc, width, height);
    if (scaled == nullptr) {
        return;
    }
    {
        const BitmapSource source(dc, bitmap);
        const BitmapSource scratch(dc, scaled);
        if (source.Ready() && scratch.Ready()) {
            const int oldMode = SetStretchBltMode(scratch.dc(), HALFTONE);
            // HALFTONE wants the brush origin set again after the mode changes.
            SetBrushOrgEx(scratch.dc(), 0, 0, nullptr);
            StretchBlt(scratch.dc(), 0, 0, width, height, source.dc(), 0, 0, source.width, source.height,
                       SRCCOPY);
            BitBlt(dc, x, y, width, height, scratch.dc(), 0, 0, SRCCOPY);
            SetStretchBltMode(scratch.dc(), oldMode);
        }
    }
    DeleteObject(scaled);
}
