#pragma once

#include "audio/sound_devices.h"

#include <windows.h>

#include <mmsystem.h>

// The system's wave devices in the voice format. Their buffers are fixed arrays of these objects: nothing is
// allocated while the client talks or listens.

class WaveCapture final : public CaptureDevice {
  public:
    // `alsoWakeOn`, an event or null, ends every wait for a buffer too.
    explicit WaveCapture(HANDLE alsoWakeOn);
    int Open(int deviceNumber) override;
    void Queue(int index) override;
    void Start() override;
    bool IsFilled(int index) override;
    const CaptureBlock& Buffer(int index) override { return buffers_[index]; }
    void WaitForBuffer(int ms) override;
    void Close() override;

  private:
    HWAVEIN device_ = nullptr;
    HANDLE bufferFilled_ = nullptr; // the device signals it for every buffer it fills
    HANDLE alsoWakeOn_ = nullptr;
    WAVEHDR headers_[kCaptureBuffers] = {};
    CaptureBlock buffers_[kCaptureBuffers] = {};
};

class WavePlayback final : public PlaybackDevice {
  public:
    WavePlayback();
    int Open(BlockPlayedListener& listener) override;
    void Play(int index, const std::uint8_t (&block)[kPlaybackBlockBytes]) override;
    void Close() override;
    void StartClock() override;
    void WaitForClock() override;
    void StopClock() override;

  private:
    HWAVEOUT device_ = nullptr;
    HANDLE clock_ =
        nullptr; // a periodic waitable timer: the pace does not drift with the time each pass takes
    WAVEHDR headers_[kPlaybackBlocks] = {};
    std::uint8_t blocks_[kPlaybackBlocks][kPlaybackBlockBytes] = {};
};
