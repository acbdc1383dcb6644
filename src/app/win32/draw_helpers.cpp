#include "app/win32/draw_helpers.h"

#include "app/win32/wide_text.h"

#include <cstring>
#include <string>

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kTransparentColour = RGB(0, 0, 0);

bool BitmapSize(HBITMAP bitmap, int& width, int& height) {
    BITMAP info{};
    if (GetObjectW(bitmap, sizeof info, &info) == 0) {
        return false;
    }
    width = info.bmWidth;
    height = info.bmHeight;
    return true;
}

} // namespace

HFONT CreateBoldArial(int height) {
    return CreateFontW(height, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_TT_PRECIS,
                       CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, L"Arial");
}

void DrawLabel(HDC dc, const char* text, int x, int y, COLORREF background) {
    if (dc == nullptr || text == nullptr) {
        return;
    }
    HFONT font = CreateBoldArial(14);
    if (font == nullptr) {
        return;
    }
    HGDIOBJ oldFont = SelectObject(dc, font);
    const int oldMode = SetBkMode(dc, OPAQUE);
    const COLORREF oldBackground = SetBkColor(dc, background);
    const COLORREF oldText = SetTextColor(dc, kWhite);
    TextOutA(dc, x, y, text, static_cast<int>(std::strlen(text)));
    SetTextColor(dc, oldText);
    SetBkColor(dc, oldBackground);
    SetBkMode(dc, oldMode);
    SelectObject(dc, oldFont);
    DeleteObject(font);
}

void DrawUtf8Text(HDC dc, const char* utf8, int x, int y, COLORREF textColour) {
    if (dc == nullptr || utf8 == nullptr) {
        return;
    }
    const std::wstring wide = WideFromUtf8(utf8);
    if (wide.empty()) {
        return;
    }
    HFONT font = CreateBoldArial(20);
    if (font == nullptr) {
        return;
    }
    HGDIOBJ oldFont = SelectObject(dc, font);
    const int oldMode = SetBkMode(dc, TRANSPARENT);
    const COLORREF oldText = SetTextColor(dc, textColour);
    TextOutW(dc, x, y, wide.c_str(), static_cast<int>(wide.size()));
    SetTextColor(dc, oldText);
    SetBkMode(dc, oldMode);
    SelectObject(dc, oldFont);
    DeleteObject(font);
}

void DrawTransparentBitmap(HDC dc, HBITMAP bitmap, int x, int y) {
    if (dc == nullptr || bitmap == nullptr) {
        return;
    }
    int width = 0;
    int height = 0;
    if (!BitmapSize(bitmap, width, height)) {
        return;
    }
    HDC source = CreateCompatibleDC(dc);
    if (source == nullptr) {
        return;
    }
    HGDIOBJ oldBitmap = SelectObject(source, bitmap);
    TransparentBlt(dc, x, y, width, height, source, 0, 0, width, height, kTransparentColour);
    SelectObject(source, oldBitmap);
    DeleteDC(source);
}

void DrawStretchedBitmap(HDC dc, HBITMAP bitmap, int x, int y, int width, int height) {
    if (dc == nullptr || bitmap == nullptr || width <= 0 || height <= 0) {
        return;
    }
    int sourceWidth = 0;
    int sourceHeight = 0;
    if (!BitmapSize(bitmap, sourceWidth, sourceHeight)) {
        return;
    }
    HDC source = CreateCompatibleDC(dc);
    HDC scratch = CreateCompatibleDC(dc);
    HBITMAP scaled = CreateCompatibleBitmap(dc, width, height);
    if (source != nullptr && scratch != nullptr && scaled != nullptr) {
        HGDIOBJ oldSource = SelectObject(source, bitmap);
        HGDIOBJ oldScratch = SelectObject(scratch, scaled);
        const int oldMode = SetStretchBltMode(scratch, HALFTONE);
        // HALFTONE requires the brush origin to be reset after the mode is set.
        SetBrushOrgEx(scratch, 0, 0, nullptr);
        StretchBlt(scratch, 0, 0, width, height, source, 0, 0, sourceWidth, sourceHeight, SRCCOPY);
        BitBlt(dc, x, y, width, height, scratch, 0, 0, SRCCOPY);
        SetStretchBltMode(scratch, oldMode);
        SelectObject(scratch, oldScratch);
        SelectObject(source, oldSource);
    }
    if (scaled != nullptr) {
        DeleteObject(scaled);
    }
    if (scratch != nullptr) {
        DeleteDC(scratch);
    }
    if (source != nullptr) {
        DeleteDC(source);
    }
}
