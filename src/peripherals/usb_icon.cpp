#include "peripherals/usb_icon.h"

void UsbIcon::Set(int state) {
    if (state == State()) {
        return;
    }
    state_.store(state, std::memory_order_relaxed);
    ResponseBuffer::Lease response = buffer_.Acquire();
    const FetchResult fetched = picture_.Fetch(response, state);
    // Nothing from the service keeps the shown picture; a failed exchange takes it away.
    switch (fetched.status) {
    case FetchStatus::NoBody:
        break;
    case FetchStatus::Failed:
        picture_.Remove();
        break;
    case FetchStatus::Body:
        picture_.ShowBody(response, static_cast<int>(fetched.size));
        break;
    }
}
