// Key datagrams from any local program: only a leading 'T' or 'R' means anything.
#include "net/datagrams.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const SynthKey key = DecodeSynthKey(data, size);
    const SynthKey expected = size == 0        ? SynthKey::None
                              : data[0] == 'T' ? SynthKey::Press
                              : data[0] == 'R' ? SynthKey::Release
                                               : SynthKey::None;
    if (key != expected) {
        std::abort();
    }
    return 0;
}
