#pragma once

#include "app/main_thread_state.h"
#include "session/indicator_lights.h"

#include <windows.h>

// Loads the six light bitmaps from "mini_leds.bmf" in the working directory, then sets the
// lights' start states and the NETWORK click zone. Colours the container lacks stay undrawn.
void LoadLedBitmaps(MainThreadState& mainThread, IndicatorLights& lights);

// The bitmap of a light colour, or null when the colour is not drawable or was not loaded.
HBITMAP LedBitmap(const WindowHandles& handles, int colour);
