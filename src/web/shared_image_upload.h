#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

// The body of every shared-image upload, sent whole whatever the file's size: the file's bytes, its name in
// the ANSI code page (NUL-terminated, zero-filled), then the file length, the name length and the channel as
// signed 32-bit little-endian numbers.
inline constexpr std::size_t kUploadDataBytes = 10'000'000;
inline constexpr std::size_t kUploadNameBytes = 256;
inline constexpr std::size_t kUploadRecordBytes = kUploadDataBytes + kUploadNameBytes + 3 * 4;
// The chosen file's path in the ANSI code page, terminator included.
inline constexpr std::size_t kUploadPathMaxBytes = 200;

class UploadRecord {
  public:
    std::span<const std::uint8_t> Bytes() const { return bytes_; }
    std::span<std::uint8_t> Data() { return std::span(bytes_).first(kUploadDataBytes); }
    std::span<std::uint8_t> NameField() {
        return std::span(bytes_).subspan(kUploadDataBytes, kUploadNameBytes);
    }
    void SetFileLength(std::int32_t length) { Store(kUploadDataBytes + kUploadNameBytes, length); }
    void SetNameLength(std::int32_t length) { Store(kUploadDataBytes + kUploadNameBytes + 4, length); }
    void SetChannel(std::int32_t channel) { Store(kUploadDataBytes + kUploadNameBytes + 8, channel); }

  private:
    void Store(std::size_t offset, std::int32_t value);

    std::uint8_t bytes_[kUploadRecordBytes] = {};
};

// The file the user chose, as the upload reads it.
class ChosenFile {
  public:
    virtual ~ChosenFile() = default;
    // Opens the file and gives its size in bytes; nothing when it cannot be opened or measured.
    virtual std::optional<std::uint64_t> OpenAndMeasure() = 0;
    // Reads the file from its start into `into`, at most its size; the number of bytes read.
    virtual std::size_t Read(std::span<std::uint8_t> into) = 0;
};

// Whether the record is ready to send, or why not.
enum class UploadCheck {
    Ready,
    PathTooLong, // the ANSI path needs more than kUploadPathMaxBytes
    CannotOpen,
    TooLarge, // kUploadDataBytes or more
    Empty,
    NameTooLong, // the ANSI name and its terminator do not fit the name field
};

// Fills the record for one upload of `file` to `channel`. `ansiPathBytes` is the size of the path in the
// ANSI code page with its terminator, `ansiName` the last component of the path in that code page. The data
// area is cleared past the file's end, so nothing of an earlier file travels with this one.
UploadCheck FillUploadRecord(UploadRecord& record, ChosenFile& file, std::size_t ansiPathBytes,
                             std::string_view ansiName, int channel);
