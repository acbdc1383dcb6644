#pragma once

#include "web/exchange_watch.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

// How many exchanges cut by their watch still run on their own thread. Such an exchange ends only when its
// pending call returns, which a service that stalls the TLS handshake can put off for ever (WinHTTP under
// Wine has no time-out there); while one runs, new exchanges fail at once instead of piling up threads on it.
class CutExchanges {
  public:
    bool AnyRunning() const { return running_.load() > 0; }

  private:
    friend class WatchedExchange;
    std::atomic<int> running_{0};
};

// One exchange with the web service whose blocking calls run on a thread of its own, so that the calling
// thread waits for each no longer than the exchange's watch allows. When the watch runs out, `cancel` runs on
// the calling thread (closing the exchange's handles cancels a pending call where the system can), the call
// is left to end on its own, and every later call fails at once. A call touches only memory that it owns:
// once cut, it goes on unwatched.
class WatchedExchange {
  public:
    // 0 when the call succeeded, else the system's error number.
    using Call = std::function<std::uint32_t()>;

    WatchedExchange(CutExchanges& cut, ExchangeWatch watch, std::function<void()> cancel);
    ~WatchedExchange();
    WatchedExchange(const WatchedExchange&) = delete;
    WatchedExchange& operator=(const WatchedExchange&) = delete;

    // False when no thread was started for it: a cut exchange still runs, or the system refused one.
    bool Started() const { return shared_ != nullptr; }
    // Runs `call` on the exchange's thread: its result, or nothing when the watch cut it (now or before).
    std::optional<std::uint32_t> Run(Call call);
    // Bytes moved now (see ExchangeWatch::Moved).
    void Moved() { watch_.Moved(ExchangeWatch::Clock::now()); }
    bool WasCut() const { return cut_; }

  private:
    struct Shared;
    static void Serve(std::shared_ptr<Shared> shared);

    std::shared_ptr<Shared> shared_;
    ExchangeWatch watch_;
    std::function<void()> cancel_;
    bool cut_ = false;
};
