#include "app/win32/led_bitmaps.h"

#include "app/led_container.h"
#include "app/panel_layout.h"
#include "platform/win32/scoped_win.h"

#include <cstdio>
#include <cstring>
#include <new>
#include <vector>

namespace {

// A screen-compatible bitmap from a validated BMP entry, or null.
HBITMAP MakeScreenBitmap(const ContainerBitmap& bmp) {
    // Copied so the header GDI reads is aligned; inside the container it sits at an odd offset.
    std::vector<std::uint32_t> header((bmp.header.size() + 3) / 4);
    std::memcpy(header.data(), bmp.header.data(), bmp.header.size());
    const auto* info = reinterpret_cast<const BITMAPINFO*>(header.data());
    const ScopedScreenDC screen;
    if (!screen) {
        return nullptr;
    }
    return CreateDIBitmap(screen.get(), &info->bmiHeader, CBM_INIT, bmp.pixels.data(), info, DIB_RGB_COLORS);
}

void ReplaceLedBitmap(WindowHandles& handles, int colour, HBITMAP bitmap) {
    HBITMAP__*& slot = handles.ledBitmaps[colour];
    if (slot != nullptr) {
        DeleteObject(slot);
    }
    slot = bitmap;
}

void LoadFromContainer(WindowHandles& handles) {
    std::vector<std::uint8_t> container;
    try {
        container = ReadContainerFile(kLedContainerFile);
    } catch (const std::bad_alloc&) {
        std::fputs("Erreur d'allocation mémoire\n", stderr);
        return;
    }
    for (const LedBitmapName& entry : kLedBitmapLoadOrder) {
        const auto bmp = FindContainerBitmap(container, entry.entryName);
        ReplaceLedBitmap(handles, entry.colour, bmp ? MakeScreenBitmap(*bmp) : nullptr);
    }
}

} // namespace

void LoadLedBitmaps(MainThreadState& mainThread, IndicatorLights& lights) {
    LoadFromContainer(mainThread.handles);
    SetLightStartStates(lights, mainThread.zones);
}

HBITMAP LedBitmap(const WindowHandles& handles, int colour) {
    return IsDrawableLed(colour) ? handles.ledBitmaps[colour] : nullptr;
}
