#include "app/main_window_input.h"

#include "app/main_window_layout.h"
#include "audio/knob_dial.h"
#include "app/main_thread_state.h"
#include "session/push_to_talk.h"

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
    return DialLevel(p.x - (widenedZone.right - widenedZone.left) / 2 - widenedZone.left,
                     p.y - (widenedZone.bottom - widenedZone.top) / 2 - widenedZone.top);
}

bool TurnKnobAt(const Zones& zones, Point p, EndpointLevels& levels) {
    switch (ClickActionAt(zones, p)) {
    case ClickAction::VolumeKnob:
        levels.SetRenderLevel(KnobLevel(zones.volumeKnob.Inflated(kKnobClickMargin), p));
        return true;
    case ClickAction::MicGainKnob:
        levels.SetCaptureLevel(KnobLevel(zones.micGainKnob.Inflated(kKnobClickMargin), p));
        return true;
    default:
        return false;
    }
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

void HandleKeyRelease(MainThreadState& mainThread, PushToTalk& pushToTalk, unsigned virtualKey) {
    mainThread.inactivitySeconds = kInactivityStartSeconds;
    if (virtualKey == kVkSpace) {
        pushToTalk.SetKeyState(kPttListen);
    }
}
