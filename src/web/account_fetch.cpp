#include "web/account_fetch.h"

#include "session/session_state.h"
#include "web/service_paths.h"

int AccountFetcher::Fetch(std::uint32_t number, int kind) {
    const std::lock_guard<std::mutex> fetching(lock_);
    session_.webLed.store(blinker_.Next(), std::memory_order_relaxed);
    if (SkippedByGuard(number, kind)) {
        return 0;
    }
    session_.refetchFlag = false;
    if (kind == kFetchSpeakerPicture) {
        lastPictureAccount_ = number;
    } else if (kind == kFetchSpeakerDetails) {
        lastDetailsAccount_ = number;
    }
    char path[kServicePathCapacity];
    if (!BuildAccountPath(path, number, kind, session_.pcIdentifier, kVersionText)) {
        return 0;
    }
    ResponseBuffer::Lease response = response_.Acquire();
    const int result = service_.Get(response, path);
    if (!response.Body().empty()) {
        ActOnReply(response, kind);
    }
    return result;
}

bool AccountFetcher::SkippedByGuard(std::uint32_t number, int kind) const {
    if (session_.refetchFlag) {
        return false;
    }
    return (kind == kFetchSpeakerPicture && number == lastPictureAccount_) ||
           (kind == kFetchSpeakerDetails && number == lastDetailsAccount_);
}

void AccountFetcher::ActOnReply(const ResponseBuffer::Lease& response, int kind) {
    const std::span<const std::uint8_t> body = response.Body();
    switch (kind) {
    case kFetchSpeakerPicture:
        service_.ShowSpeakerPicture(response);
        break;
    case kFetchSpeakerDetails:
        service_.ShowSpeakerDetails(ReadSpeakerDetails(body));
        break;
    case kFetchOwnDetails:
        ReadOwnDetails(body, session_.ownDetails);
        break;
    case kFetchIdentification:
        // A reply too short to carry a number leaves the account as it was.
        if (const std::optional<std::uint16_t> account = ReadAccountNumber(body)) {
            session_.accountNumber.store(*account, std::memory_order_relaxed);
        }
        break;
    case kFetchDisplayParameters:
        if (const std::optional<std::uint32_t> colour = ReadBackgroundColour(body)) {
            session_.backgroundColour = *colour;
        }
        break;
    default:
        break;
    }
}
