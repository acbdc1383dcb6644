#include "audio/win32/level_meters.h"

#include "platform/paint_memo.h"
#include "platform/win32/draw_helpers.h"
#include "audio/audio_state.h"
#include "audio/win32/audio_wiring.h"
#include "platform/win32/image_loading.h"
#include "audio/level_meter.h"
#include "platform/win32/window_class.h"
#include "platform/win32/scoped_win.h"
#include "platform/win32/timer_cost.h"
#include "platform/win32/top_down_bitmap.h"

#include <utility>

namespace {

constexpr wchar_t kLeftMeterClass[] = L"VuMeterLeftClass";
constexpr wchar_t kRightMeterClass[] = L"VuMeterRightClass";
constexpr char kMeterFaceFile[] = "vu_meter_2.bmp";
constexpr int kMeterWidth = 150;
constexpr int kMeterHeight = 84;
constexpr UINT_PTR kLeftMeterTimer = 1;
constexpr UINT_PTR kRightMeterTimer = 2;
constexpr UINT kMeterPeriodMs = 50;

constexpr COLORREF kNeedleColour = RGB(80, 80, 255);
constexpr int kNeedleWidth = 3;

// The bottom row of each bar is left as it is.
constexpr int kBarHeight = 10;

// The needle pen never changes, so it is made once and kept for the run.
HPEN NeedlePen() {
    static HPEN pen = nullptr;
    if (pen == nullptr) {
        pen = CreatePen(PS_SOLID, kNeedleWidth, kNeedleColour);
    }
    return pen;
}

// One fully lit bar, drawn once: each tick copies its lit part and whitens the rest, instead of one pen
// per column.
class LitBarImage {
  public:
    LitBarImage() {
        BITMAPINFO info = TopDown32BitmapInfo(kBarColumns, kBarHeight);
        void* bits = nullptr;
        bitmap_ = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        dc_ = CreateCompatibleDC(nullptr);
        if (bitmap_ == nullptr || dc_ == nullptr) {
            return;
        }
        auto* pixels = static_cast<DWORD*>(bits);
        for (int column = 0; column < kBarColumns; ++column) {
            const BarColour colour = LitColumnColour(column);
            const DWORD pixel = static_cast<DWORD>(colour.red) << 16 | static_cast<DWORD>(colour.green) << 8 |
                                static_cast<DWORD>(colour.blue);
            for (int row = 0; row < kBarHeight; ++row) {
                pixels[row * kBarColumns + column] = pixel;
            }
        }
        SelectObject(dc_, bitmap_);
    }
    LitBarImage(const LitBarImage&) = delete;
    LitBarImage& operator=(const LitBarImage&) = delete;

    // Null when the image could not be made.
    HDC dc() const { return bitmap_ != nullptr ? dc_ : nullptr; }

  private:
    HBITMAP bitmap_ = nullptr;
    HDC dc_ = nullptr;
};

void DrawNeedle(HDC dc, NeedleTip pivot, int needleValue) {
    const ScopedSelect penSelection(dc, NeedlePen());
    if (!penSelection.Ok()) {
        return;
    }
    const NeedleTip tip = NeedleTipFor(needleValue);
    MoveToEx(dc, pivot.dx, pivot.dy, nullptr);
    LineTo(dc, pivot.dx + tip.dx, pivot.dy + tip.dy);
}

// Face and needle are composed off screen and copied in one blit, so that the window's surface changes once
// per tick. Its contexts and bitmap are made once and kept for the run; the bitmap is made again only for a
// face of another size.
class MeterCanvas {
  public:
    MeterCanvas() = default;
    MeterCanvas(const MeterCanvas&) = delete;
    MeterCanvas& operator=(const MeterCanvas&) = delete;

    // The canvas's context, `width` x `height`, compatible with `screen`; null when it cannot be made.
    HDC Ready(HDC screen, int width, int height) {
        if (faceDc_ == nullptr) {
            faceDc_ = CreateCompatibleDC(screen);
            canvasDc_ = CreateCompatibleDC(screen);
        }
        if (faceDc_ == nullptr || canvasDc_ == nullptr) {
            return nullptr;
        }
        if (bitmap_ == nullptr || width != width_ || height != height_) {
            HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
            if (bitmap == nullptr) {
                return nullptr;
            }
            SelectObject(canvasDc_, bitmap);
            if (bitmap_ != nullptr) {
                DeleteObject(bitmap_);
            }
            bitmap_ = bitmap;
            width_ = width;
            height_ = height;
        }
        return canvasDc_;
    }

    // Where the face is selected for its copy onto the canvas.
    HDC faceDc() const { return faceDc_; }

