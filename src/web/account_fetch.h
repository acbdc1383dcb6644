#pragma once

#include "web/account_texts.h"
#include "web/fetch_result.h"
#include "web/request_blinker.h"
#include "web/response_buffer.h"
#include "web/service_paths.h"

#include <cstdint>
#include <mutex>

struct AccountState;
struct SharedState;

// The system's side of an account fetch: the exchange itself and the painting of what it brought.
class AccountService {
  public:
    virtual ~AccountService() = default;
    // One GET of `path` whose body lands in the leased buffer (and is recorded as the lease's body).
    virtual FetchResult Get(ResponseBuffer::Lease& response, const char* path) = 0;
    // Draws the speaker's picture from the lease's body in place of the one shown; false, drawing nothing,
    // when the body is not a picture it can draw.
    virtual bool ShowSpeakerPicture(const ResponseBuffer::Lease& response) = 0;
    virtual void ShowSpeakerDetails(const SpeakerDetails& details) = 0;
    // Take the shown picture, or the shown details, off the main window.
    virtual void ClearSpeakerPicture() = 0;
    virtual void ClearSpeakerDetails() = 0;
};

// Everything the client learns of accounts comes through here: the identification that gives the account
// number, the own details, the display parameters, and the current speaker's picture and details.
class AccountFetcher {
  public:
    AccountFetcher(AccountState& account, SharedState& shared, ResponseBuffer& response,
                   AccountService& service)
        : account_(account), shared_(shared), response_(response), service_(service) {}

    // Fetches one kind for account `number` (unused by the identification) and acts on the reply. The result
    // is the service's; no body also when the speaker fetches are skipped because the speaker has not changed
    // and the window has not been repainted since. A speaker fetch that brings nothing to show takes the
    // previous speaker's picture or details off the window.
    FetchResult Fetch(std::uint32_t number, AccountFetchKind kind);

  private:
    bool SkippedByGuard(std::uint32_t number, AccountFetchKind kind) const;
    void ActOnReply(const ResponseBuffer::Lease& response, AccountFetchKind kind);
    void ShowNothingFor(AccountFetchKind kind);

    AccountState& account_;
    SharedState& shared_;
    ResponseBuffer& response_;
    AccountService& service_;
    std::mutex lock_; // held for the whole of every fetch
    std::uint32_t lastPictureAccount_ = 0;
    std::uint32_t lastDetailsAccount_ = 0;
    // Set when a speaker fetch finds the window repainted, which wiped both: each is fetched once more.
    bool pictureWiped_ = false;
    bool detailsWiped_ = false;
    RequestBlinker blinker_;
};
