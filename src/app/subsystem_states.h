#pragma once

#include "audio/audio_state.h"
#include "net/voice_link.h"
#include "session/shared_state.h"
#include "web/account_state.h"

// Each subsystem's state as start-up composes it, apart, for the callbacks the system calls without a
// context; start-up hands threads and windows the ones they use.
SharedState& Shared();
VoiceLink& Voice();
AudioState& Audio();
AccountState& Account();
