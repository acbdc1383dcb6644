#include "peripherals/usb_icon.h"

IconFetchOutcome OutcomeOfIconFetch(int fetchResult) {
    if (fetchResult == 0) {
        return IconFetchOutcome::KeepPicture;
    }
    // -1: the exchange failed; 1: no session could be opened (and one byte is no picture either).
    if (fetchResult < 0 || fetchResult == 1) {
        return IconFetchOutcome::RemovePicture;
    }
    return IconFetchOutcome::DecodeBody;
}

void UsbIcon::Set(int state) {
    if (state == State()) {
        return;
    }
    state_.store(state, std::memory_order_relaxed);
    ResponseBuffer::Lease response = buffer_.Acquire();
    const int result = picture_.Fetch(response, state);
    switch (OutcomeOfIconFetch(result)) {
    case IconFetchOutcome::KeepPicture:
        break;
    case IconFetchOutcome::RemovePicture:
        picture_.Remove();
        break;
    case IconFetchOutcome::DecodeBody:
        picture_.ShowBody(response, result);
        break;
    }
}
