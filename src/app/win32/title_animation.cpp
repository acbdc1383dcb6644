#include "app/win32/title_animation.h"

#include "app/frame_changes.h"
#include "app/main_window_layout.h"
#include "app/main_thread_state.h"
#include "app/title_animation_timing.h"
#include "platform/win32/draw_helpers.h"
#include "platform/win32/message_box.h"
#include "platform/win32/scoped_win.h"
#include "platform/win32/top_down_bitmap.h"
#include "session/user_texts.h"

#include <windows.h>

#include <objidl.h> // GDI+ needs the COM declarations that the lean Windows header leaves out
#include <gdiplus.h>

#include <optional>
#include <vector>

using namespace Gdiplus;
using namespace Gdiplus::DllExports;

namespace {

constexpr wchar_t kAnimationFile[] = L"electron-animation.gif";

// Delays of every frame in hundredths of a second, empty when the file carries none.
std::vector<std::int32_t> ReadFrameDelays(GpImage* image) {
    UINT size = 0;
    if (GdipGetPropertyItemSize(image, PropertyTagFrameDelay, &size) != Ok || size < sizeof(PropertyItem)) {
        return {};
    }
    std::vector<unsigned char> buffer(size);
    auto* item = reinterpret_cast<PropertyItem*>(buffer.data());
    if (GdipGetPropertyItem(image, PropertyTagFrameDelay, size, item) != Ok || item->value == nullptr) {
        return {};
    }
    const auto* values = static_cast<const std::int32_t*>(item->value);
    return std::vector<std::int32_t>(values, values + item->length / sizeof(std::int32_t));
}

// Draws the active frame scaled into a new 150 x 150 ARGB bitmap.
GpBitmap* ScaledFrame(GpImage* image) {
    GpBitmap* frame = nullptr;
    if (GdipCreateBitmapFromScan0(kAnimationFrameSize, kAnimationFrameSize, 0, PixelFormat32bppARGB, nullptr,
                                  &frame) != Ok) {
        return nullptr;
    }
    GpGraphics* graphics = nullptr;
    if (GdipGetImageGraphicsContext(frame, &graphics) == Ok) {
        GdipDrawImageRectI(graphics, image, 0, 0, kAnimationFrameSize, kAnimationFrameSize);
        GdipDeleteGraphics(graphics);
    }
    return frame;
}

// Every frame drawn once, side by side, into an off-screen strip: a tick then copies one frame instead of
// drawing it through GDI+. The frames are opaque (GDI+ composes each GIF frame over the one before), so what
// the strip holds is what drawing them on the window would leave.
struct FrameStrip {
    HDC dc = nullptr;
    HBITMAP bitmap = nullptr;
};
FrameStrip strip;                  // made once at start-up, used by the main thread's timer
std::optional<FrameCopies> copies; // made with the strip, from its pixels

// Where each frame differs from the one before it, so that a tick copies only that to the window.
std::vector<::Rect> ChangesFromPrevious(const std::uint32_t* stripPixels, int frameCount) {
    const auto frame = [&](int index) {
        return PixelFrame{stripPixels + static_cast<std::ptrdiff_t>(index) * kAnimationFrameSize,
                          kAnimationFrameSize, kAnimationFrameSize,
                          static_cast<std::ptrdiff_t>(kAnimationFrameSize) * frameCount};
    };
    std::vector<::Rect> changes;
    for (int i = 0; i < frameCount; ++i) {
        changes.push_back(ChangedArea(frame((i + frameCount - 1) % frameCount), frame(i)));
    }
    return changes;
}

void DrawFramesIntoStrip(const WindowHandles& handles) {
    BITMAPINFO info =
        TopDown32BitmapInfo(kAnimationFrameSize * handles.animationFrameCount, kAnimationFrameSize);
    void* bits = nullptr;
    strip.bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    strip.dc = CreateCompatibleDC(nullptr);
    if (strip.bitmap == nullptr || strip.dc == nullptr) {
        return;
    }
    SelectObject(strip.dc, strip.bitmap);
    GpGraphics* graphics = nullptr;
    if (GdipCreateFromHDC(strip.dc, &graphics) != Ok) {
        return;
    }
    for (int i = 0; i < handles.animationFrameCount; ++i) {
        GdipDrawImageRectI(graphics, static_cast<GpImage*>(handles.animationFrames[i]),
                           i * kAnimationFrameSize, 0, kAnimationFrameSize, kAnimationFrameSize);
    }
    GdipDeleteGraphics(graphics);
    GdiFlush(); // the pixels are read straight from the section
    copies.emplace(ChangesFromPrevious(static_cast<const std::uint32_t*>(bits), handles.animationFrameCount),
                   ::Rect{0, 0, kAnimationFrameSize, kAnimationFrameSize});
}

} // namespace

