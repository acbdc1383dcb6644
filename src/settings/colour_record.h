#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

// The body that uploads a new background colour to the web service: five little-endian signed 32-bit values,
// 1, red, green, blue and the account number.
inline constexpr std::size_t kColourRecordBytes = 20;
using ColourRecord = std::array<std::uint8_t, kColourRecordBytes>;

// The record of a COLORREF (0x00BBGGRR) for the account.
ColourRecord BuildColourRecord(std::uint32_t colour, int account);

// "red.green.blue" in decimal, as the parameters window shows the colour.
inline constexpr std::size_t kColourTextBytes = 16;
void FormatColourText(std::span<char, kColourTextBytes> text, std::uint32_t colour);
