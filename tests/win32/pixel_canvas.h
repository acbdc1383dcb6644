#pragma once

#include "platform/win32/top_down_bitmap.h"

#include <windows.h>

// Pixel tests paint on a canvas the size of the main window, filled with a colour no painter uses.
inline constexpr int kWidth = 550;
inline constexpr int kHeight = 730;
inline constexpr COLORREF kFill = RGB(1, 2, 3);

// A 32-bit off-screen canvas the size of the main window, so pixels read back exactly.
class Canvas {
  public:
    Canvas() {
        BITMAPINFO info = TopDown32BitmapInfo(kWidth, kHeight);
        void* bits = nullptr;
        dc_ = CreateCompatibleDC(nullptr);
        bitmap_ = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        old_ = SelectObject(dc_, bitmap_);
        HBRUSH brush = CreateSolidBrush(kFill);
        RECT all{0, 0, kWidth, kHeight};
        FillRect(dc_, &all, brush);
        DeleteObject(brush);
    }
    ~Canvas() {
        SelectObject(dc_, old_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
    }
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    HDC dc() const { return dc_; }
    COLORREF Pixel(int x, int y) const { return GetPixel(dc_, x, y); }
    int Count(int x, int y, int width, int height, COLORREF colour, bool equal) const {
        int count = 0;
        for (int row = y; row < y + height; ++row) {
            for (int column = x; column < x + width; ++column) {
                count += (Pixel(column, row) == colour) == equal ? 1 : 0;
            }
        }
        return count;
    }
    int CountOtherThan(int x, int y, int width, int height, COLORREF colour) const {
        return Count(x, y, width, height, colour, false);
    }
    bool SameAs(const Canvas& other) const {
        for (int row = 0; row < kHeight; ++row) {
            for (int column = 0; column < kWidth; ++column) {
                if (Pixel(column, row) != other.Pixel(column, row)) {
                    return false;
                }
            }
        }
        return true;
    }

  private:
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ old_ = nullptr;
};
