#pragma once

#include "audio/voice_format.h"

#include <cstdint>

// The two sound devices as the audio thread drives them; the client's are the system's wave devices.
// Every call comes from the audio thread, except the block-played notice, which comes from the device's own.

class CaptureDevice {
  public:
    // Opens input device `deviceNumber` (-1: the system's default) in the voice format with its three
    // buffers; 0, or the system's error code.
    virtual int Open(int deviceNumber) = 0;
    // Hands buffer `index` (0..2) to the device, behind the buffers it already holds.
    virtual void Queue(int index) = 0;
    virtual void Start() = 0;
    // Whether the device has filled buffer `index` since it was queued.
    virtual bool IsFilled(int index) = 0;
    virtual const CaptureBlock& Buffer(int index) = 0;
    // Waits at most `ms` milliseconds, until the device has filled a buffer, or until the talk keys or the
    // audio run flag change.
    virtual void WaitForBuffer(int ms) = 0;
    // Stops recording, takes every buffer back and closes; what was recorded but not taken is dropped.
    virtual void Close() = 0;

  protected:
    ~CaptureDevice() = default;
};

class BlockPlayedListener {
  public:
    // Called on the device's thread each time the device has played a block.
    virtual void OnBlockPlayed() = 0;

  protected:
    ~BlockPlayedListener() = default;
};

class PlaybackDevice {
  public:
    // Opens the system's default output in the voice format with its two blocks; 0, or the system's error
    // code.
    virtual int Open(BlockPlayedListener& listener) = 0;
    // Plays `block` through device block `index` (0 or 1), which the device no longer holds.
    virtual void Play(int index, const std::uint8_t (&block)[kPlaybackBlockBytes]) = 0;
    // Closes the device once it holds no block.
    virtual void Close() = 0;
    // While the device is closed through a long silence, its clock keeps the pace of the blocks it would
    // play: after StartClock, each WaitForClock returns one block time (125 ms) after the previous one.
    virtual void StartClock() = 0;
    virtual void WaitForClock() = 0;
    virtual void StopClock() = 0;

  protected:
    ~PlaybackDevice() = default;
};
