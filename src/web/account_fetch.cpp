#include "web/account_fetch.h"

#include "session/session_state.h"
#include "web/service_paths.h"

int AccountFetcher::Fetch(std::uint32_t number, int kind) {
    const std::lock_guard<std::mutex> fetching(lock_);
    session_.webLed.store(blinker_.Next(), std::memory_order_relaxed);
    const bool speakerFetch = kind == kFetchSpeakerPicture || kind == kFetchSpeakerDetails;
    if (speakerFetch && session_.refetchFlag) {
        session_.refetchFlag = false;
        pictureWiped_ = true;
        detailsWiped_ = true;
    }
    if (SkippedByGuard(number, kind)) {
        return 0;
    }
    if (kind == kFetchSpeakerPicture) {
        lastPictureAccount_ = number;
        pictureWiped_ = false;
    } else if (kind == kFetchSpeakerDetails) {
        lastDetailsAccount_ = number;
        detailsWiped_ = false;
    }
    char path[kServicePathCapacity];
    if (!BuildAccountPath(path, number, kind, session_.pcIdentifier, kVersionText)) {
        return 0;
    }
    ResponseBuffer::Lease response = response_.Acquire();
    const int result = service_.Get(response, path);
    if (!response.Body().empty()) {
        ActOnReply(response, kind);
    } else {
        ShowNothingFor(kind);
    }
    return result;
}

bool AccountFetcher::SkippedByGuard(std::uint32_t number, int kind) const {
    return (kind == kFetchSpeakerPicture && number == lastPictureAccount_ && !pictureWiped_) ||
           (kind == kFetchSpeakerDetails && number == lastDetailsAccount_ && !detailsWiped_);
}

void AccountFetcher::ShowNothingFor(int kind) {
    // Whatever is shown belongs to someone else, or to nobody since a repaint.
    if (kind == kFetchSpeakerPicture) {
        service_.ClearSpeakerPicture();
    } else if (kind == kFetchSpeakerDetails) {
        service_.ClearSpeakerDetails();
    }
}

void AccountFetcher::ActOnReply(const ResponseBuffer::Lease& response, int kind) {
    const std::span<const std::uint8_t> body = response.Body();
    switch (kind) {
    case kFetchSpeakerPicture:
        if (!service_.ShowSpeakerPicture(response)) {
            ShowNothingFor(kind);
        }
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
