#pragma once

#include "session/channels.h"
#include "session/client_version.h"

#include <cstddef>
#include <cstdint>

// The client's UDP protocol with the voice server, the supervisor and the speech synthesiser: what both ends
// agree on, defined once.

// A channel's supervisor listens 1000 ports above its voice port.
inline constexpr int kSupervisorPortOffset = 1000;

// The companion speech synthesiser listens on the loopback address.
inline constexpr char kSynthesiserAddress[] = "127.0.0.1";
inline constexpr int kSynthesiserPort = 5555;

// Datagram sizes.
inline constexpr std::size_t kGreetingBytes = 9;
inline constexpr std::size_t kDoubleGreetingBytes = 18;
inline constexpr std::size_t kPresenceMaxBytes = 27;
inline constexpr std::size_t kAudioHeaderBytes = 24;
inline constexpr std::size_t kAudioPayloadBytes = 1000; // 31.25 ms of 8 kHz 16-bit stereo
inline constexpr std::size_t kAudioDatagramBytes = kAudioHeaderBytes + kAudioPayloadBytes;
inline constexpr std::size_t kReceiveBufferBytes = 1024;
inline constexpr std::size_t kListRequestBytes = 3;
inline constexpr std::size_t kStatusRequestBytes = 3;
inline constexpr std::size_t kSpeechTextMaxChars = 200; // bytes of Windows-1252 text
inline constexpr std::size_t kSpeechTextMaxBytes = kSpeechTextMaxChars + 1;

inline constexpr int kPresencePhases = 3;
inline constexpr int kMaxListedMembers = 16;
inline constexpr int kMaxListedChannel = 10;

// The supervisor's status notices.
inline constexpr std::uint8_t kNoticeUpdateRequired = 220;
inline constexpr std::uint8_t kNoticeClosing = 240;
