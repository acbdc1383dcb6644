#pragma once

struct SessionState;

// The greeting spoken at start-up, in Windows-1252.
inline constexpr char kSynthesiserGreeting[] =
    "Bonjour. Le synth\xE9tiseur est actif. Sur la cl\xE9 droite de la souris";

// Asks the synthesiser to speak a Windows-1252 text (its first 200 bytes); the send result is not used.
void SendSpeechText(SessionState& session, const char* text);

// Asks the synthesiser to close.
void SendSynthStop(SessionState& session);

// Opens synthSocket on 127.0.0.1 and an ephemeral port and greets the synthesiser. When the socket library
// cannot be started or the socket cannot be bound, synthSocket stays invalid and nothing is sent; false then.
bool OpenSynthSocketAndGreet(SessionState& session);
