#include "audio/playback_phase.h"

#include "audio/audio_state.h"
#include "audio/level_update.h"
#include "audio/network_ring.h"
#include "session/indicator_lights.h"

#include <algorithm>
#include <iterator>

namespace {

// Two seconds of silence in a row.
constexpr int kSilentBlocksBeforeRest = 16;

} // namespace

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
    silentBlocks_ = 0;
    resting_ = false;
    if (!OpenDevice()) {
        return false;
    }
    while (!host_.UserTalks() && audio_.runFlag.load(std::memory_order_relaxed) != kAudioStopRequested) {
        PlayNextBlock();
    }
    if (resting_) {
        playback_.StopClock();
        return true;
    }
    freeBlocks_.WaitForAll();
    playback_.Close();
    return true;
}

bool PlaybackPhase::OpenDevice() {
    const int error = TryOpenDevice();
    if (error != 0) {
        host_.PlaybackDeviceFailed(error);
        return false;
    }
    return true;
}

int PlaybackPhase::TryOpenDevice() {
    freeBlocks_.Reset();
    playIndex_ = 0;
    return playback_.Open(freeBlocks_);
}

void PlaybackPhase::WakeDevice() {
    // In the middle of a session a device that will not open again costs this sound, not the client: the
    // clock keeps the pace and the next sound tries again.
    if (TryOpenDevice() != 0) {
        audio_.playbackReopenFailures.fetch_add(1, std::memory_order_relaxed);
        return;
    }
    playback_.StopClock();
    resting_ = false;
    // The block of silence the device would be holding: the sound keeps the delay it has while playing.
    static constexpr std::uint8_t kSilence[kPlaybackBlockBytes] = {};
    Write(kSilence);
}

void PlaybackPhase::PlayNextBlock() {
    PlaybackRingStep(ringHead_, lights_.playbackRingPos, lights_.ring);
    audio_.playbackQueue.TakeNextBlock(block_);
    const bool silent =
        std::all_of(std::begin(block_), std::end(block_), [](std::uint8_t b) { return b == 0; });
    silentBlocks_ = silent ? silentBlocks_ + 1 : 0;
    if (resting_ && !silent) {
        WakeDevice();
    }
    if (resting_) {
        playback_.WaitForClock();
    } else if (silentBlocks_ > kSilentBlocksBeforeRest) {
        freeBlocks_.WaitForAll(); // the block it still plays stands for this pass's wait
        playback_.Close();
        playback_.StartClock();
        resting_ = true;
    } else {
        Write(block_);
        freeBlocks_.WaitForOne();
    }
    UpdateLevels();
}

void PlaybackPhase::Write(const std::uint8_t (&block)[kPlaybackBlockBytes]) {
    playback_.Play(playIndex_, block);
    freeBlocks_.TakeOne();
    playIndex_ = (playIndex_ + 1) % kPlaybackBlocks;
}

void PlaybackPhase::UpdateLevels() {
    const PlaybackLevels levels = UpdatePlaybackLevels(smoothedLeftPeak_, block_);
    smoothedLeftPeak_ = levels.smoothedLeftPeak;
    audio_.levels.leftNeedleAngle.store(levels.leftNeedleAngle, std::memory_order_relaxed);
    audio_.levels.rightNeedleAngle.store(levels.rightNeedleAngle, std::memory_order_relaxed);
    audio_.levels.leftBarLevel.store(levels.leftBarLevel, std::memory_order_relaxed);
    audio_.levels.rightBarLevel.store(levels.rightBarLevel, std::memory_order_relaxed);
}
