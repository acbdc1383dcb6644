#include "app/win32/client_state.h"

#include "app/lives_for_the_run.h"

ClientState& Client() {
    return LivesForTheRun<ClientState>();
}
