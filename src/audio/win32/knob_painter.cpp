#include "audio/win32/knob_painter.h"

#include "platform/paint_memo.h"
#include "platform/win32/draw_helpers.h"
#include "audio/knob_dial.h"
#include "audio/win32/endpoint_volume.h"
#include "audio/win32/rotate_bitmap.h"
#include "platform/win32/scoped_win.h"
#include "platform/win32/timer_cost.h"

#include <cstdint>
#include <tuple>

namespace {

constexpr int kKnobTop = 220;
constexpr int kDotHalfSize = 4;
constexpr int kParamsDots = 8;
constexpr int kLevelDots = 7;
constexpr int kDocumentationIconSize = 30;
constexpr int kSynthesiserIconSize = 32;

struct Knob {
    const char* label;
    int x;
    HBITMAP image;
    float rotation;
    int dots;
    Rect* zone;
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
        TransparentBlt(dc, knob.x, kKnobTop, size.bmWidth, size.bmHeight, memory.get(), 0, 0, size.bmWidth,
                       size.bmHeight, RGB(0, 0, 0));
    }
    DrawDots(dc, knob.x + size.bmWidth / 2, kKnobTop + size.bmHeight / 2, knob.dots);
    *knob.zone = Rect{knob.x, kKnobTop, knob.x + size.bmWidth, kKnobTop + size.bmHeight};
    DrawLabel(dc, knob.label, knob.x + 8, kKnobTop + 70, background);
    return true;
}

} // namespace

void PaintKnobs(HDC dc, const KnobImages& images, EndpointLevels& levels, COLORREF background, Zones& zones) {
    if (dc == nullptr || images.arrow == nullptr) {
        return;
    }
    DrawLabel(dc, "AUDIO LEFT", 245, 179, background);
    DrawLabel(dc, "AUDIO RIGHT", 415, 179, background);
    const Knob knobs[] = {
        {"PARAMS", 25, images.params, KnobRotation(0), kParamsDots, &zones.paramsKnob},
        {"MIC GAIN", 115, images.arrow, KnobRotation(levels.ReadCaptureLevel()), kLevelDots,
         &zones.micGainKnob},
        {"VOLUME", 205, images.arrow, KnobRotation(levels.ReadRenderLevel()), kLevelDots, &zones.volumeKnob},
    };
    for (const Knob& knob : knobs) {
        if (!DrawKnob(dc, knob, background)) {
            return;
        }
    }
    DrawStretchedBitmap(dc, images.documentationIcon, zones.documentation.left, zones.documentation.top,
                        kDocumentationIconSize, kDocumentationIconSize);
    DrawStretchedBitmap(dc, images.synthesiserIcon, zones.synthesiser.left, zones.synthesiser.top,
                        kSynthesiserIconSize, kSynthesiserIconSize);
}

void PaintKnobsTick(HWND mainWindow, const KnobImages& images, COLORREF background, Zones& zones) {
    const TimerCost cost("knobs");
    KnobEndpointLevels levels;
    // The images rotate for the levels of the moment; unchanged levels since the last exposure need no new
    // drawing.
    static PaintMemo<std::tuple<float, float, std::uint32_t>> memo;
    if (!memo.ShouldPaint(
            std::tuple{levels.ReadCaptureLevel(), levels.ReadRenderLevel(), std::uint32_t{background}},
            MainWindowExposures())) {
        return;
    }
    const ScopedGetDC dc(mainWindow);
    if (!dc) {
        memo.Forget();
        return;
    }
    PaintKnobs(dc.get(), images, levels, background, zones);
}
