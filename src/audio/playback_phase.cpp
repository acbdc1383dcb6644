#include "audio/playback_phase.h"

#include "session/session_state.h"
#include "audio/level_update.h"
#include "audio/network_ring.h"

void FreeBlocks::OnBlockPlayed() {
    std::lock_guard<std::mutex> hold(playLock_);
    ++freeBlocks_;
    blockPlayed_.notify_one();
}

void FreeBlocks::Reset() {
    std::lock_guard<std::mutex> hold(playLock_);
    freeBlocks_ = kPlaybackBlocks;
}

void FreeBlocks::TakeOne() {
    std::lock_guard<std::mutex> hold(playLock_);
    --freeBlocks_;
}

void FreeBlocks::WaitForOne() {
    std::unique_lock<std::mutex> hold(playLock_);
    blockPlayed_.wait(hold, [this] { return freeBlocks_ > 0; });
}

void FreeBlocks::WaitForAll() {
    std::unique_lock<std::mutex> hold(playLock_);
    blockPlayed_.wait(hold, [this] { return freeBlocks_ >= kPlaybackBlocks; });
}

bool PlaybackPhase::Run() {
    freeBlocks_.Reset();
    playIndex_ = 0;
    const int error = playback_.Open(freeBlocks_);
    if (error != 0) {
        host_.PlaybackDeviceFailed(error);
        return false;
    }
    while (!host_.UserTalks() &&
           session_.audioRunFlag.load(std::memory_order_relaxed) != kAudioStopRequested) {
        PlayNextBlock();
    }
    freeBlocks_.WaitForAll();
    playback_.Close();
    return true;
}

void PlaybackPhase::PlayNextBlock() {
    PlaybackRingStep(session_.playbackRingHead, session_.playbackRingPos, session_.networkRing);
    session_.playbackQueue.TakeNextBlock(block_);
    playback_.Play(playIndex_, block_);
    freeBlocks_.TakeOne();
    freeBlocks_.WaitForOne();
    playIndex_ = (playIndex_ + 1) % kPlaybackBlocks;

    const PlaybackLevels levels = UpdatePlaybackLevels(session_.smoothedLeftPeak, block_);
    session_.smoothedLeftPeak = levels.smoothedLeftPeak;
    session_.leftNeedleAngle.store(levels.leftNeedleAngle, std::memory_order_relaxed);
    session_.rightNeedleAngle.store(levels.rightNeedleAngle, std::memory_order_relaxed);
    session_.leftBarLevel.store(levels.leftBarLevel, std::memory_order_relaxed);
    session_.rightBarLevel.store(levels.rightBarLevel, std::memory_order_relaxed);
}
