#pragma once

#include "audio/voice_format.h"

#include <cstdint>

// What the level meters show: needle angles in degrees (218 silence .. 319 full scale) and bar levels
// (0..32767), computed from the first 100 frames of each block sent or played.

struct CaptureLevels {
    std::int16_t smoothedLeftPeak = 0;
    int leftNeedleAngle = 0;
    int rightNeedleAngle = 0;
};

struct PlaybackLevels {
    std::int16_t smoothedLeftPeak = 0;
    int leftNeedleAngle = 0;
    int rightNeedleAngle = 0;
    int leftBarLevel = 0;
    int rightBarLevel = 0;
};

// The left memory moves half way toward the block's left peak; both needles follow it.
CaptureLevels UpdateCaptureLevels(std::int16_t smoothedLeftPeak,
                                  const std::uint8_t (&block)[kCaptureBlockBytes]);

// The left memory moves three quarters of the way toward the block's left peak; the bars follow too.
PlaybackLevels UpdatePlaybackLevels(std::int16_t smoothedLeftPeak,
                                    const std::uint8_t (&block)[kPlaybackBlockBytes]);
