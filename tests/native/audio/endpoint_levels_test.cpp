#include "audio/endpoint_levels.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

class CaptureLevelRecorder : public EndpointLevels {
  public:
    float ReadCaptureLevel() override { return 0; }
    float ReadRenderLevel() override { return 0; }
    void SetCaptureLevel(float level) override { captureLevels.push_back(level); }
    void SetRenderLevel(float) override {}
    std::vector<float> captureLevels;
};

TEST(RestoreCaptureLevel, PutsBackOnlyALevelThatWasRead) {
    CaptureLevelRecorder unread;
    RestoreCaptureLevel(unread, std::nullopt);
    EXPECT_TRUE(unread.captureLevels.empty()) << "a failed read at start must not mute the microphone";

    CaptureLevelRecorder read;
    RestoreCaptureLevel(read, 0.0f);
    RestoreCaptureLevel(read, 0.62f);
    EXPECT_EQ(read.captureLevels, (std::vector<float>{0.0f, 0.62f}));
}

} // namespace
