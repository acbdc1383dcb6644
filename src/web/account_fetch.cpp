#include "web/account_fetch.h"

#include "session/client_version.h"
#include "session/shared_state.h"
#include "web/account_state.h"

FetchResult AccountFetcher::Fetch(std::uint32_t number, AccountFetchKind kind) {
    const std::lock_guard<std::mutex> fetching(lock_);
    shared_.lights.web.store(blinker_.Next(), std::memory_order_relaxed);
    const bool speakerFetch =
        kind == AccountFetchKind::SpeakerPicture || kind == AccountFetchKind::SpeakerDetails;
    if (speakerFetch && account_.refetchFlag) {
        account_.refetchFlag = false;
        pictureWiped_ = true;
        detailsWiped_ = true;
    }
    if (SkippedByGuard(number, kind)) {
        return FetchResult{};
    }
    if (kind == AccountFetchKind::SpeakerPicture) {
        lastPictureAccount_ = number;
        pictureWiped_ = false;
    } else if (kind == AccountFetchKind::SpeakerDetails) {
        lastDetailsAccount_ = number;
        detailsWiped_ = false;
    }
    char path[kServicePathCapacity];
    BuildAccountPath(path, number, kind, shared_.pcIdentifier, kVersionText);
    ResponseBuffer::Lease response = response_.Acquire();
    const FetchResult result = service_.Get(response, path);
    if (!response.Body().empty()) {
        ActOnReply(response, kind);
    } else {
        ShowNothingFor(kind);
    }
    return result;
}

bool AccountFetcher::SkippedByGuard(std::uint32_t number, AccountFetchKind kind) const {
    return (kind == AccountFetchKind::SpeakerPicture && number == lastPictureAccount_ && !pictureWiped_) ||
           (kind == AccountFetchKind::SpeakerDetails && number == lastDetailsAccount_ && !detailsWiped_);
}

void AccountFetcher::ShowNothingFor(AccountFetchKind kind) {
    // Whatever is shown belongs to someone else, or to nobody since a repaint.
    if (kind == AccountFetchKind::SpeakerPicture) {
        service_.ClearSpeakerPicture();
    } else if (kind == AccountFetchKind::SpeakerDetails) {
        service_.ClearSpeakerDetails();
    }
}

void AccountFetcher::ActOnReply(const ResponseBuffer::Lease& response, AccountFetchKind kind) {
    const std::span<const std::uint8_t> body = response.Body();
    switch (kind) {
    case AccountFetchKind::SpeakerPicture:
        if (!service_.ShowSpeakerPicture(response)) {
            ShowNothingFor(kind);
        }
        break;
    case AccountFetchKind::SpeakerDetails:
        service_.ShowSpeakerDetails(ReadSpeakerDetails(body));
        break;
    case AccountFetchKind::OwnDetails:
        ReadOwnDetails(body, account_.ownDetails);
        break;
    case AccountFetchKind::Identification:
        // A reply too short to carry a number leaves the account as it was.
        if (const std::optional<std::uint16_t> account = ReadAccountNumber(body)) {
            shared_.accountNumber.store(*account, std::memory_order_relaxed);
        }
        break;
    case AccountFetchKind::DisplayParameters:
        if (const std::optional<std::uint32_t> colour = ReadBackgroundColour(body)) {
            account_.backgroundColour = *colour;
        }
        break;
    }
}