void LoadTitleAnimation(HWND mainWindow) {
    if (GetFileAttributesW(kAnimationFile) == INVALID_FILE_ATTRIBUTES) {
        ShowMessageBox(nullptr, kAnimationFileMissing, kZelvoraSystem, MB_ICONERROR);
        PostMessageW(mainWindow, WM_DESTROY, 0, 0);
        return;
    }
    GpBitmap* gif = nullptr;
    if (GdipCreateBitmapFromFile(kAnimationFile, &gif) != Ok) {
        return;
    }
    WindowHandles& handles = MainThread().handles;
    UINT dimensionCount = 0;
    UINT frameCount = 0;
    GUID firstDimension{};
    if (GdipImageGetFrameDimensionsCount(gif, &dimensionCount) == Ok && dimensionCount > 0) {
        std::vector<GUID> dimensions(dimensionCount);
        if (GdipImageGetFrameDimensionsList(gif, dimensions.data(), dimensionCount) == Ok) {
            firstDimension = dimensions[0];
            GdipImageGetFrameCount(gif, &firstDimension, &frameCount);
        }
    }
    const std::vector<std::int32_t> delays = ReadFrameDelays(gif);
    // The frame table is fixed; a longer animation keeps its first frames.
    for (UINT i = 0; i < frameCount && handles.animationFrameCount < kMaxAnimationFrames; ++i) {
        if (GdipImageSelectActiveFrame(gif, &firstDimension, i) != Ok) {
            break;
        }
        GpBitmap* frame = ScaledFrame(gif);
        if (frame == nullptr) {
            break;
        }
        const int index = handles.animationFrameCount++;
        handles.animationFrames[index] = frame;
        handles.frameDelaysMs[index] = FrameDelayMs(delays.data(), delays.size(), i);
    }
    GdipDisposeImage(gif);
    if (handles.animationFrameCount > 0) {
        DrawFramesIntoStrip(handles);
        RestartTitleAnimationTimer(mainWindow);
    }
}

void RestartTitleAnimationTimer(HWND mainWindow) {
    const WindowHandles& handles = MainThread().handles;
    if (handles.animationFrameCount > 0) {
        SetTimer(mainWindow, kTitleAnimationTimerId, AnimationTimerPeriodMs(handles.frameDelaysMs[0]),
                 nullptr);
    }
}

void DrawNextAnimationFrame(HWND mainWindow) {
    WindowHandles& handles = MainThread().handles;
    if (handles.animationFrameCount == 0 || handles.animationFrameIndex >= handles.animationFrameCount) {
        return;
    }
    const int index = handles.animationFrameIndex;
    handles.animationFrameIndex = (index + 1) % handles.animationFrameCount;
    if (!copies) {
        return;
    }
    const ::Rect area = copies->AreaToCopy(index, MainWindowExposures());
    if (area.IsEmpty()) {
        return;
    }
    const ScopedGetDC dc(mainWindow);
    if (!dc) {
        copies->Forget();
        return;
    }
    BitBlt(dc.get(), kAnimationOrigin.x + area.left, kAnimationOrigin.y + area.top, area.right - area.left,
           area.bottom - area.top, strip.dc, index * kAnimationFrameSize + area.left, area.top, SRCCOPY);
}
