#include "audio/knob_dial.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

constexpr double kDegreesPerRadian = 57.29577951308232;
constexpr double kDialSweepDegrees = 300;
constexpr float kLevelZeroRotation = 180;

} // namespace

float DialLevel(int dx, int dy) {
    double angle = std::atan2(static_cast<double>(dy), static_cast<double>(dx)) * kDegreesPerRadian;
    if (angle < 0) {
        angle += 360;
    }
    angle -= 90; // from straight below rather than from the right
    if (angle < 0) {
        angle += 360;
    }
    return static_cast<float>(std::min(angle, kDialSweepDegrees)) / static_cast<float>(kDialSweepDegrees);
}

float KnobRotation(float level) {
    return kLevelZeroRotation + static_cast<float>(kDialSweepDegrees) * level;
}

DotOffset KnobDotOffset(int dot, int dotCount) {
    constexpr float kFullTurn = 2 * std::numbers::pi_v<float>;
    const float step = kFullTurn / static_cast<float>(dotCount);
    const float a = kFullTurn - static_cast<float>(dot) * step;
    return DotOffset{static_cast<int>(kKnobDotRadius * std::sin(a)),
                     static_cast<int>(kKnobDotRadius * std::cos(a))};
}
