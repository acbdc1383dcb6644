#include "app/session_state.h"

namespace {
SessionState gSession;
}

SessionState& Session() {
    return gSession;
}
