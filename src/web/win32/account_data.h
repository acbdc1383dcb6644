#pragma once

#include "web/fetch_result.h"
#include "web/service_paths.h"

#include <windows.h>

#include <cstdint>

// Fetches one kind of account data for account `number` and acts on it: the account number, the own details,
// the background colour, or the speaker's picture and details on the main window. A skipped fetch (same
// speaker, no repaint since) brings no body.
FetchResult FetchAccountData(std::uint32_t number, AccountFetchKind kind);

// Start-up's fetches: identification, own details, display parameters; tells the user when the account has
// no parameters, then repaints the whole window in the account's colour.
void FetchStartupAccountData(HWND mainWindow);

// The speaker fetch timer: the picture, then the details, of the member last heard.
void CALLBACK SpeakerFetchTimerProc(HWND, UINT, UINT_PTR, DWORD);
