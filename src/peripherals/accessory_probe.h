#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

// The accessory echoes this pattern back while its key is down; it is written without a terminator.
inline constexpr std::uint8_t kAccessoryProbe[] = {'P', 'X', 'X', 'X', 'X', 'X', 'X', 'X'};
inline constexpr std::size_t kAccessoryReplyBytes = 32;

// Whether a reply to the probe says the key is pressed: it begins with the whole probe.
bool ReplyMeansKeyPressed(std::span<const std::uint8_t> reply);
