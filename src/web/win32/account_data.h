#pragma once

#include <windows.h>

#include <cstdint>

// Fetches one kind of account data (`AccountFetchKind`) for account `number` and acts on it: the account
// number, the own details, the background colour, or the speaker's picture and details on the main window.
// Returns the body's size; 0 when skipped (same speaker, no repaint since), for a status other than 200 or an
// empty body; -1 when the exchange failed; 1 when no session could be opened.
int FetchAccountData(std::uint32_t number, int kind);

// Start-up's fetches: identification, own details, display parameters; tells the user when the account has
// no parameters, then repaints the whole window in the account's colour.
void FetchStartupAccountData(HWND mainWindow);

// The speaker fetch timer: the picture, then the details, of the member last heard.
void CALLBACK SpeakerFetchTimerProc(HWND, UINT, UINT_PTR, DWORD);
