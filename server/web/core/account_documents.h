#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace zelvora::web {

// A member's own details, in the order and with the tags of client.xml; UTF-8.
struct MemberDetails {
    static constexpr std::size_t kCount = 6;
    static constexpr std::array<std::string_view, kCount> kTags = {"PRENOM", "VILLE", "PHRASE",
                                                                   "JOUR",   "EMAIL", "FOLDER"};
    // The client's field sizes, terminator included: longer texts would be ignored by it.
    static constexpr std::array<std::size_t, kCount> kCapacities = {64, 64, 128, 64, 128, 64};
    std::array<std::string, kCount> texts;
};

// The text as client.xml carries it: "é" as the one entity the client decodes, the rest as is.
std::string EncodeMemberText(std::string_view utf8);

// Valid UTF-8 without control characters or markup, whose encoded form fits the client's field.
bool IsValidMemberText(std::string_view utf8, std::size_t capacity);

std::string ClientXml(const MemberDetails& details);
// BACKGROUND is the COLORREF itself in hexadecimal, so FF8000 reads as blue 255, green 128, red 0.
std::string ParamsXml(std::uint32_t colorref);
// The client reads the account number as the five characters at offsets 34 to 38.
std::string IdentificationReply(std::uint16_t account);

} // namespace zelvora::web
