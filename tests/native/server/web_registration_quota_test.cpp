// The bound on new PC registrations, with a hand-moved clock.

#include "core/registration_quota.h"

#include <gtest/gtest.h>

using namespace zelvora::web;
using namespace std::chrono_literals;

namespace {

class RegistrationQuotaTest : public testing::Test {
  protected:
    // Admits n registrations from the source; false at the first refusal.
    bool AdmitAll(std::string_view source, int n) {
        for (int i = 0; i < n; ++i) {
            if (quota.Admit(source, now)) {
                return false;
            }
        }
        return true;
    }
    RegistrationQuota quota;
    RegistrationQuota::Clock::time_point now = RegistrationQuota::Clock::time_point{} + 1000s;
};

TEST_F(RegistrationQuotaTest, OneSourceGetsItsShareOfTheMinuteThenTheWaitUntilItEnds) {
    ASSERT_TRUE(AdmitAll("192.0.2.1", RegistrationQuota::kPerSource));
    now += 20s;
    EXPECT_EQ(quota.Admit("192.0.2.1", now), 40s);
    now += 39s + 500ms;
    EXPECT_EQ(quota.Admit("192.0.2.1", now), 1s);
    // Another source is not held back by the first one's share.
    EXPECT_EQ(quota.Admit("192.0.2.2", now), std::nullopt);
    now += 500ms;
    EXPECT_TRUE(AdmitAll("192.0.2.1", RegistrationQuota::kPerSource));
}

TEST_F(RegistrationQuotaTest, EverybodyTogetherGetsTheTotalOfTheMinute) {
    for (int source = 0; source < RegistrationQuota::kInAll; ++source) {
        ASSERT_TRUE(AdmitAll("198.51.100." + std::to_string(source), 1));
    }
    EXPECT_EQ(quota.Admit("203.0.113.7", now), 60s);
    now += 60s;
    EXPECT_EQ(quota.Admit("203.0.113.7", now), std::nullopt);
}

} // namespace
