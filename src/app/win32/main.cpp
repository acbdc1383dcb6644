#include "app/win32/startup.h"

#include <windows.h>

#include <cstdio>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
    const int exitCode = RunClient(instance, showCommand);
    // A worker held past its stop wait may still use the session's static objects: end the process here, so
    // they are not destroyed under it as a return from here would.
    std::fflush(nullptr);
    TerminateProcess(GetCurrentProcess(), static_cast<UINT>(exitCode));
    return exitCode;
}
