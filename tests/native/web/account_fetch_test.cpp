#include "session/client_version.h"
#include "session/shared_state.h"
#include "web/account_state.h"
#include "web/account_fetch.h"
#include "web/service_paths.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

// Serves fixed bodies by path and records every request and every painting.
class FakeService : public AccountService {
  public:
    FetchResult Get(ResponseBuffer::Lease& response, const char* path) override {
        requests.emplace_back(path);
        const auto found = bodies.find(path);
        if (found == bodies.end()) {
            return failure;
        }
        const std::string& body = found->second;
        std::copy(body.begin(), body.end(), response.Bytes().begin());
        response.SetBodySize(body.size());
        return body.empty() ? FetchResult{} : FetchResult{FetchStatus::Body, body.size()};
    }
    // Draws only bodies that begin with "picture".
    bool ShowSpeakerPicture(const ResponseBuffer::Lease& response) override {
        const std::string body(response.Body().begin(), response.Body().end());
        if (body.rfind("picture", 0) != 0) {
            return false;
        }
        pictures.push_back(body);
        shown.push_back(body);
        return true;
    }
    void ShowSpeakerDetails(const SpeakerDetails& details) override {
        speakerNames.emplace_back(details.firstName);
        shown.push_back(std::string("name ") + details.firstName);
    }
    void ClearSpeakerPicture() override { shown.emplace_back("no picture"); }
    void ClearSpeakerDetails() override { shown.emplace_back("no name"); }

    std::map<std::string, std::string> bodies;
    FetchResult failure; // what a path without a body gives
    std::vector<std::string> requests;
    std::vector<std::string> pictures;
    std::vector<std::string> speakerNames;
    std::vector<std::string> shown; // what the speaker band went through, in order
};

class AccountFetchTest : public testing::Test {
  protected:
    // What the speaker fetch timer does each second.
    void Tick(std::uint32_t speaker) {
        fetcher.Fetch(speaker, AccountFetchKind::SpeakerPicture);
        fetcher.Fetch(speaker, AccountFetchKind::SpeakerDetails);
    }

    std::unique_ptr<AccountState> account = std::make_unique<AccountState>();
    std::unique_ptr<SharedState> shared = std::make_unique<SharedState>();
    std::unique_ptr<ResponseBuffer> response = std::make_unique<ResponseBuffer>();
    FakeService service;
    AccountFetcher fetcher{*account, *shared, *response, service};
};

TEST_F(AccountFetchTest, ASpeakerIsFetchedOnceAndAgainWholeAfterARepaint) {
    service.bodies["/users/7/images.php?N=2"] = "picture of 7";
    service.bodies["/users/7/client.xml"] = "<PRENOM>Ren&#xE9;</PRENOM>";
    Tick(7);
    Tick(7);
    EXPECT_EQ(service.requests, (std::vector<std::string>{"/users/7/images.php?N=2", "/users/7/client.xml"}));
    EXPECT_EQ(service.shown, (std::vector<std::string>{"picture of 7", "name Ren\xC3\xA9"}));

    account->refetchFlag = true; // the main window was repainted
    Tick(7);
    Tick(7);
    EXPECT_EQ(service.requests.size(), 4u);
    EXPECT_EQ(service.shown, (std::vector<std::string>{"picture of 7", "name Ren\xC3\xA9", "picture of 7",
                                                       "name Ren\xC3\xA9"}));
    EXPECT_FALSE(account->refetchFlag);

    // An own-details fetch does not swallow a repaint.
    account->refetchFlag = true;
    fetcher.Fetch(7, AccountFetchKind::OwnDetails);
    Tick(7);
    EXPECT_EQ(service.requests.size(), 7u);
}

TEST_F(AccountFetchTest, ANewSpeakerWithNothingToShowTakesThePreviousOneOff) {
    service.bodies["/users/7/images.php?N=2"] = "picture of 7";
    service.bodies["/users/7/client.xml"] = "<PRENOM>Jo</PRENOM>";
    service.bodies["/users/9/images.php?N=2"] = "not a PNG";
    service.bodies["/users/9/client.xml"] = "<PRENOM>Lu</PRENOM>";
    Tick(7);
    Tick(8); // unknown: 404 for both
    Tick(7);
    service.failure = {FetchStatus::Failed};
    Tick(10); // the service cannot be reached
    Tick(9);
    EXPECT_EQ(service.shown,
              (std::vector<std::string>{"picture of 7", "name Jo", "no picture", "no name", "picture of 7",
                                        "name Jo", "no picture", "no name", "no picture", "name Lu"}));
}

TEST_F(AccountFetchTest, AFailedSpeakerFetchWaitsForTheNextSpeaker) {
    service.failure = {FetchStatus::Failed};
    Tick(9);
    Tick(9);
    EXPECT_EQ(service.requests.size(), 2u);
    EXPECT_TRUE(service.pictures.empty());
    Tick(10);
    EXPECT_EQ(service.requests.size(), 4u);
}

TEST_F(AccountFetchTest, EveryCallBlinksTheLightEvenWhenSkipped) {
    for (int call = 0; call < 4; ++call) {
        fetcher.Fetch(0, AccountFetchKind::SpeakerPicture); // skipped: speaker 0 was the last one
    }
    EXPECT_TRUE(service.requests.empty());
    EXPECT_EQ(shared->lights.web.load(), kLedGreen);
    fetcher.Fetch(0, AccountFetchKind::SpeakerPicture);
    EXPECT_EQ(shared->lights.web.load(), kLedBlue);
}

TEST_F(AccountFetchTest, IdentificationTakesTheAccountNumberOnlyFromAWholeReply) {
    std::strcpy(shared->pcIdentifier, "0000000305441741");
    char path[kServicePathCapacity];
    BuildAccountPath(path, 0, AccountFetchKind::Identification, shared->pcIdentifier, kVersionText);
    service.bodies[path] = std::string(34, '=') + "01234";
    EXPECT_EQ(fetcher.Fetch(0, AccountFetchKind::Identification).size, 39u);
    EXPECT_EQ(shared->accountNumber.load(), 1234);

    service.bodies["/users/1234/client.xml"] = std::string(34, '=') + "55555"; // left in the buffer
    fetcher.Fetch(1234, AccountFetchKind::OwnDetails);
    service.bodies[path] = "short";
    EXPECT_EQ(fetcher.Fetch(0, AccountFetchKind::Identification).size, 5u);
    EXPECT_EQ(shared->accountNumber.load(), 1234);
}

TEST_F(AccountFetchTest, DisplayParametersWithoutABackgroundKeepTheColour) {
    account->backgroundColour = 0x123456;
    service.bodies["/users/5/params.xml"] = "<PARAMS></PARAMS>";
    EXPECT_EQ(fetcher.Fetch(5, AccountFetchKind::DisplayParameters).size, 17u);
    EXPECT_EQ(account->backgroundColour, 0x123456u);
    service.bodies["/users/5/params.xml"] = "<BACKGROUND>FF8000</BACKGROUND>";
    fetcher.Fetch(5, AccountFetchKind::DisplayParameters);
    EXPECT_EQ(account->backgroundColour, 0xFF8000u);
}

} // namespace
