#pragma once

#include "web/fetch_result.h"
#include "web/response_buffer.h"

#include <atomic>

// States of the accessory's USB icon; 0 until start-up shows the first one.
enum UsbIconState : int {
    kUsbIconNone = 0,
    kUsbIconBlack = 1, // no adapter open
    kUsbIconGreen = 2, // adapter open, key released
    kUsbIconRed = 3,   // key pressed
};

// The platform side of the icon: the picture of a state comes from the web service.
class UsbIconPicture {
  public:
    virtual ~UsbIconPicture() = default;
    // Fetches the state's picture into the leased buffer.
    virtual FetchResult Fetch(ResponseBuffer::Lease& response, int state) = 0;
    // Replaces the picture by the first `size` bytes of the body decoded (by nothing when they are no
    // picture) and draws it.
    virtual void ShowBody(const ResponseBuffer::Lease& response, int size) = 0;
    // Takes the picture away until the next state change.
    virtual void Remove() = 0;
};

// The icon's state machine: a state change costs one fetch; the same state again costs nothing.
class UsbIcon {
  public:
    UsbIcon(ResponseBuffer& buffer, UsbIconPicture& picture) : buffer_(buffer), picture_(picture) {}

    // The buffer is leased from the fetch through the decoding, so a request of another thread cannot
    // overwrite the body while it is read.
    void Set(int state);
    int State() const { return state_.load(std::memory_order_relaxed); }

  private:
    ResponseBuffer& buffer_;
    UsbIconPicture& picture_;
    std::atomic<int> state_{kUsbIconNone};
};
