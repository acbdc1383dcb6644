#pragma once

#include "audio/audio_thread.h"

#include <condition_variable>
#include <mutex>

// How many of the playback device's two blocks it does not hold; the device's thread gives them back.
class FreeBlocks final : public BlockPlayedListener {
  public:
    void OnBlockPlayed() override;
    void Reset();
    void TakeOne();
    void WaitForOne();
    void WaitForAll();

  private:
    std::mutex playLock_;
    std::condition_variable blockPlayed_;
    int freeBlocks_ = kPlaybackBlocks;
};

// The listening phase: plays the playback queue in blocks of 125 ms, at most two of them held by the device.
// After two seconds of nothing but silence the device is closed and its clock keeps the passes' pace, so
// that the system's sound stack does not wake for silence; the first sound opens it again, and a sound it
// cannot be opened for is dropped and counted.
class PlaybackPhase {
  public:
    PlaybackPhase(AudioThreadState& state, PlaybackDevice& playback, AudioHost& host)
        : audio_(state.audio), lights_(state.lights), smoothedLeftPeak_(state.smoothedLeftPeak),
          playback_(playback), host_(host) {}

    // Plays until the user talks or a stop is requested, then lets the device play out and closes it;
    // false when the device cannot be opened at the start (already reported).
    bool Run();

  private:
    bool OpenDevice();
    int TryOpenDevice();
    void WakeDevice();
    void PlayNextBlock();
    void Write(const std::uint8_t (&block)[kPlaybackBlockBytes]);
    void UpdateLevels();

    AudioState& audio_;
    IndicatorLights& lights_;
    std::int16_t& smoothedLeftPeak_;
    PlaybackDevice& playback_;
    AudioHost& host_;
    FreeBlocks freeBlocks_; // outlives each phase: the device's thread may still be leaving its notice
    int playIndex_ = 0;
    int ringHead_ = 0;     // the NETWORK ring's light that plays
    int silentBlocks_ = 0; // taken one after the other, the last one included
    bool resting_ = false; // the device is closed through a silence and its clock paces the passes
    std::uint8_t block_[kPlaybackBlockBytes] = {};
};
