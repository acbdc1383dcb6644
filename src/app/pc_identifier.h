#pragma once

#include <cstdint>

// Fixed identifiers used when the system drive cannot be examined.
inline constexpr char kPcIdentifierNoSystemDirectory[] = "8888888888888888";
inline constexpr char kPcIdentifierNoVolumeInformation[] = "9999999999999999";

// Writes the volume serial as 16 zero-padded decimal digits plus a terminating zero.
void FormatPcIdentifier(std::uint32_t volumeSerial, char (&out)[20]);

// Copies one of the fixed identifiers into the field.
void SetPcIdentifier(const char* text, char (&out)[20]);
