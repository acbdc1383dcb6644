#include "audio/win32/rotate_bitmap.h"

#include <objidl.h> // GDI+ needs the COM declarations that the lean Windows header leaves out
#include <gdiplus.h>

#include <cstddef>
#include <cstdlib>

namespace {

// GDI+ hands back opaque pixels; with the alpha byte cleared, the black ones compare equal to the black that
// TransparentBlt leaves out, whichever bytes the system compares.
void ClearAlpha(HBITMAP bitmap) {
    DIBSECTION section{};
    if (GetObjectW(bitmap, sizeof section, &section) != sizeof section || section.dsBm.bmBits == nullptr ||
        section.dsBm.bmBitsPixel != 32) {
        return;
    }
    auto* pixels = static_cast<DWORD*>(section.dsBm.bmBits);
    const std::size_t count = static_cast<std::size_t>(section.dsBm.bmWidthBytes / 4) *
                              static_cast<std::size_t>(std::abs(section.dsBm.bmHeight));
    for (std::size_t i = 0; i < count; ++i) {
        pixels[i] &= 0x00FFFFFF;
    }
}

HBITMAP RotateWithGdiplus(HBITMAP source, float degrees) {
    Gdiplus::Bitmap original(source, nullptr);
    if (original.GetLastStatus() != Gdiplus::Ok) {
        return nullptr;
    }
    const auto width = static_cast<INT>(original.GetWidth());
    const auto height = static_cast<INT>(original.GetHeight());
    Gdiplus::Bitmap rotated(width, height, PixelFormat32bppARGB);
    if (rotated.GetLastStatus() != Gdiplus::Ok) {
        return nullptr;
    }
    Gdiplus::Graphics graphics(&rotated);
    const Gdiplus::REAL halfWidth = static_cast<Gdiplus::REAL>(width) / 2;
    const Gdiplus::REAL halfHeight = static_cast<Gdiplus::REAL>(height) / 2;
    graphics.TranslateTransform(halfWidth, halfHeight);
    graphics.RotateTransform(degrees);
    graphics.TranslateTransform(-halfWidth, -halfHeight);
    if (graphics.DrawImage(&original, 0, 0, width, height) != Gdiplus::Ok) {
        return nullptr;
    }
    HBITMAP result = nullptr;
    if (rotated.GetHBITMAP(Gdiplus::Color(255, 0, 0, 0), &result) != Gdiplus::Ok) {
        return nullptr;
    }
    ClearAlpha(result);
    return result;
}

} // namespace

HBITMAP RotateBitmap(HBITMAP source, float degrees) {
    if (source == nullptr) {
        return nullptr;
    }
    // Start-up keeps GDI+ running; this start only counts one more user, so a caller needs nothing else.
    ULONG_PTR token = 0;
    const Gdiplus::GdiplusStartupInput input;
    if (Gdiplus::GdiplusStartup(&token, &input, nullptr) != Gdiplus::Ok) {
        return nullptr;
    }
    HBITMAP rotated = RotateWithGdiplus(source, degrees); // its GDI+ objects are gone before the shutdown
    Gdiplus::GdiplusShutdown(token);
    return rotated;
}
