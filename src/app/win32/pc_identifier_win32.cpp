#include "app/win32/pc_identifier_win32.h"

#include "app/pc_identifier.h"

#include <windows.h>

void ReadPcIdentifier(char (&out)[20]) {
    wchar_t systemDirectory[MAX_PATH] = {};
    if (GetSystemDirectoryW(systemDirectory, MAX_PATH) == 0) {
        SetPcIdentifier(kPcIdentifierNoSystemDirectory, out);
        return;
    }
    systemDirectory[3] = L'\0'; // the drive's root, "C:\"
    wchar_t volumeName[MAX_PATH] = {};
    wchar_t fileSystemName[MAX_PATH] = {};
    DWORD serial = 0;
    if (!GetVolumeInformationW(systemDirectory, volumeName, MAX_PATH, &serial, nullptr, nullptr,
                               fileSystemName, MAX_PATH)) {
        SetPcIdentifier(kPcIdentifierNoVolumeInformation, out);
        return;
    }
    FormatPcIdentifier(serial, out);
}
