#pragma once

#include "audio/voice_format.h"
#include "session/speech_sink.h"

#include <cstddef>
#include <cstdint>
#include <mutex>

// Relayed speech waiting to be played, as a sliding window of 16 payload slots: slots 0 to 3 hold the block
// handed to the device last, slots 4 up to the fill index hold what waits to be played, oldest first. The
// receive thread appends and the audio thread takes blocks; the queue's own lock keeps the two apart.
// The stream arrives at the pace it is played, so a lead the queue gained (a device that started late, a
// burst) would never drain by itself: silence waiting beyond the target is dropped instead.
class PlaybackQueue final : public SpeechSink {
  public:
    // Five slots of silence ahead of the first sound.
    static constexpr int kFillAtStart = 5;
    // After a block is taken, one payload waiting (the head start the queue is given at start) rides out
    // 31.25 ms of lateness of the stream or of the device's clock without a gap in speech.
    static constexpr int kTargetFill = kFillAtStart;
    // A payload whose every sample lies within this (-48 dBFS) is silence, whatever its flag said.
    static constexpr int kNearZero = 128;

    // Empties every slot and restores the start fill index.
    void Reset() override;

    // Puts one payload in the next free slot: `bytes` (at most one slot's worth) followed by silence; no
    // bytes at all is a slot of silence. When the queue is full the last slot is overwritten.
    void Append(const std::uint8_t* bytes, std::size_t count) override;

    // Slides the window by one block and copies out the block that slid into slots 0 to 3; empty slots
    // play as silence. Then, while more than the target waits, the oldest silent payload waiting is dropped;
    // sound is kept whole and in order.
    void TakeNextBlock(std::uint8_t (&block)[kPlaybackBlockBytes]);

    // The index of the slot the next payload goes to, 4..15 once playback has run.
    int Fill();

  private:
    void DropSilenceBeyondTarget();

    std::mutex lock_;
    std::uint8_t slots_[kQueueSlots][kCaptureBlockBytes] = {};
    int fill_ = kFillAtStart;
};
