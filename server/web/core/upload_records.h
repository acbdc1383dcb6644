#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace zelvora::web {

// The shared-image upload: a fixed 10,000,268-byte record, whatever the file's size.
inline constexpr std::size_t kUploadDataBytes = 10'000'000;
inline constexpr std::size_t kUploadNameBytes = 256;
inline constexpr std::size_t kUploadRecordBytes = kUploadDataBytes + kUploadNameBytes + 3 * 4;
inline constexpr int kLastChannel = 10;

struct SharedImageUpload {
    int channel = 0;
    std::string_view image; // the file's bytes, within the record
    std::string_view name;  // the file's name in the Windows ANSI code page, within the record
};

// The colour posted by the parameters window: five little-endian 32-bit integers.
inline constexpr std::size_t kColourRecordBytes = 20;

struct ColourUpload {
    std::uint16_t account = 0;
    std::uint32_t colorref = 0; // 0x00BBGGRR, as the client paints it
};

// Nothing when the record's size or any field is out of range.
std::optional<SharedImageUpload> ParseSharedImageUpload(std::string_view record);
std::optional<ColourUpload> ParseColourUpload(std::string_view record);

} // namespace zelvora::web
