#include "web/response_buffer.h"

#include <algorithm>

std::span<const std::uint8_t> ResponseBuffer::Lease::First(int size) const {
    if (size <= 0) {
        return {};
    }
    return std::span<const std::uint8_t>(owner_->bytes_,
                                         std::min(static_cast<std::size_t>(size), kResponseBufferBytes));
}
