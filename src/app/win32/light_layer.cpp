#include "app/win32/light_layer.h"

#include "app/win32/led_bitmaps.h"
#include "platform/win32/top_down_bitmap.h"

#include <algorithm>
#include <climits>
#include <cstdint>

namespace {

constexpr int kColourSlots = kLedDarkBlue + 1;
constexpr std::uint32_t kWhite = 0x00FFFFFF;
constexpr std::uint32_t kRgbBits = 0x00FFFFFF;

void Release(LightSurface& surface) {
    if (surface.dc != nullptr) {
        SelectObject(surface.dc, surface.previous);
        DeleteDC(surface.dc);
    }
    if (surface.bitmap != nullptr) {
        DeleteObject(surface.bitmap);
    }
    surface = LightSurface{};
}

// Makes `surface` at least width x height, keeping it when it already is; false when it cannot be made.
bool Reserve(LightSurface& surface, int width, int height) {
    if (surface.dc != nullptr && surface.width >= width && surface.height >= height) {
        return true;
    }
    width = std::max(width, surface.width);
    height = std::max(height, surface.height);
    Release(surface);
    const BITMAPINFO info = TopDown32BitmapInfo(width, height);
    void* bits = nullptr;
    surface.bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    surface.dc = CreateCompatibleDC(nullptr);
    if (surface.bitmap == nullptr || surface.dc == nullptr) {
        Release(surface);
        return false;
    }
    surface.previous = SelectObject(surface.dc, surface.bitmap);
    surface.width = width;
    surface.height = height;
    surface.pixels = static_cast<std::uint32_t*>(bits);
    return true;
}

// Every light bitmap side by side: its pixels, and a mask that is white where they are pure black.
struct LightSheet {
    HBITMAP__* sources[kColourSlots] = {};
    bool made = false;
    unsigned generation = 0; // counts the preparations, so a layer knows its last drawing's pictures
    int left[kColourSlots] = {};
    int width[kColourSlots] = {};
    int height[kColourSlots] = {};
    LightSurface image;
    LightSurface mask;
};

LightSheet sheet; // the painters run on the main thread alone

bool ReadPixels(HBITMAP bitmap, int width, int height, std::uint32_t* out, int stride) {
    BITMAPINFO info = TopDown32BitmapInfo(width, height);
    HDC screen = GetDC(nullptr);
    if (screen == nullptr) {
        return false;
    }
    std::vector<std::uint32_t> rows(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    const int read =
        GetDIBits(screen, bitmap, 0, static_cast<UINT>(height), rows.data(), &info, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    if (read != height) {
        return false;
    }
    for (int y = 0; y < height; ++y) {
        std::copy_n(&rows[static_cast<std::size_t>(y * width)], width, out + y * stride);
    }
    return true;
}

// Prepares the sheet from the window's light bitmaps, again only when they were replaced.
void PrepareSheet(const WindowHandles& handles) {
    if (sheet.made &&
        std::equal(std::begin(sheet.sources), std::end(sheet.sources), std::begin(handles.ledBitmaps))) {
        return;
    }
    Release(sheet.image);
    Release(sheet.mask);
    const unsigned generation = sheet.generation + 1;
    sheet = LightSheet{};
    sheet.generation = generation;
    std::copy(std::begin(handles.ledBitmaps), std::end(handles.ledBitmaps), sheet.sources);
    sheet.made = true;
    int totalWidth = 0;
    int tallest = 0;
    for (int colour = kLedRed; colour <= kLedDarkBlue; ++colour) {
        BITMAP info{};
        const HBITMAP bitmap = LedBitmap(handles, colour);
        if (bitmap == nullptr || GetObjectW(bitmap, sizeof info, &info) == 0) {
            continue;
        }
        sheet.left[colour] = totalWidth;
        sheet.width[colour] = info.bmWidth;
        sheet.height[colour] = info.bmHeight;
        totalWidth += info.bmWidth;
        tallest = std::max(tallest, static_cast<int>(info.bmHeight));
    }
    if (totalWidth == 0 || !Reserve(sheet.image, totalWidth, tallest) ||
        !Reserve(sheet.mask, totalWidth, tallest)) {
        std::fill(std::begin(sheet.width), std::end(sheet.width), 0);
        return;
    }
    for (int colour = kLedRed; colour <= kLedDarkBlue; ++colour) {
        if (sheet.width[colour] == 0) {
            continue;
        }
        std::uint32_t* image = sheet.image.pixels + sheet.left[colour];
        if (!ReadPixels(LedBitmap(handles, colour), sheet.width[colour], sheet.height[colour], image,
                        totalWidth)) {
            sheet.width[colour] = 0;
            continue;
        }
        std::uint32_t* mask = sheet.mask.pixels + sheet.left[colour];
        for (int y = 0; y < sheet.height[colour]; ++y) {
            for (int x = 0; x < sheet.width[colour]; ++x) {
                std::uint32_t& pixel = image[y * totalWidth + x];
                pixel &= kRgbBits;
                mask[y * totalWidth + x] = pixel == 0 ? kWhite : 0;
            }
        }
    }
}

// Where a light's picture lies; empty for a colour that draws nothing.
Rect LightBox(int colour, Point at) {
    if (!IsDrawableLed(colour) || sheet.width[colour] == 0) {
        return Rect{};
    }
    return Rect{at.x, at.y, at.x + sheet.width[colour], at.y + sheet.height[colour]};
}

Rect Union(Rect a, Rect b) {
    if (a.IsEmpty()) {
        return b;
    }
    if (b.IsEmpty()) {
        return a;
    }
    return Rect{std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
                std::max(a.bottom, b.bottom)};
}

Rect Intersection(Rect a, Rect b) {
    return Rect{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
                std::min(a.bottom, b.bottom)};
}

constexpr Rect kEverywhere{INT_MIN / 2, INT_MIN / 2, INT_MAX / 2, INT_MAX / 2};

} // namespace

LightLayer::~LightLayer() {
    Release(colours_);
    Release(cover_);
}

void LightLayer::DrawOn(HDC dc, const WindowHandles& handles) {
    PrepareSheet(handles);
    Draw(dc, kEverywhere);
}

void LightLayer::DrawChangesOn(HDC dc, const WindowHandles& handles) {
    PrepareSheet(handles);
    const bool samePlaces =
        drawn_.size() == lights_.size() && drawnSheet_ == sheet.generation &&
        std::equal(drawn_.begin(), drawn_.end(), lights_.begin(),
                   [](const Light& a, const Light& b) { return a.at.x == b.at.x && a.at.y == b.at.y; });
    if (!samePlaces) {
        Draw(dc, kEverywhere);
        return;
    }
    Rect changed{};
    for (std::size_t i = 0; i < lights_.size(); ++i) {
        if (lights_[i].colour != drawn_[i].colour) {
            // A light that goes leaves its old picture where nothing covers it, as a whole drawing would.
            changed = Union(changed, Union(LightBox(lights_[i].colour, lights_[i].at),
                                           LightBox(drawn_[i].colour, drawn_[i].at)));
        }
    }
    if (!changed.IsEmpty()) {
        Draw(dc, changed);
    }
}

void LightLayer::Draw(HDC dc, Rect limit) {
    Rect area{};
    for (const Light& light : lights_) {
        area = Union(area, LightBox(light.colour, light.at));
    }
    area = Intersection(area, limit);
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    if (dc == nullptr || area.IsEmpty() || !Reserve(colours_, width, height) ||
        !Reserve(cover_, width, height)) {
        return;
    }
    PatBlt(colours_.dc, 0, 0, width, height, BLACKNESS);
    PatBlt(cover_.dc, 0, 0, width, height, WHITENESS);
    for (const Light& light : lights_) {
        if (Intersection(LightBox(light.colour, light.at), area).IsEmpty()) {
            continue;
        }
        const int x = light.at.x - area.left;
        const int y = light.at.y - area.top;
        const int w = sheet.width[light.colour];
        const int h = sheet.height[light.colour];
        const int from = sheet.left[light.colour];
        BitBlt(cover_.dc, x, y, w, h, sheet.mask.dc, from, 0, SRCAND);
        BitBlt(colours_.dc, x, y, w, h, sheet.mask.dc, from, 0, SRCAND);
        BitBlt(colours_.dc, x, y, w, h, sheet.image.dc, from, 0, SRCPAINT);
    }
    const Rect spared = Intersection(spared_, area);
    if (!spared.IsEmpty()) {
        const int x = spared.left - area.left;
        const int y = spared.top - area.top;
        PatBlt(cover_.dc, x, y, spared.right - spared.left, spared.bottom - spared.top, WHITENESS);
        PatBlt(colours_.dc, x, y, spared.right - spared.left, spared.bottom - spared.top, BLACKNESS);
    }
    BitBlt(dc, area.left, area.top, width, height, cover_.dc, 0, 0, SRCAND);
    BitBlt(dc, area.left, area.top, width, height, colours_.dc, 0, 0, SRCPAINT);
    drawn_ = lights_;
    drawnSheet_ = sheet.generation;
}
