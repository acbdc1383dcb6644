#include "app/main_window_input.h"

#include "app/main_window_layout.h"
#include "app/session_state.h"

#include <algorithm>
#include <cmath>

namespace {

// A knob answers around its bitmap, but only once it has been drawn: an empty zone widened would
// otherwise catch clicks in the window's top-left corner.
Rect KnobClickZone(Rect knob) {
    return knob.IsEmpty() ? Rect{} : knob.Inflated(kKnobClickMargin);
}

} // namespace

ClickAction ClickActionAt(const Zones& zones, Point p) {
    struct Target {
        Rect zone;
        ClickAction action;
    };
    const Target targets[] = {
        {KnobClickZone(zones.volumeKnob), ClickAction::VolumeKnob},
        {KnobClickZone(zones.micGainKnob), ClickAction::MicGainKnob},
        {KnobClickZone(zones.paramsKnob), ClickAction::ParamsKnob},
        {zones.network, ClickAction::NetworkWindow},
        {zones.channelPanel, ClickAction::GroupList},
        {zones.documentation, ClickAction::Documentation},
        {zones.animation, ClickAction::Canvas},
        {zones.synthesiser, ClickAction::StartSynthesiser},
        {zones.about, ClickAction::AboutBox},
        {zones.close, ClickAction::Close},
    };
    for (const Target& target : targets) {
        if (target.zone.Contains(p)) {
            return target.action;
        }
    }
    return ClickAction::None;
}

float KnobLevel(Rect widenedZone, Point p) {
    const int dx = p.x - (widenedZone.right - widenedZone.left) / 2 - widenedZone.left;
    const int dy = p.y - (widenedZone.bottom - widenedZone.top) / 2 - widenedZone.top;
    double angle = std::atan2(static_cast<double>(dy), static_cast<double>(dx)) * 57.29577951308232;
    if (angle < 0) {
        angle += 360;
    }
    angle -= 90;
    if (angle < 0) {
        angle += 360;
    }
    return static_cast<float>(std::min(angle, 300.0) / 300.0);
}

KeyAction KeyActionFor(unsigned virtualKey) {
    if (virtualKey == kVkEscape) {
        return {KeyAction::Close, 0};
    }
    if (virtualKey == kVkSpace) {
        return {KeyAction::Talk, 0};
    }
    if (virtualKey >= kVkDigit0 && virtualKey <= kVkDigit0 + 9) {
        return {KeyAction::SelectChannel, kFirstChannelPort + static_cast<int>(virtualKey - kVkDigit0)};
    }
    if (virtualKey >= kVkNumpad0 && virtualKey <= kVkNumpad0 + 9) {
        return {KeyAction::SelectChannel, kFirstChannelPort + static_cast<int>(virtualKey - kVkNumpad0)};
    }
    if (virtualKey == kVkAdd) {
        return {KeyAction::SelectChannel, kLastChannelPort};
    }
    if (virtualKey == kVkF1) {
        return {KeyAction::AboutBox, 0};
    }
    return {KeyAction::Inactive, 0};
}
