#include "session/session_state.h"

namespace {
SessionState gSession;
}

SessionState& Session() {
    return gSession;
}
