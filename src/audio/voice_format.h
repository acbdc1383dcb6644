#pragma once

#include <cstddef>
#include <cstdint>

// Speech travels as uncompressed PCM: 2 interleaved channels, 8000 frames per second, 16-bit signed
// little-endian samples. The same format serves the microphone, every datagram payload and the speaker.
inline constexpr int kVoiceChannels = 2;
inline constexpr int kVoiceFramesPerSecond = 8000;
inline constexpr int kVoiceBitsPerSample = 16;
inline constexpr int kVoiceBytesPerFrame = kVoiceChannels * kVoiceBitsPerSample / 8;

// One capture block is one datagram payload: 250 frames, 31.25 ms.
inline constexpr std::size_t kCaptureBlockBytes = 1000;
inline constexpr int kCaptureBuffers = 3;
using CaptureBlock = std::uint8_t[kCaptureBlockBytes];

// The playback queue's slots each hold one payload; the device plays four at a time (125 ms).
inline constexpr int kQueueSlots = 16;
inline constexpr int kSlotsPerPlaybackBlock = 4;
inline constexpr std::size_t kPlaybackBlockBytes = kSlotsPerPlaybackBlock * kCaptureBlockBytes;
inline constexpr int kPlaybackBlocks = 2;

// The sample at `index` of a little-endian 16-bit PCM buffer.
inline std::int16_t SampleAt(const std::uint8_t* pcm, int index) {
    return static_cast<std::int16_t>(pcm[2 * index] | (pcm[2 * index + 1] << 8));
}