  private:
    HDC faceDc_ = nullptr;
    HDC canvasDc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    int width_ = 0;
    int height_ = 0;
};

void PaintBar(HDC dc, HDC litBar, Point at, int barLevel) {
    const int lit = LitBarColumns(barLevel);
    if (lit > 0) {
        BitBlt(dc, at.x, at.y, lit, kBarHeight, litBar, 0, 0, SRCCOPY);
    }
    if (lit < kBarColumns) {
        PatBlt(dc, at.x + lit, at.y, kBarColumns - lit, kBarHeight, WHITENESS);
    }
}

struct Meter {
    HBITMAP* face;
    std::atomic<int> LevelReadings::*needle;
    bool paintsBars;
    PaintMemo<int>* needleMemo;
    unsigned* exposures; // of the meter's own window: the main window's paint may also cover it
};

// The meters live on the main thread: their windows and faces, made once by start-up.
HWND leftMeterWindow = nullptr;
HWND rightMeterWindow = nullptr;
HBITMAP leftMeterFace = nullptr;
HBITMAP rightMeterFace = nullptr;
LevelMeterPlaces meterPlaces;

PaintMemo<int> leftNeedleMemo;
PaintMemo<int> rightNeedleMemo;
unsigned leftMeterExposures = 0;
unsigned rightMeterExposures = 0;
PaintMemo<std::pair<int, int>> barsMemo;

constexpr Meter kLeftMeter{&leftMeterFace, &LevelReadings::leftNeedleAngle, true, &leftNeedleMemo,
                           &leftMeterExposures};
constexpr Meter kRightMeter{&rightMeterFace, &LevelReadings::rightNeedleAngle, false, &rightNeedleMemo,
                            &rightMeterExposures};

void PaintMeterTick(HWND window, const Meter& meter) {
    const AudioWiring& wiring = AudioWindows();
    const LevelReadings& readings = wiring.audio->levels;
    {
        const int needle = (readings.*meter.needle).load();
        if (meter.needleMemo->ShouldPaint(needle, MainWindowExposures() + *meter.exposures)) {
            const ScopedGetDC dc(window);
            if (dc) {
                PaintMeter(dc.get(), *meter.face, needle);
            } else {
                meter.needleMemo->Forget();
            }
        }
    }
    if (meter.paintsBars) {
        const std::pair bars{readings.leftBarLevel.load(), readings.rightBarLevel.load()};
        if (barsMemo.ShouldPaint(bars, MainWindowExposures())) {
            const ScopedGetDC mainDc(wiring.mainWindow);
            if (mainDc) {
                PaintLevelBars(mainDc.get(), meterPlaces, bars.first, bars.second);
            } else {
                barsMemo.Forget();
            }
        }
    }
}

LRESULT MeterWindowProc(const Meter& meter, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT: {
        const ScopedPaint paint(
            window); // the timer draws; painting only validates, and the erase calls for it
        ++*meter.exposures;
        return 0;
    }
    case WM_TIMER: {
        const TimerCost cost(meter.paintsBars ? "left meter+bars" : "right meter");
        PaintMeterTick(window, meter);
        return 0;
    }
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

HWND CreateMeter(HWND mainWindow, HINSTANCE instance, const wchar_t* className, WNDPROC procedure, Point at,
                 UINT_PTR timerId) {
    WindowClassLook look;
    // Its own context, as the main window's: the needles tick twenty times a second.
    look.style = CS_OWNDC;
    look.background = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
    look.cursor = ArrowCursor();
    RegisterWindowClass(instance, className, procedure, look);
    HWND meter = CreateWindowExW(0, className, nullptr, WS_CHILD | WS_VISIBLE, at.x, at.y, kMeterWidth,
                                 kMeterHeight, mainWindow, nullptr, instance, nullptr);
    if (meter != nullptr) {
        SetTimer(meter, timerId, kMeterPeriodMs, nullptr);
    }
    return meter;
}

} // namespace

void PaintMeter(HDC dc, HBITMAP face, int needleValue) {
    BITMAP size{};
    if (face == nullptr || GetObjectW(face, sizeof size, &size) == 0) {
        DrawNeedle(dc, NeedlePivot(0, 0), needleValue);
        return;
    }
    static MeterCanvas canvas;
    const HDC composed = canvas.Ready(dc, size.bmWidth, size.bmHeight);
    if (composed == nullptr) {
        return;
    }
    {
        const ScopedSelect faceSelection(canvas.faceDc(), face);
        if (!faceSelection.Ok()) {
            return;
        }
        BitBlt(composed, 0, 0, size.bmWidth, size.bmHeight, canvas.faceDc(), 0, 0, SRCCOPY);
    }
    DrawNeedle(composed, NeedlePivot(size.bmWidth, size.bmHeight), needleValue);
    BitBlt(dc, 0, 0, size.bmWidth, size.bmHeight, composed, 0, 0, SRCCOPY);
}

void PaintLevelBars(HDC dc, const LevelMeterPlaces& places, int leftBarLevel, int rightBarLevel) {
    static const LitBarImage litBar;
    if (dc == nullptr || litBar.dc() == nullptr) {
        return;
    }
    PaintBar(dc, litBar.dc(), places.leftBar, leftBarLevel);
    PaintBar(dc, litBar.dc(), places.rightBar, rightBarLevel);
}

LRESULT CALLBACK LeftMeterWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return MeterWindowProc(kLeftMeter, window, message, wParam, lParam);
}

LRESULT CALLBACK RightMeterWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return MeterWindowProc(kRightMeter, window, message, wParam, lParam);
}

void CreateLevelMeters(HWND mainWindow, HINSTANCE instance, const LevelMeterPlaces& places) {
    meterPlaces = places;
    leftMeterWindow = CreateMeter(mainWindow, instance, kLeftMeterClass, LeftMeterWindowProc,
                                  places.leftMeter, kLeftMeterTimer);
    leftMeterFace = LoadBitmapFile(kMeterFaceFile);
    rightMeterWindow = CreateMeter(mainWindow, instance, kRightMeterClass, RightMeterWindowProc,
                                   places.rightMeter, kRightMeterTimer);
    rightMeterFace = LoadBitmapFile(kMeterFaceFile);
}

void RestartLevelMeterTimers() {
    // Setting a window's timer again replaces it, counting its period from now.
    if (leftMeterWindow != nullptr) {
        SetTimer(leftMeterWindow, kLeftMeterTimer, kMeterPeriodMs, nullptr);
    }
    if (rightMeterWindow != nullptr) {
        SetTimer(rightMeterWindow, kRightMeterTimer, kMeterPeriodMs, nullptr);
    }
}
