#pragma once

#include "web/own_details.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

// Readers of the web service's account replies. The replies are hostile input: every read stays inside the
// body it is given, up to the body's first 0 byte.

// The text between the first "<tag>" of the body and the first "</tag>" after it, copied into `destination`
// with a terminating 0 only when it fits; otherwise `destination` keeps what it held and the result is false.
bool ExtractTag(std::span<const std::uint8_t> body, const char* tag, std::span<char> destination);

// Turns every "&#xE9;" into the UTF-8 bytes of "é", in place.
void ReplaceEacuteEntity(char* text);

// Replaces the details whose tags client.xml carries; a missing or oversized one keeps its old text.
void ReadOwnDetails(std::span<const std::uint8_t> body, OwnDetails& details);

// What the speaker band shows; a tag missing from client.xml shows as an empty text.
struct SpeakerDetails {
    char firstName[64] = {};
    char town[64] = {};
    char phrase[128] = {};
};

SpeakerDetails ReadSpeakerDetails(std::span<const std::uint8_t> body);

// The account number of an identification reply: the five characters at offsets 34 to 38, read as a decimal
// number, kept to 16 bits. Nothing for a reply too short to hold them.
std::optional<std::uint16_t> ReadAccountNumber(std::span<const std::uint8_t> body);

// The COLORREF of params.xml's BACKGROUND, a hexadecimal number; nothing when the tag is missing or too long.
std::optional<std::uint32_t> ReadBackgroundColour(std::span<const std::uint8_t> body);
