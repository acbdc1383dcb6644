#include "audio/win32/knob_painter.h"

#include "platform/paint_memo.h"
#include "platform/win32/draw_helpers.h"
#include "audio/knob_dial.h"
#include "audio/win32/endpoint_volume.h"
#include "audio/win32/rotate_bitmap.h"
#include "platform/win32/scoped_win.h"
#include "platform/win32/timer_cost.h"
#include "session/user_texts.h"

#include <cstdint>
#include <tuple>
#include <utility>

namespace {

constexpr int kDotHalfSize = 4;
constexpr int kParamsDots = 8;
constexpr int kLevelDots = 7;

struct Knob {
    const char* label;
    Point origin;
    HBITMAP image;
    float rotation;
    int dots;
    Rect* extent;
};

// The dots look the same every tick: their pen and brushes are made once and kept for the run.
struct DotTools {
    HPEN outline = CreatePen(PS_SOLID, 1, RGB(255, 0, 0));
    HBRUSH first = CreateSolidBrush(RGB(0, 0, 255));
    HBRUSH others = CreateSolidBrush(RGB(0, 255, 0));
};

void DrawDots(HDC dc, int centreX, int centreY, int dotCount) {
    static const DotTools tools;
    const ScopedSelect pen(dc, tools.outline);
    for (int dot = 0; dot < dotCount; ++dot) {
        const ScopedSelect brush(dc, dot == 0 ? tools.first : tools.others);
        const DotOffset offset = KnobDotOffset(dot, dotCount);
        const int x = centreX + offset.dx;
        const int y = centreY + offset.dy;
        Ellipse(dc, x - kDotHalfSize, y - kDotHalfSize, x + kDotHalfSize, y + kDotHalfSize);
    }
}

bool DrawKnob(HDC dc, const Knob& knob, COLORREF background) {
    const ScopedBitmap rotated(RotateBitmap(knob.image, knob.rotation));
    BITMAP size{};
    if (!rotated || GetObjectW(rotated.get(), sizeof size, &size) == 0) {
        return false;
    }
    {
        const ScopedMemoryDC memory(dc);
        const ScopedSelect selection(memory.get(), rotated.get());
        if (!selection.Ok()) {
            return false;
        }
        // Black is the see-through colour, the corners the rotation left uncovered included.
        TransparentBlt(dc, knob.origin.x, knob.origin.y, size.bmWidth, size.bmHeight, memory.get(), 0, 0,
                       size.bmWidth, size.bmHeight, RGB(0, 0, 0));
    }
    DrawDots(dc, knob.origin.x + size.bmWidth / 2, knob.origin.y + size.bmHeight / 2, knob.dots);
    *knob.extent =
        Rect{knob.origin.x, knob.origin.y, knob.origin.x + size.bmWidth, knob.origin.y + size.bmHeight};
    DrawLabel(dc, knob.label, knob.origin.x + 8, knob.origin.y + 70, background);
    return true;
}

} // namespace

KnobExtents PaintKnobs(HDC dc, const KnobImages& images, EndpointLevels& levels, COLORREF background,
                       const KnobPlaces& places) {
    KnobExtents drawn;
    if (dc == nullptr || images.arrow == nullptr) {
        return drawn;
    }
    DrawLabel(dc, kAudioLeftLabel, places.audioLeftLabel.x, places.audioLeftLabel.y, background);
    DrawLabel(dc, kAudioRightLabel, places.audioRightLabel.x, places.audioRightLabel.y, background);
    const Knob knobs[] = {
        {kParamsLabel, places.params, images.params, KnobRotation(0), kParamsDots, &drawn.params},
        {kMicGainLabel, places.micGain, images.arrow, KnobRotation(levels.ReadCaptureLevel()), kLevelDots,
         &drawn.micGain},
        {kVolumeLabel, places.volume, images.arrow, KnobRotation(levels.ReadRenderLevel()), kLevelDots,
         &drawn.volume},
    };
    for (const Knob& knob : knobs) {
        if (!DrawKnob(dc, knob, background)) {
            return drawn;
        }
    }
    for (const auto& [icon, zone] : {std::pair{images.documentationIcon, places.documentationIcon},
                                     std::pair{images.synthesiserIcon, places.synthesiserIcon}}) {
        DrawStretchedBitmap(dc, icon, zone.left, zone.top, zone.right - zone.left, zone.bottom - zone.top);
    }
    return drawn;
}

std::optional<KnobExtents> PaintKnobsTick(HWND mainWindow, const KnobImages& images, COLORREF background,
                                          const KnobPlaces& places) {
    const TimerCost cost("knobs");
    KnobEndpointLevels levels;
    // The images rotate for the levels of the moment; unchanged levels since the last exposure need no new
    // drawing.
    static PaintMemo<std::tuple<float, float, std::uint32_t>> memo;
    if (!memo.ShouldPaint(
            std::tuple{levels.ReadCaptureLevel(), levels.ReadRenderLevel(), std::uint32_t{background}},
            MainWindowExposures())) {
        return std::nullopt;
    }
    const ScopedGetDC dc(mainWindow);
    if (!dc) {
        memo.Forget();
        return std::nullopt;
    }
    return PaintKnobs(dc.get(), images, levels, background, places);
}
