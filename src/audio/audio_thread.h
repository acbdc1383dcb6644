#pragma once

#include "audio/sound_devices.h"

#include <cstdint>

struct AudioState;
struct IndicatorLights;

// What the audio thread needs from the rest of the client.
class AudioHost {
  public:
    // Whether the user holds a talk key.
    virtual bool UserTalks() = 0;
    // The input device the user chose, -1 for the system's default.
    virtual int SelectedInputDevice() = 0;
    // Sends one captured block to the voice server.
    virtual void SendBlock(const std::uint8_t (&block)[kCaptureBlockBytes]) = 0;
    // A device cannot be opened as its phase begins: the user is told; the client cannot go on and does not
    // return from these. (A playback device that will not wake from a rest is not reported.)
    virtual void CaptureDeviceFailed(int errorCode) = 0;
    virtual void PlaybackDeviceFailed(int errorCode) = 0;

  protected:
    ~AudioHost() = default;
};

// What both phases of the audio thread work on; the left level's memory is the thread's own and carries
// from one phase to the other.
struct AudioThreadState {
    AudioState& audio;
    IndicatorLights& lights;
    std::int16_t smoothedLeftPeak = 0;
};

// The audio thread's body: listens until the user talks, talks until the user releases, and so on until
// the audio run flag leaves 1, which the starter sets before the thread starts; it then sets the flag to
// 99. Returns early, without setting the flag, only when a failed device's report returns.
void RunAudioThread(AudioState& audio, IndicatorLights& lights, CaptureDevice& capture,
                    PlaybackDevice& playback, AudioHost& host);
