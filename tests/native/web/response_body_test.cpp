#include "web/response_body.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <vector>

namespace {

// A reply served in fixed chunks; a failed read ends it.
class ChunkedReply : public ResponseSource {
  public:
    ChunkedReply(int status, std::vector<std::vector<std::uint8_t>> chunks, bool readFails = false)
        : status_(status), chunks_(std::move(chunks)), readFails_(readFails) {}

    int StatusCode() override { return status_; }
    std::size_t Available() override { return next_ < chunks_.size() ? chunks_[next_].size() : 0; }
    std::optional<std::size_t> Read(std::span<std::uint8_t> into) override {
        ++reads;
        if (readFails_) {
            return std::nullopt;
        }
        const std::vector<std::uint8_t>& chunk = chunks_[next_++];
        std::copy_n(chunk.begin(), std::min(chunk.size(), into.size()), into.begin());
        return chunk.size();
    }
    int reads = 0;

  private:
    int status_;
    std::vector<std::vector<std::uint8_t>> chunks_;
    std::size_t next_ = 0;
    bool readFails_;
};

constexpr std::uint8_t kStale = 0xEE;

std::array<std::uint8_t, 10> StaleBuffer() {
    std::array<std::uint8_t, 10> buffer;
    buffer.fill(kStale);
    return buffer;
}

TEST(ReadResponse, AChunkThatWouldOverflowIsLeftUnreadAndTheRestKept) {
    ChunkedReply reply(200, {{1, 2, 3, 4, 5, 6}, {7, 8, 9, 10, 11}});
    auto buffer = StaleBuffer();
    EXPECT_EQ(ReadResponseInto(reply, buffer), 6u);
    EXPECT_EQ(reply.reads, 1);
    EXPECT_EQ(buffer[5], 6);
    EXPECT_EQ(buffer[6], 0);
}

TEST(ReadResponse, TheEndMarkIsWrittenOnlyBeforeTheLastByte) {
    ChunkedReply eight(200, {{1, 2, 3, 4}, {5, 6, 7, 8}});
    auto buffer = StaleBuffer();
    EXPECT_EQ(ReadResponseInto(eight, buffer), 8u);
    EXPECT_EQ(buffer[8], 0);

    ChunkedReply nine(200, {{1, 2, 3, 4, 5, 6, 7, 8, 9}});
    buffer = StaleBuffer();
    EXPECT_EQ(ReadResponseInto(nine, buffer), 9u);
    EXPECT_EQ(buffer[9], kStale);
}

TEST(ReadResponse, AnUnreadableStatusStillReadsTheBody) {
    ChunkedReply reply(-1, {{'o', 'k'}});
    auto buffer = StaleBuffer();
    EXPECT_EQ(ReadResponseInto(reply, buffer), 2u);
}

TEST(ReadResponse, AFailedReadEndsTheBody) {
    ChunkedReply reply(200, {{1, 2}}, /*readFails=*/true);
    auto buffer = StaleBuffer();
    EXPECT_EQ(ReadResponseInto(reply, buffer), 0u);
    EXPECT_EQ(buffer[0], 0);
}

} // namespace
