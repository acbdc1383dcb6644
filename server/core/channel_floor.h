#pragma once

#include "counters.h"
#include "network_types.h"
#include "wire.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace zelvora::network {

// Who may speak on one channel, and what the channel relays at each tick.
//
// The first member to send audio holds the floor until it has been silent for the hold time; audio from
// anyone else meanwhile is refused. A live talker's payloads are passed on as they arrive, not at the tick.
// A simulated member holds the floor for the length of its clip, played one payload per tick. On the echo
// channel the talker's words are also recorded and, once it releases the floor, played back to it alone;
// the floor stays taken during the playback so two streams never mix.
class ChannelFloor {
  public:
    struct Speaker {
        MemberKey key = kNobody;
        std::uint16_t account = 0;
        std::string label; // for the log: the client's endpoint, or "simulated"
    };

    // What the channel relays this tick: a payload (empty = silence) and who hears it.
    struct Output {
        std::span<const std::uint8_t> payload;
        std::uint16_t speaker = 0;
        MemberKey only = kNobody; // echo playback goes to its owner alone
        // A live talker holds the floor: the others hear it as it speaks and get nothing at the tick; the
        // talker, who does not hear itself, still gets its silence and status.
        MemberKey liveTalker = kNobody;
    };

    ChannelFloor(int channel, const NetworkSettings& settings, EventLog& log, Counters& counters);

    // False when another member holds the floor; true when the payload is to be passed on to the others
    // now. The label is only read when the floor is taken.
    bool OfferAudio(MemberKey key, std::uint16_t account, const std::string& label,
                    std::span<const std::uint8_t> payload, Micros now);
    // False when the floor is taken. pcm holds whole payloads.
    bool StartClip(const Speaker& speaker, std::vector<std::uint8_t> pcm, Micros now);
    // The member left, moved or was removed: its talk, clip or playback ends now.
    void Forget(MemberKey key, Micros now);
    Output Tick(Micros now);

    MemberKey Holder() const { return holder_.key; }
    std::uint16_t HolderAccount() const { return holder_.account; }

  private:
    enum class State { Idle, Live, Clip, EchoPlayback };

    void Take(State state, MemberKey key, std::uint16_t account, const std::string& label, Micros now);
    void Release(Micros now);
    void Reset();
    bool IsEcho() const { return channel_ == kEchoChannel; }

    int channel_;
    const NetworkSettings& settings_;
    EventLog& log_;
    Counters& counters_;

    State state_ = State::Idle;
    Speaker holder_;
    Micros since_ = 0;
    Micros lastAudio_ = 0;
    // Clip or echo recording, and how far it has been played.
    std::vector<std::uint8_t> sound_;
    std::size_t played_ = 0;
};

} // namespace zelvora::network
