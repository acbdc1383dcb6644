#include "app/led_container.h"

#include <algorithm>
#include <cstdio>
#include <memory>

namespace {

constexpr std::size_t kCountBytes = 4;
constexpr std::size_t kRecordBytes = 40;
constexpr std::size_t kNameBytes = 32;
constexpr std::size_t kFileHeaderBytes = 14;
constexpr std::size_t kPixelOffsetAt = 10;
constexpr std::uint32_t kInfoHeaderMinBytes = 40;
constexpr std::int64_t kMaxDimension = 16384; // far beyond any light, small enough that sizes cannot overflow
constexpr std::uint32_t kBiRgb = 0;
constexpr std::uint32_t kBiBitfields = 3;

std::uint16_t ReadU16(std::span<const std::uint8_t> bytes, std::size_t at) {
    return static_cast<std::uint16_t>(bytes[at] | bytes[at + 1] << 8);
}

std::uint32_t ReadU32(std::span<const std::uint8_t> bytes, std::size_t at) {
    return static_cast<std::uint32_t>(bytes[at]) | static_cast<std::uint32_t>(bytes[at + 1]) << 8 |
           static_cast<std::uint32_t>(bytes[at + 2]) << 16 | static_cast<std::uint32_t>(bytes[at + 3]) << 24;
}

std::int32_t ReadI32(std::span<const std::uint8_t> bytes, std::size_t at) {
    return static_cast<std::int32_t>(ReadU32(bytes, at));
}

// Bytes of masks and palette that follow the information header.
std::optional<std::uint64_t> ColourTableBytes(std::uint32_t infoSize, std::uint16_t bitCount,
                                              std::uint32_t compression, std::uint32_t coloursUsed) {
    if (compression == kBiBitfields) {
        if (bitCount != 16 && bitCount != 32) {
            return std::nullopt;
        }
        return infoSize == kInfoHeaderMinBytes ? 12u : 0u; // larger headers carry the masks inside
    }
    if (compression != kBiRgb) {
        return std::nullopt;
    }
    switch (bitCount) {
    case 1:
    case 4:
    case 8: {
        const std::uint32_t maxColours = 1u << bitCount;
        if (coloursUsed > maxColours) {
            return std::nullopt;
        }
        return 4ull * (coloursUsed == 0 ? maxColours : coloursUsed);
    }
    case 16:
    case 24:
    case 32:
        return 4ull * coloursUsed;
    default:
        return std::nullopt;
    }
}

} // namespace

std::vector<std::uint8_t> ReadContainerFile(const char* path) {
    std::vector<std::uint8_t> bytes;
    std::unique_ptr<std::FILE, decltype(&std::fclose)> file(std::fopen(path, "rb"), &std::fclose);
    if (!file) {
        return bytes;
    }
    // Reads on until `end` bytes are held or the file ends.
    auto readUpTo = [&](std::size_t end) {
        const std::size_t held = bytes.size();
        if (end <= held) {
            return;
        }
        bytes.resize(end);
        bytes.resize(held + std::fread(bytes.data() + held, 1, end - held, file.get()));
    };
    readUpTo(kCountBytes);
    if (bytes.size() < kCountBytes) {
        return bytes;
    }
    const std::uint32_t count = ReadU32(bytes, 0);
    if (count > kMaxContainerEntries) {
        return bytes;
    }
    readUpTo(kCountBytes + kRecordBytes * count);
    std::uint64_t end = bytes.size();
    for (std::size_t record = kCountBytes; record + kRecordBytes <= bytes.size(); record += kRecordBytes) {
        const std::uint64_t entryEnd =
            std::uint64_t{ReadU32(bytes, record + kNameBytes)} + ReadU32(bytes, record + kNameBytes + 4);
        end = std::max(end, std::min<std::uint64_t>(entryEnd, kMaxContainerBytes));
    }
    readUpTo(static_cast<std::size_t>(end));
    return bytes;
}

std::optional<ContainerBitmap> ParseBmp(std::span<const std::uint8_t> bmp) {
    if (bmp.size() < kFileHeaderBytes + kInfoHeaderMinBytes || bmp[0] != 'B' || bmp[1] != 'M') {
        return std::nullopt;
    }
    const std::uint64_t pixelOffset = ReadU32(bmp, kPixelOffsetAt);
    const std::uint32_t infoSize = ReadU32(bmp, kFileHeaderBytes);
    if (infoSize < kInfoHeaderMinBytes || kFileHeaderBytes + infoSize > bmp.size()) {
        return std::nullopt;
    }
    const std::int64_t width = ReadI32(bmp, kFileHeaderBytes + 4);
    const std::int64_t height = ReadI32(bmp, kFileHeaderBytes + 8);
    const std::uint16_t planes = ReadU16(bmp, kFileHeaderBytes + 12);
    const std::uint16_t bitCount = ReadU16(bmp, kFileHeaderBytes + 14);
    const std::uint32_t compression = ReadU32(bmp, kFileHeaderBytes + 16);
    const std::uint32_t coloursUsed = ReadU32(bmp, kFileHeaderBytes + 32);
    const std::int64_t rows = height < 0 ? -height : height;
    if (planes != 1 || width <= 0 || width > kMaxDimension || rows == 0 || rows > kMaxDimension) {
        return std::nullopt;
    }
    const auto tableBytes = ColourTableBytes(infoSize, bitCount, compression, coloursUsed);
    if (!tableBytes || kFileHeaderBytes + infoSize + *tableBytes > pixelOffset || pixelOffset > bmp.size()) {
        return std::nullopt;
    }
    const std::uint64_t stride = (static_cast<std::uint64_t>(width) * bitCount + 31) / 32 * 4;
    const std::uint64_t pixelBytes = stride * static_cast<std::uint64_t>(rows);
    if (pixelBytes > bmp.size() - pixelOffset) {
        return std::nullopt;
    }
    return ContainerBitmap{
        bmp.subspan(kFileHeaderBytes, static_cast<std::size_t>(pixelOffset) - kFileHeaderBytes),
        bmp.subspan(static_cast<std::size_t>(pixelOffset))};
}

std::optional<ContainerBitmap> FindContainerBitmap(std::span<const std::uint8_t> container,
                                                   std::string_view name) {
    if (container.size() < kCountBytes) {
        return std::nullopt;
    }
    const std::uint32_t count = ReadU32(container, 0);
    if (count > kMaxContainerEntries) {
        return std::nullopt;
    }
    for (std::uint32_t k = 0; k < count; ++k) {
        const std::size_t record = kCountBytes + kRecordBytes * k;
        if (record + kRecordBytes > container.size()) {
            break; // the table itself is cut short
        }
        const char* rawName = reinterpret_cast<const char*>(container.data() + record);
        const char* nameEnd = std::find(rawName, rawName + kNameBytes, '\0');
        if (nameEnd == rawName + kNameBytes ||
            std::string_view(rawName, static_cast<std::size_t>(nameEnd - rawName)) != name) {
            continue;
        }
        const std::uint64_t offset = ReadU32(container, record + kNameBytes);
        const std::uint64_t length = ReadU32(container, record + kNameBytes + 4);
        if (offset > container.size() || length > container.size() - offset) {
            continue;
        }
        if (auto bitmap = ParseBmp(
                container.subspan(static_cast<std::size_t>(offset), static_cast<std::size_t>(length)))) {
            return bitmap;
        }
    }
    return std::nullopt;
}
