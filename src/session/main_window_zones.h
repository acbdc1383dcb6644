#pragma once

#include "platform/geometry.h"

// Every hit-tested screen zone of the main window; all empty until start-up sets them.
struct Zones {
    Rect drag;
    Rect about;
    Rect close;
    Rect animation;
    Rect network;
    Rect documentation;
    Rect synthesiser;
    Rect channelPanel;
    Rect timeLeft;
    Rect paramsKnob;
    Rect micGainKnob;
    Rect volumeKnob;
};
