#include "net/inactivity_countdown.h"

#include <cstdio>

void FormatTimeLeft(int seconds, char (&out)[16]) {
    const int s = seconds < 0 ? 0 : seconds;
    std::snprintf(out, sizeof out, "%02d:%02d:%02d", s / 3600, s % 3600 / 60, s % 60);
}

CountdownTick TickInactivityCountdown(int& secondsLeft, bool& fired) {
    CountdownTick tick;
    --secondsLeft;
    if (secondsLeft < 0) {
        secondsLeft = 0;
        tick.closeNow = !fired;
        fired = true;
    }
    FormatTimeLeft(secondsLeft, tick.text);
    return tick;
}
