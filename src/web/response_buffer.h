#pragma once

#include <cstddef>
#include <cstdint>
#include <mutex>
#include <span>

inline constexpr std::size_t kResponseBufferBytes = 10'000'000;

// The one buffer every web request lands its body in, and the slot of the request being read. The main thread
// and the accessory thread both make requests: one lock, held from a request through the decoding or parsing
// of its body, keeps a body from being overwritten while it is read.
class ResponseBuffer {
  public:
    // Holds the lock; the buffer and the request slot are reached only through it.
    class Lease {
      public:
        std::span<std::uint8_t> Bytes() { return owner_->bytes_; }
        // The first `size` bytes of the buffer, at most all of it; empty for a size below 1.
        std::span<const std::uint8_t> First(int size) const;
        // The body of the last request made under this lease; empty before one has brought a body.
        std::span<const std::uint8_t> Body() const { return First(static_cast<int>(bodySize_)); }
        void SetBodySize(std::size_t size) { bodySize_ = size; }
        // The request whose reply is being read (a platform handle), null between requests.
        void*& CurrentRequest() { return owner_->currentRequest_; }

      private:
        friend class ResponseBuffer;
        explicit Lease(ResponseBuffer& owner) : owner_(&owner), lock_(owner.lock_) {}
        ResponseBuffer* owner_;
        std::unique_lock<std::mutex> lock_;
        std::size_t bodySize_ = 0;
    };

    // Waits for the buffer to be free.
    Lease Acquire() { return Lease(*this); }

  private:
    std::mutex lock_;
    void* currentRequest_ = nullptr;
    std::uint8_t bytes_[kResponseBufferBytes] = {};
};
