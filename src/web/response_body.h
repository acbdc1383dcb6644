#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

inline constexpr int kStatusOk = 200;

// A reply whose headers have arrived, as the body reader sees it.
class ResponseSource {
  public:
    virtual ~ResponseSource() = default;
    // The status code, or -1 when it cannot be read.
    virtual int StatusCode() = 0;
    // Bytes ready to be read now, 0 at the end of the body; nothing when that cannot be told.
    virtual std::optional<std::size_t> Available() = 0;
    // Reads up to `into.size()` bytes: the count read, or nothing when the read fails.
    virtual std::optional<std::size_t> Read(std::span<std::uint8_t> into) = 0;
};

// Reads the body of a 200 reply (or of one whose status cannot be read) into `buffer` from byte 0 and returns
// its size; any other status gives 0 and leaves the buffer untouched. A chunk that would not fit is left
// unread, so an oversized body is cut at its last whole chunk. A 0 byte follows the body unless the body
// reaches the buffer's last byte. Nothing when the reply broke off before its end (a read or a query of what
// is ready failed): a part of a body is not a body.
std::optional<std::size_t> ReadResponseInto(ResponseSource& source, std::span<std::uint8_t> buffer);
