#include "app/lives_for_the_run.h"
#include "app/main_thread_state.h"
#include "app/subsystem_states.h"

SharedState& Shared() {
    return LivesForTheRun<SharedState>();
}

VoiceLink& Voice() {
    return LivesForTheRun<VoiceLink>();
}

AudioState& Audio() {
    return LivesForTheRun<AudioState>();
}

AccountState& Account() {
    return LivesForTheRun<AccountState>();
}

MainThreadState& MainThread() {
    return LivesForTheRun<MainThreadState>();
}
