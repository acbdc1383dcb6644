#pragma once

#include <chrono>

// How long one exchange with the web service may hold its caller. Fetches run on the window thread, so each
// is cut at a fixed overall deadline whatever the service does; the shared-image upload, which the user
// starts and which may rightly take long on a slow uplink, is cut only once no byte has moved for a while.
inline constexpr std::chrono::milliseconds kFetchDeadline{5000};
inline constexpr std::chrono::milliseconds kUploadStallLimit{15000};

class ExchangeWatch {
  public:
    using Clock = std::chrono::steady_clock;

    // Cut `limit` after `start`, however many bytes move.
    static ExchangeWatch Deadline(Clock::time_point start, Clock::duration limit) {
        return ExchangeWatch(start, limit, false);
    }
    // Cut once nothing has moved for `limit`, counted from `start` until the first move.
    static ExchangeWatch Stall(Clock::time_point start, Clock::duration limit) {
        return ExchangeWatch(start, limit, true);
    }
    static ExchangeWatch ForFetch(Clock::time_point start) { return Deadline(start, kFetchDeadline); }
    static ExchangeWatch ForUpload(Clock::time_point start) { return Stall(start, kUploadStallLimit); }

    // Bytes moved at `now`: a stall watch counts its limit again from there.
    void Moved(Clock::time_point now);
    // How much longer the caller may wait at `now`; zero once the exchange is to be cut.
    Clock::duration Left(Clock::time_point now) const;

  private:
    ExchangeWatch(Clock::time_point start, Clock::duration limit, bool movesCount)
        : from_(start), limit_(limit), movesCount_(movesCount) {}

    Clock::time_point from_;
    Clock::duration limit_;
    bool movesCount_;
};
