#pragma once

#include <windows.h>

// Thread bodies of the voice network, started once by start-up after the sockets are open; none returns.
DWORD WINAPI PresenceThread(LPVOID);
DWORD WINAPI VoiceReceiveThread(LPVOID);
DWORD WINAPI SupervisorThread(LPVOID);
