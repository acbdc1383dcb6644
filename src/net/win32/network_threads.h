#pragma once

#include <windows.h>

// Thread bodies of the voice network, started once by start-up after the sockets are open; none returns.
DWORD WINAPI PresenceThread(LPVOID);
DWORD WINAPI VoiceReceiveThread(LPVOID);
// The supervisor thread's parameter is the `SupervisorNoticeHandler*` that acts on notices; it outlives the
// thread.
DWORD WINAPI SupervisorThread(LPVOID noticeHandler);
