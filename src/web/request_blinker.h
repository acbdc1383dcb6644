#pragma once

#include "session/led_colour.h"

// Blinks the HTTPS light as requests go out: four requests green, four blue, and so on. Each maker of
// requests keeps its own, so their runs do not mix.
class RequestBlinker {
  public:
    // The light's colour for the request about to be made.
    LedColour Next();

  private:
    int count_ = 0; // 0..7
};
