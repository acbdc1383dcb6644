#pragma once

#include "net/supervisor.h"

// What the client does on the supervisor's two notices; both end with the main window's destroy message.
//  - update required: a warning box, then the network site's installer page in the browser;
//  - closing: the 20-second supervisor notice window.
void ActOnSupervisorNotice(SupervisorNotice notice);
