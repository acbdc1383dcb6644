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
class PlaybackPhase {
  public:
    PlaybackPhase(SessionState& session, PlaybackDevice& playback, AudioHost& host)
        : session_(session), playback_(playback), host_(host) {}

    // Plays until the user talks or a stop is requested, then lets the device play out and closes it;
    // false when the device cannot be opened (already reported).
    bool Run();

  private:
    void PlayNextBlock();

    SessionState& session_;
    PlaybackDevice& playback_;
    AudioHost& host_;
    FreeBlocks freeBlocks_; // outlives each phase: the device's thread may still be leaving its notice
    int playIndex_ = 0;
    std::uint8_t block_[kPlaybackBlockBytes] = {};
};
