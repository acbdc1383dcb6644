#pragma once

#include "audio/voice_format.h"

#include <windows.h>

#include <cstdint>
#include <functional>

struct AudioState;
struct SharedState;

// Where the audio thread sends each block it captured: start-up wires it to the voice link.
using CapturedBlockSender = std::function<void(const std::uint8_t (&block)[kCaptureBlockBytes])>;

// What the audio thread uses; start-up keeps it for the life of the process.
struct AudioThreadWiring {
    AudioState& audio;
    SharedState& shared;
    CapturedBlockSender sendBlock;
};

// The audio thread, given the `AudioThreadWiring*`, started once by start-up after the voice network's
// threads.
DWORD WINAPI AudioThread(LPVOID wiring);

// Asks the audio thread to stop and waits until it has played out, closed its devices and ended, so that the
// process never ends with a sound stream open: ending it under an open stream can crash the sound system.
void StopAudioThread(HANDLE thread, AudioState& audio);
