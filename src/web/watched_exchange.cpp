#include "web/watched_exchange.h"

#include <condition_variable>
#include <mutex>
#include <system_error>
#include <thread>

struct WatchedExchange::Shared {
    explicit Shared(CutExchanges& counter) : cutExchanges(counter) {}

    CutExchanges& cutExchanges;
    std::mutex lock;
    std::condition_variable changed;
    Call pending;                        // handed to the thread, not yet taken
    std::optional<std::uint32_t> result; // of the last call, until the caller takes it
    bool cut = false;
    bool finished = false; // the caller has no more calls
};

WatchedExchange::WatchedExchange(CutExchanges& cut, ExchangeWatch watch, std::function<void()> cancel)
    : watch_(watch), cancel_(std::move(cancel)) {
    if (cut.AnyRunning()) {
        return;
    }
    auto shared = std::make_shared<Shared>(cut);
    try {
        std::thread(Serve, shared).detach();
    } catch (const std::system_error&) {
        return;
    }
    shared_ = std::move(shared);
}

WatchedExchange::~WatchedExchange() {
    if (shared_ == nullptr) {
        return;
    }
    const std::lock_guard<std::mutex> guard(shared_->lock);
    shared_->finished = true;
    shared_->changed.notify_all();
}

std::optional<std::uint32_t> WatchedExchange::Run(Call call) {
    if (shared_ == nullptr || cut_) {
        return std::nullopt;
    }
    std::unique_lock<std::mutex> guard(shared_->lock);
    shared_->pending = std::move(call);
    shared_->changed.notify_all();
    while (!shared_->result) {
        const ExchangeWatch::Clock::duration left = watch_.Left(ExchangeWatch::Clock::now());
        if (left == ExchangeWatch::Clock::duration::zero()) {
            // Counted before the lock goes, so that the thread's end cannot be counted first.
            shared_->cut = true;
            ++shared_->cutExchanges.running_;
            cut_ = true;
            guard.unlock();
            cancel_();
            return std::nullopt;
        }
        shared_->changed.wait_for(guard, left);
    }
    const std::optional<std::uint32_t> result = shared_->result;
    shared_->result.reset();
    return result;
}

void WatchedExchange::Serve(std::shared_ptr<Shared> shared) {
    std::unique_lock<std::mutex> guard(shared->lock);
    for (;;) {
        shared->changed.wait(guard, [&] { return shared->pending || shared->finished || shared->cut; });
        if (shared->cut) {
            --shared->cutExchanges.running_;
            return;
        }
        if (!shared->pending) {
            return;
        }
        const Call call = std::move(shared->pending);
        shared->pending = nullptr;
        guard.unlock();
        const std::uint32_t result = call();
        guard.lock();
        if (!shared->cut) {
            shared->result = result;
            shared->changed.notify_all();
        }
    }
}
