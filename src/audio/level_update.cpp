#include "audio/level_update.h"

namespace {

constexpr int kFramesLookedAt = 100;
constexpr int kSilentAngle = 218;
constexpr double kAngleSpan = 102.0;
constexpr double kFullScale = 32768.0;

// The largest magnitude of one channel over the first frames; -32768 has no 16-bit magnitude and counts as 0.
std::int16_t PeakOf(const std::uint8_t* pcm, int channel) {
    std::int16_t peak = 0;
    for (int frame = 0; frame < kFramesLookedAt; ++frame) {
        const std::int16_t sample = SampleAt(pcm, frame * kVoiceChannels + channel);
        const auto magnitude = static_cast<std::int16_t>(sample < 0 ? -sample : sample);
        if (magnitude > peak) {
            peak = magnitude;
        }
    }
    return peak;
}

// Two halves, each truncated toward zero, summed as a 16-bit value.
std::int16_t HalfSum(std::int16_t a, std::int16_t b) {
    return static_cast<std::int16_t>(a / 2 + b / 2);
}

int NeedleAngle(std::int16_t level) {
    return kSilentAngle + static_cast<int>(level * kAngleSpan / kFullScale);
}

} // namespace

CaptureLevels UpdateCaptureLevels(std::int16_t smoothedLeftPeak,
                                  const std::uint8_t (&block)[kCaptureBlockBytes]) {
    CaptureLevels levels;
    levels.smoothedLeftPeak = HalfSum(smoothedLeftPeak, PeakOf(block, 0));
    levels.leftNeedleAngle = NeedleAngle(levels.smoothedLeftPeak);
    levels.rightNeedleAngle = NeedleAngle(HalfSum(PeakOf(block, 1), levels.smoothedLeftPeak));
    return levels;
}

PlaybackLevels UpdatePlaybackLevels(std::int16_t smoothedLeftPeak,
                                    const std::uint8_t (&block)[kPlaybackBlockBytes]) {
    const std::int16_t leftPeak = PeakOf(block, 0);
    const std::int16_t rightPeak = PeakOf(block, 1);
    const std::int16_t halfWay = HalfSum(smoothedLeftPeak, leftPeak);
    const std::int16_t threeQuarters = HalfSum(leftPeak, halfWay);
    PlaybackLevels levels;
    levels.leftNeedleAngle = NeedleAngle(halfWay);
    levels.rightNeedleAngle = NeedleAngle(HalfSum(halfWay, rightPeak));
    levels.smoothedLeftPeak = threeQuarters;
    levels.leftBarLevel = threeQuarters;
    levels.rightBarLevel = HalfSum(rightPeak, threeQuarters);
    return levels;
}
