#include "channel_floor.h"

#include <cstdio>

namespace zelvora::network {
namespace {

// 30 s of echo recording, the longest test a member should need.
constexpr std::size_t kEchoMaxBytes = 960 * kPayloadBytes;

std::string Seconds(Micros duration) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f s", static_cast<double>(duration) / 1e6);
    return text;
}

} // namespace

ChannelFloor::ChannelFloor(int channel, const NetworkSettings& settings, EventLog& log, Counters& counters)
    : channel_(channel), settings_(settings), log_(log), counters_(counters) {}

void ChannelFloor::Take(State state, MemberKey key, std::uint16_t account, const std::string& label,
                        Micros now) {
    state_ = state;
    holder_ = {key, account, label};
    since_ = now;
    lastAudio_ = now;
    sound_.clear();
    played_ = 0;
    log_.Line("talk start channel " + std::to_string(channel_) + " account " + std::to_string(account) + " " +
              label);
}

void ChannelFloor::Release(Micros now) {
    if (state_ == State::Live || state_ == State::Clip) {
        log_.Line("talk stop channel " + std::to_string(channel_) + " account " +
                  std::to_string(holder_.account) + " " + holder_.label + " after " + Seconds(now - since_));
    }
    if (state_ == State::Live && IsEcho() && !sound_.empty()) {
        state_ = State::EchoPlayback;
        played_ = 0;
        log_.Line("echo playback channel " + std::to_string(channel_) + " account " +
                  std::to_string(holder_.account) + " " +
                  Seconds(static_cast<Micros>(sound_.size() / 4) * 125));
        return;
    }
    Reset();
}

void ChannelFloor::Reset() {
    state_ = State::Idle;
    holder_ = {};
    sound_.clear();
    sound_.shrink_to_fit();
    played_ = 0;
}

bool ChannelFloor::OfferAudio(MemberKey key, std::uint16_t account, const std::string& label,
                              std::span<const std::uint8_t> payload, Micros now) {
    const bool ownPlayback = state_ == State::EchoPlayback && holder_.key == key;
    if (state_ == State::Idle || ownPlayback) {
        Take(State::Live, key, account, label, now);
    } else if (state_ != State::Live || holder_.key != key) {
        return false;
    }
    lastAudio_ = now;
    if (IsEcho()) {
        if (sound_.size() + kPayloadBytes <= kEchoMaxBytes) {
            sound_.insert(sound_.end(), payload.begin(), payload.end());
        } else {
            ++counters_.echoOverflow;
        }
    }
    return true;
}

bool ChannelFloor::StartClip(const Speaker& speaker, std::vector<std::uint8_t> pcm, Micros now) {
    if (state_ != State::Idle || pcm.empty()) {
        return false;
    }
    Take(State::Clip, speaker.key, speaker.account, speaker.label, now);
    sound_ = std::move(pcm);
    return true;
}

void ChannelFloor::Forget(MemberKey key, Micros now) {
    if (state_ == State::Idle || holder_.key != key) {
        return;
    }
    if (state_ == State::EchoPlayback) {
        Reset(); // its talk stop was logged when the playback began
        return;
    }
    sound_.clear(); // no playback for someone who is gone
    Release(now);
}

ChannelFloor::Output ChannelFloor::Tick(Micros now) {
    Output output;
    if (state_ == State::Live && now - lastAudio_ >= settings_.holdTime) {
        Release(now);
    }
    if ((state_ == State::Clip || state_ == State::EchoPlayback) && played_ + kPayloadBytes > sound_.size()) {
        Release(now);
    }
    switch (state_) {
    case State::Idle:
        break;
    case State::Live:
        output.speaker = holder_.account;
        output.liveTalker = holder_.key;
        break;
    case State::Clip:
    case State::EchoPlayback:
        output.payload = std::span<const std::uint8_t>(sound_).subspan(played_, kPayloadBytes);
        output.speaker = holder_.account;
        output.only = state_ == State::EchoPlayback ? holder_.key : kNobody;
        played_ += kPayloadBytes;
        break;
    }
    return output;
}

} // namespace zelvora::network
