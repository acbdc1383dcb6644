#include "web/exchange_watch.h"

void ExchangeWatch::Moved(Clock::time_point now) {
    if (movesCount_ && now > from_) {
        from_ = now;
    }
}

ExchangeWatch::Clock::duration ExchangeWatch::Left(Clock::time_point now) const {
    const Clock::time_point cut = from_ + limit_;
    return now < cut ? cut - now : Clock::duration::zero();
}
