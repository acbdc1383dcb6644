#pragma once

#include "net/protocol.h"
#include "session/channels.h"
#include "session/led_colour.h"
#include "session/main_window_zones.h"

#include <cstdint>
#include <optional>

// Win32 handle types, declared the way <windows.h> declares them (STRICT), so this header stays portable.
struct HWND__;
struct HBITMAP__;
struct HINSTANCE__;

inline constexpr int kInactivityStartSeconds = 4500;
inline constexpr int kMaxAnimationFrames = 64;
inline constexpr int kHelpTextBytes = 600; // 200 wide characters, kept as UTF-8

// Slots of the thread timers' identifiers, in the order start-up creates them.
enum ThreadTimerSlot {
    kTimerChannelPanel,
    kTimerNetworkRing,
    kTimerKnobPainter,
    kTimerSpeakerFetch,
    kTimerHelpBanner,
    kTimerStatusPanel,
    kTimerTimeLeft,
    kThreadTimerCount,
};

// Handles of windows, images and timers; touched only by the main thread.
struct WindowHandles {
    HINSTANCE__* instance = nullptr;
    HWND__* mainWindow = nullptr;
    HBITMAP__* knobArrowImage = nullptr;
    HBITMAP__* paramsButtonImage = nullptr;
    HBITMAP__* documentationIcon = nullptr;
    HBITMAP__* synthesiserIcon = nullptr;
    HBITMAP__* channelImages[kChannelCount] = {};
    int channelImageWidth = 0;
    int channelImageHeight = 0;
    HBITMAP__* ledBitmaps[kLedDarkBlue + 1] = {};    // indexed by LedColour
    void* animationFrames[kMaxAnimationFrames] = {}; // GDI+ bitmaps, 150 x 150 ARGB, in file order
    int frameDelaysMs[kMaxAnimationFrames] = {};
    int animationFrameCount = 0;
    int animationFrameIndex = 0;
    void* singleInstanceLock = nullptr;
    void* pcmEvent = nullptr;
    void* accessoryThread = nullptr;
    void* audioThread = nullptr;
    std::uintptr_t timerIds[kThreadTimerCount] = {}; // identifiers the system returned, 0 = not started
};

// The main thread's own state: its countdown, the main window's zones and texts, its handles.
struct MainThreadState {
    // Activity
    int inactivitySeconds = kInactivityStartSeconds;
    bool inactivityCloseFired = false;        // the countdown closes the client once
    std::optional<float> captureLevelAtStart; // nothing when it could not be read: then nothing is put back

    // Main window, drawn only from the main thread
    Zones zones;
    char helpText[kHelpTextBytes] = {};
    char spokenHelp[kSpeechTextMaxChars + 1] = {};
    bool panelsReady = false;
    bool closeButtonReady = false;
    int closeButtonHover = 1; // 1: cross drawn red, 2: drawn yellow
    // Kept from the window's activation messages: asking the system every 200 ms costs a server round trip.
    bool mainWindowInFront = false;

    WindowHandles handles;
};

// The main thread's state for the main window's callbacks, which the system calls without a context.
MainThreadState& MainThread();
