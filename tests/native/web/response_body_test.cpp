#include "web/response_body.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <vector>

namespace {

// How a reply breaks off after its chunks: it does not, a read fails, or the query of what is ready fails.
enum class BreakOff { Never, Read, Query };

// A reply served in fixed chunks.
class ChunkedReply : public ResponseSource {
  public:
    ChunkedReply(int status, std::vector<std::vector<std::uint8_t>> chunks,
                 BreakOff breakOff = BreakOff::Never)
        : status_(status), chunks_(std::move(chunks)), breakOff_(breakOff) {}

    int StatusCode() override { return status_; }
    std::optional<std::size_t> Available() override {
        if (next_ < chunks_.size()) {
            return chunks_[next_].size();
        }
        if (breakOff_ == BreakOff::Read) {
            return 1;
        }
        if (breakOff_ == BreakOff::Query) {
            return std::nullopt;
        }
        return 0;
    }
    std::optional<std::size_t> Read(std::span<std::uint8_t> into) override {
        ++reads;
        if (next_ == chunks_.size()) {
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
    BreakOff breakOff_;
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

TEST(ReadResponse, AReplyThatBreaksOffIsNoBody) {
    for (const BreakOff breakOff : {BreakOff::Read, BreakOff::Query}) {
        ChunkedReply reply(200, {{1, 2}, {3}}, breakOff);
        auto buffer = StaleBuffer();
        EXPECT_EQ(ReadResponseInto(reply, buffer), std::nullopt);
    }
}

} // namespace
