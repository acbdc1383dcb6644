#pragma once

#include "web/win32/speaker_band.h"

#include <windows.h>

#include <atomic>

struct AccountState;
struct SharedState;

// What the web windows, fetches and uploads use. Start-up wires it before the main window exists and adds
// the window once made: the system calls their window and timer procedures without a context.
struct WebWiring {
    HWND mainWindow = nullptr;
    HINSTANCE instance = nullptr;
    SharedState* shared = nullptr;
    AccountState* account = nullptr;
    const std::atomic<int>* speakerAccount = nullptr; // the voice receiver's
    SpeakerBandPlaces speakerBand;
};

WebWiring& Web();
