#include "audio/icon_reference.h"

#include <charconv>

namespace {

constexpr std::size_t kMaxIndexCharacters = 9;

} // namespace

IconReference ParseIconReference(std::string_view text) {
    IconReference icon;
    const std::size_t comma = text.find(',');
    icon.location = std::string(text.substr(0, comma));
    if (comma == std::string_view::npos) {
        return icon;
    }
    icon.hasIndex = true;
    std::string_view digits = text.substr(comma + 1, kMaxIndexCharacters);
    while (!digits.empty() && digits.front() == ' ') {
        digits.remove_prefix(1);
    }
    if (!digits.empty() && digits.front() == '+') {
        digits.remove_prefix(1);
    }
    std::from_chars(digits.data(), digits.data() + digits.size(), icon.index); // no number leaves 0
    return icon;
}
