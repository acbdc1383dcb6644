#pragma once

// The inactivity close: a countdown of seconds, ticked once a second by its timer, that fires once.

struct CountdownTick {
    bool closeNow = false; // true on the one tick that finds the time used up
    char text[16] = {};    // the time left as "hh:mm:ss"
};

// "%02d:%02d:%02d" of a number of seconds.
void FormatTimeLeft(int seconds, char (&out)[16]);

// Counts one second down. The tick that goes below zero sets the count to 0 and asks for the close, once:
// `fired` remembers it, and later ticks only show 00:00:00.
CountdownTick TickInactivityCountdown(int& secondsLeft, bool& fired);
