#pragma once

#include "audio/input_devices.h"
#include "audio/playback_queue.h"

#include <atomic>

// Audio run flag values: the audio thread sets running and ended; shutdown asks it to stop.
inline constexpr int kAudioStopRequested = 0;
inline constexpr int kAudioRunning = 1;
inline constexpr int kAudioEnded = 99;

// What the level meters show: the audio thread writes, the meters' timers paint.
struct LevelReadings {
    std::atomic<int> leftNeedleAngle{0};
    std::atomic<int> rightNeedleAngle{0};
    std::atomic<int> leftBarLevel{0};
    std::atomic<int> rightBarLevel{0};
};

// The audio thread's state as the other threads see it.
struct AudioState {
    std::atomic<int> runFlag{kAudioStopRequested}; // start-up sets running before the thread starts
    PlaybackQueue playbackQueue;                   // the receive thread appends, the audio thread plays
    // Sounds dropped because the playback device, closed through a silence, would not open again
    std::atomic<int> playbackReopenFailures{0};
    LevelReadings levels;
    // The main thread lists the devices and the user chooses; the audio thread opens it at the next talk
    InputDeviceSlot inputDevices[kInputDeviceSlots];
    std::atomic<int> selectedInputDevice{kDefaultInputDevice};
};
