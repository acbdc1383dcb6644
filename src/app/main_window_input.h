#pragma once

#include "audio/endpoint_levels.h"
#include "session/main_window_zones.h"

// What a left click at a point does; the first matching zone acts.
enum class ClickAction {
    None,
    VolumeKnob,
    MicGainKnob,
    ParamsKnob,
    NetworkWindow,
    GroupList,
    Documentation,
    Canvas,
    StartSynthesiser,
    AboutBox,
    Close,
};

ClickAction ClickActionAt(const Zones& zones, Point p);

// Knob level 0.0 .. 1.0 for a click at p on the dial of a knob zone already widened for clicking.
float KnobLevel(Rect widenedZone, Point p);

// Turns the VOLUME or MIC GAIN knob when the click is for one of them; false when it is for something else.
bool TurnKnobAt(const Zones& zones, Point p, EndpointLevels& levels);

// Virtual-key codes the main window reacts to (values of the Windows headers).
inline constexpr unsigned kVkEscape = 0x1B;
inline constexpr unsigned kVkSpace = 0x20;
inline constexpr unsigned kVkDigit0 = 0x30;
inline constexpr unsigned kVkNumpad0 = 0x60;
inline constexpr unsigned kVkAdd = 0x6B;
inline constexpr unsigned kVkF1 = 0x70;

struct KeyAction {
    enum Kind { Close, Talk, SelectChannel, AboutBox, Inactive } kind;
    int channelPort; // for SelectChannel
};

KeyAction KeyActionFor(unsigned virtualKey);

struct MainThreadState;
class PushToTalk;

// A key released in the main window: any key restarts the inactivity countdown; the space bar also lets go
// of the talk key.
void HandleKeyRelease(MainThreadState& mainThread, PushToTalk& pushToTalk, unsigned virtualKey);
