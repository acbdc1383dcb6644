#include "app/win32/startup.h"

#include <windows.h>

#include <cstdio>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
    const int exitCode = RunClient(instance, showCommand);
    // The network threads run for the life of the process and are never stopped: end it here, so the
    // session's static objects are not destroyed under them as a return from here would.
    std::fflush(nullptr);
    TerminateProcess(GetCurrentProcess(), static_cast<UINT>(exitCode));
    return exitCode;
}
