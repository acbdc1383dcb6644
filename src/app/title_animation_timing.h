#pragma once

#include <cstddef>
#include <cstdint>

// Display time of GIF frame `frame` in milliseconds, from the file's per-frame delays in hundredths of a
// second (`count` of them, possibly none): 100 ms when the file has no delays, and the first delay for a
// frame the list does not reach.
int FrameDelayMs(const std::int32_t* delaysHundredths, std::size_t count, std::size_t frame);

// Every frame is shown for the first frame's time; a zero delay would make the timer fire continuously.
unsigned AnimationTimerPeriodMs(int firstFrameDelayMs);
