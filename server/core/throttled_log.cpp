#include "throttled_log.h"

namespace zelvora::network {

void ThrottledLog::Summarise() {
    const Micros now = clock_();
    if (now - intervalStart_ < kInterval) {
        return;
    }
    for (const auto& [kind, tally] : tallies_) {
        if (tally.left > 0) {
            // Appended piece by piece: GCC 12 mistakes a chain of + on strings for overlapping copies.
            std::string summary = "(";
            summary += std::to_string(tally.left);
            summary += " more ";
            summary += kind;
            summary += " lines in the last second were not logged)";
            out_.Line(summary);
        }
    }
    tallies_.clear();
    intervalStart_ = now;
}

void ThrottledLog::Line(const std::string& text) {
    Summarise();
    Tally& tally = tallies_[text.substr(0, text.find(' '))];
    if (tally.written < kLinesPerInterval) {
        ++tally.written;
        out_.Line(text);
    } else {
        ++tally.left;
    }
}

} // namespace zelvora::network
