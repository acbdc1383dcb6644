#pragma once

// Pixel geometry of the windows; Rect containment follows PtInRect (right and bottom edges excluded).
struct Point {
    int x = 0;
    int y = 0;
};

struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    constexpr bool Contains(Point p) const {
        return p.x >= left && p.x < right && p.y >= top && p.y < bottom;
    }
    constexpr bool IsEmpty() const { return right <= left || bottom <= top; }
    constexpr Rect Inflated(int by) const { return Rect{left - by, top - by, right + by, bottom + by}; }
    constexpr bool operator==(const Rect&) const = default;
};

// A window's place on the screen, as SetWindowPos takes it: its top-left corner and its outer size.
struct WindowFrame {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    constexpr bool operator==(const WindowFrame&) const = default;
};
