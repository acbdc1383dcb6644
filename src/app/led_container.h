#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

// The light container "mini_leds.bmf": a little-endian entry count, then up to 20 records of
// a 32-byte zero-terminated name, the entry's offset and its length; each entry is a BMP file.

inline constexpr char kLedContainerFile[] = "mini_leds.bmf";
inline constexpr std::uint32_t kMaxContainerEntries = 20;
// Far beyond six small lights; data declared past it is never read.
inline constexpr std::size_t kMaxContainerBytes = std::size_t{1} << 20;

// A validated BMP entry, as views into the container bytes.
struct ContainerBitmap {
    std::span<const std::uint8_t> header; // bitmap information header, masks and colour table
    std::span<const std::uint8_t> pixels; // at least as many bytes as the header's rows need
};

// The bytes of the file that its entry table covers: the count, the table and every entry's data up to the
// furthest entry end, at most kMaxContainerBytes; nothing past the count when it is above 20. Empty when the
// file cannot be opened; shorter when the file is. Throws std::bad_alloc like any allocation.
std::vector<std::uint8_t> ReadContainerFile(const char* path);

// Checks one BMP file: "BM", an information header and colour table that fit before the pixel
// data, and pixel data that covers every row. Anything else is refused.
std::optional<ContainerBitmap> ParseBmp(std::span<const std::uint8_t> bmp);

// The first entry in file order named exactly `name` whose record, data and BMP header are sound.
// A container listing more than 20 entries yields nothing.
std::optional<ContainerBitmap> FindContainerBitmap(std::span<const std::uint8_t> container,
                                                   std::string_view name);
