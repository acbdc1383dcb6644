#pragma once

#include <atomic>

class PushToTalk;
struct SynthLink;

// How long the listener waits for a key datagram (synthSocket's receive time-out). A key order ends the wait
// at once, so a long wait costs nothing in reaction, and an idle listener wakes once a second, not five
// times.
inline constexpr int kListenerReceiveWaitMs = 1000;
// How long the listener rests after each round.
inline constexpr int kListenerWaitMs = 100;

// One round of the synthesiser key listener: waits for a key datagram of a program of this machine on
// synthSocket as long as its receive time-out allows ('T' presses the talk key, 'R' releases it; anything
// else changes nothing), then rests `waitMs`. Datagrams from other hosts are dropped and counted.
void ListenForSynthKeyOnce(SynthLink& link, PushToTalk& pushToTalk, int waitMs);

// The synthesiser key listener's body: runs until `running` turns false. The synthesiser may not exist yet,
// or synthSocket may be unusable: every round still takes its pause.
void RunSynthKeyListener(SynthLink& link, PushToTalk& pushToTalk, const std::atomic<bool>& running,
                         int waitMs = kListenerWaitMs);
