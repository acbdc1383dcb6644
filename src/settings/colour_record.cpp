#include "settings/colour_record.h"

#include <cstdio>

namespace {

constexpr long Red(std::uint32_t colour) {
    return colour & 0xFF;
}
constexpr long Green(std::uint32_t colour) {
    return (colour >> 8) & 0xFF;
}
constexpr long Blue(std::uint32_t colour) {
    return (colour >> 16) & 0xFF;
}

void PutLittleEndian32(ColourRecord& record, std::size_t offset, std::int32_t value) {
    const auto bits = static_cast<std::uint32_t>(value);
    for (std::size_t i = 0; i < 4; ++i) {
        record[offset + i] = static_cast<std::uint8_t>(bits >> (8 * i));
    }
}

} // namespace

ColourRecord BuildColourRecord(std::uint32_t colour, int account) {
    ColourRecord record{};
    PutLittleEndian32(record, 0, 1);
    PutLittleEndian32(record, 4, static_cast<std::int32_t>(Red(colour)));
    PutLittleEndian32(record, 8, static_cast<std::int32_t>(Green(colour)));
    PutLittleEndian32(record, 12, static_cast<std::int32_t>(Blue(colour)));
    PutLittleEndian32(record, 16, account);
    return record;
}

void FormatColourText(std::span<char, kColourTextBytes> text, std::uint32_t colour) {
    std::snprintf(text.data(), text.size(), "%ld.%ld.%ld", Red(colour), Green(colour), Blue(colour));
}
