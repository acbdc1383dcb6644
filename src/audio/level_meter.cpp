#include "audio/level_meter.h"

#include <algorithm>
#include <cmath>
#include <numbers>

int DrawnNeedleAngle(int needleValue) {
    return needleValue >= kNeedleRestAngle && needleValue <= kNeedleMaxAngle ? needleValue : kNeedleRestAngle;
}

NeedleTip NeedleTipFor(int needleValue) {
    const double theta = DrawnNeedleAngle(needleValue) * std::numbers::pi / 180.0;
    return NeedleTip{static_cast<int>(kNeedleLength * std::cos(theta)),
                     static_cast<int>(kNeedleLength * std::sin(theta))};
}

int LitBarColumns(int barLevel) {
    return std::clamp(barLevel / kBarLevelPerColumn, 0, kBarColumns);
}

BarColour LitColumnColour(int column) {
    // The quotient is single precision on purpose: it puts columns 105 and 135 just below the thresholds.
    const double f = static_cast<float>(column) / static_cast<float>(kBarColumns);
    if (f < 0.7) {
        return BarColour{static_cast<std::uint8_t>(f / 0.7 * 255), 255, 0};
    }
    if (f < 0.9) {
        return BarColour{255, static_cast<std::uint8_t>(255 - static_cast<int>((f - 0.7) / 0.2 * 255)), 0};
    }
    return BarColour{255, 0, 0};
}
