#pragma once

#include <cstddef>

// What one GET of the web service came to.
enum class FetchStatus {
    NoBody, // a status other than 200 or an empty body: the service has nothing to give
    Failed, // no session, no connection or no reply, or the fetch deadline cut the exchange
    Body,   // a body of `size` bytes, at least one, landed in the leased buffer
};

struct FetchResult {
    FetchStatus status = FetchStatus::NoBody;
    std::size_t size = 0; // 0 unless the status is Body

    bool operator==(const FetchResult&) const = default;
};
