#include "web/account_texts.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string_view>

namespace {

constexpr std::size_t kTagBytes = 64;
constexpr std::size_t kIdentificationBytes = 39;
constexpr std::size_t kAccountOffset = 34;
constexpr std::size_t kAccountChars = 5;
constexpr std::size_t kBackgroundBytes = 64;
constexpr char kEacuteEntity[] = "&#xE9;";

// The body as text: up to its first 0 byte, never beyond its size.
std::string_view BodyText(std::span<const std::uint8_t> body) {
    const auto end = std::find(body.begin(), body.end(), std::uint8_t{0});
    return {reinterpret_cast<const char*>(body.data()), static_cast<std::size_t>(end - body.begin())};
}

// Extracts a tag into a field and decodes its one entity.
template <std::size_t N>
void ReadField(std::span<const std::uint8_t> body, const char* tag, char (&field)[N]) {
    ExtractTag(body, tag, field);
    ReplaceEacuteEntity(field);
}

} // namespace

bool ExtractTag(std::span<const std::uint8_t> body, const char* tag, std::span<char> destination) {
    char opening[kTagBytes];
    char closing[kTagBytes];
    std::snprintf(opening, sizeof opening, "<%s>", tag);
    std::snprintf(closing, sizeof closing, "</%s>", tag);
    const std::string_view text = BodyText(body);
    const std::size_t open = text.find(opening);
    if (open == std::string_view::npos) {
        return false;
    }
    const std::size_t start = open + std::strlen(opening);
    const std::size_t close = text.find(closing, start);
    if (close == std::string_view::npos) {
        return false;
    }
    const std::size_t length = close - start;
    if (length >= destination.size()) {
        return false;
    }
    std::memcpy(destination.data(), text.data() + start, length);
    destination[length] = '\0';
    return true;
}

void ReplaceEacuteEntity(char* text) {
    constexpr std::size_t kEntityLength = sizeof kEacuteEntity - 1;
    char* out = text;
    for (const char* in = text; *in != '\0';) {
        if (std::strncmp(in, kEacuteEntity, kEntityLength) == 0) {
            *out++ = '\xC3';
            *out++ = '\xA9';
            in += kEntityLength;
        } else {
            *out++ = *in++;
        }
    }
    *out = '\0';
}

void ReadOwnDetails(std::span<const std::uint8_t> body, OwnDetails& details) {
    ReadField(body, "PRENOM", details.firstName);
    ReadField(body, "VILLE", details.town);
    ReadField(body, "PHRASE", details.phrase);
    ReadField(body, "JOUR", details.day);
    ReadField(body, "EMAIL", details.email);
    ReadField(body, "FOLDER", details.folder);
}

SpeakerDetails ReadSpeakerDetails(std::span<const std::uint8_t> body) {
    SpeakerDetails details;
    ReadField(body, "PRENOM", details.firstName);
    ReadField(body, "VILLE", details.town);
    ReadField(body, "PHRASE", details.phrase);
    return details;
}

std::optional<std::uint16_t> ReadAccountNumber(std::span<const std::uint8_t> body) {
    if (body.size() < kIdentificationBytes) {
        return std::nullopt;
    }
    char digits[kAccountChars + 1] = {};
    std::memcpy(digits, body.data() + kAccountOffset, kAccountChars);
    return static_cast<std::uint16_t>(std::atol(digits) & 0xFFFF);
}

std::optional<std::uint32_t> ReadBackgroundColour(std::span<const std::uint8_t> body) {
    char text[kBackgroundBytes] = {};
    if (!ExtractTag(body, "BACKGROUND", text)) {
        return std::nullopt;
    }
    ReplaceEacuteEntity(text);
    // Read as the client's 32-bit strtol reads it, whatever the width of long here.
    long long value = std::strtoll(text, nullptr, 16);
    value = std::clamp<long long>(value, INT32_MIN, INT32_MAX);
    return static_cast<std::uint32_t>(static_cast<std::int32_t>(value));
}
