#pragma once

// Suspends the calling thread for `milliseconds`. On Windows a plain Sleep: the standard library's sleep
// waits on an event instead, which under Wine costs a server round trip per pause.
void PauseMs(int milliseconds);
