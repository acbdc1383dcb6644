#pragma once

#include <windows.h>

struct AudioState;

// What the audio windows use. Start-up wires it before the main window exists and adds the window once made:
// the system calls their window procedures without a context.
struct AudioWiring {
    HWND mainWindow = nullptr;
    HINSTANCE instance = nullptr;
    AudioState* audio = nullptr;
};

AudioWiring& AudioWindows();
