#include "web/response_body.h"

std::optional<std::size_t> ReadResponseInto(ResponseSource& source, std::span<std::uint8_t> buffer) {
    const int status = source.StatusCode();
    if (status != -1 && status != kStatusOk) {
        return 0;
    }
    std::size_t total = 0;
    for (;;) {
        const std::optional<std::size_t> available = source.Available();
        if (!available) {
            return std::nullopt;
        }
        if (*available == 0 || *available > buffer.size() - total) {
            break;
        }
        const std::optional<std::size_t> read = source.Read(buffer.subspan(total, *available));
        if (!read) {
            return std::nullopt;
        }
        // A read that brings nothing ends the body, so a source that keeps announcing bytes cannot spin.
        if (*read == 0) {
            break;
        }
        total += *read < *available ? *read : *available;
    }
    if (total + 1 < buffer.size()) {
        buffer[total] = 0;
    }
    return total;
}
