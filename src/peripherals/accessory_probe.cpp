#include "peripherals/accessory_probe.h"

#include <algorithm>

bool ReplyMeansKeyPressed(std::span<const std::uint8_t> reply) {
    return reply.size() >= std::size(kAccessoryProbe) &&
           std::equal(std::begin(kAccessoryProbe), std::end(kAccessoryProbe), reply.begin());
}
