// A list reply that is accepted must fit the member table it is written into.
#include "net/datagrams.h"

#include <cstdlib>

namespace {
int memberTable[kMaxListedChannel + 1][kMaxListedMembers];
int memberCounts[kMaxListedChannel + 1];
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto reply = DecodeListReply(data, size);
    if (!reply) {
        return 0;
    }
    if (reply->channel < 0 || reply->channel > kMaxListedChannel || reply->count < 0 ||
        reply->count > kMaxListedMembers || size == 0 || data[0] != 'L') {
        std::abort();
    }
    memberCounts[reply->channel] = reply->count;
    for (int i = 0; i < reply->count; ++i) {
        memberTable[reply->channel][i] = reply->members[i];
    }
    return 0;
}
