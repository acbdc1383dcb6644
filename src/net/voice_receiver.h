#pragma once

#include <atomic>
#include <cstdint>

class SenderFilter;
class SpeechSink;
struct RelayedVoice;
struct SharedState;
struct VoiceLink;

// The receive loop wakes at least this often, so the error level falls to "nothing received" quickly.
inline constexpr int kVoiceReceiveWaitMs = 500;

// The voice receive thread's work: relayed speech into the speech sink, and what it tells of the speaker and
// the link into the voice link and the lights.
class VoiceReceiver {
  public:
    VoiceReceiver(VoiceLink& link, SharedState& shared, SpeechSink& speech)
        : link_(link), shared_(shared), speech_(speech) {}

    // Gives voiceSocket a receive time-out of `waitMs` and resets the speech sink.
    void Start(int waitMs = kVoiceReceiveWaitMs);

    // Waits up to `waitMs` (the time-out Start gave) for a datagram of the voice server on voiceSocket, and
    // does what it asks; anybody else's are dropped and counted. A failed socket costs a pause of `waitMs`,
    // so a broken socket never makes the loop spin.
    void ReceiveOnce(const SenderFilter& voiceServer, int waitMs);

    // The sequence byte of the last datagram accepted; a datagram that repeats it is refused.
    std::uint8_t LastSequence() const { return lastSequence_; }

  private:
    void QueuePayload(const RelayedVoice& voice);
    void BlinkUdpLight();
    void Accept(const RelayedVoice& voice);

    VoiceLink& link_;
    SharedState& shared_;
    SpeechSink& speech_;
    std::uint8_t lastSequence_ = 0;
    int udpBlinkCount_ = 0;
};

// The voice receive thread's body: runs until `running` turns false, taking datagrams from `serverAddress`
// only; it ends at most one wait after.
void RunVoiceReceiveLoop(VoiceLink& link, SharedState& shared, SpeechSink& speech, const char* serverAddress,
                         const std::atomic<bool>& running, int waitMs = kVoiceReceiveWaitMs);
