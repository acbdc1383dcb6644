// Status replies: only datagrams starting with 'A' carry a notice code.
#include "net/datagrams.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto code = DecodeStatusReply(data, size);
    if (code.has_value() != (size > 0 && data[0] == 'A')) {
        std::abort();
    }
    if (code && size < 3 && *code != 0) {
        std::abort();
    }
    return 0;
}
