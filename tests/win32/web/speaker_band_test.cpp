// The speaker's details: texts too long for their strips stay inside them, so that clearing the strips for
// the next speaker leaves nothing of them behind.
#include "check.h"
#include "pixel_canvas.h"
#include "stand_in_windows.h"
#include "web/account_state.h"
#include "web/win32/speaker_band.h"
#include "web/win32/web_wiring.h"

#include <windows.h>

#include <cstring>

namespace {

constexpr Rect kNameStrip{10, 318, 310, 339};
constexpr Rect kPhraseStrip{20, 620, 280, 640};

void FillWithCapitals(char* text, std::size_t capacity) {
    std::memset(text, 'W', capacity - 1);
    text[capacity - 1] = '\0';
}

// Pixels of the rows of `strip` that lie right of it: a text drawn past its strip shows there.
int PaintedRightOf(const Canvas& canvas, const Rect& strip) {
    return canvas.CountOtherThan(strip.right, strip.top, kWidth - strip.right, strip.bottom - strip.top,
                                 kFill);
}

int PaintedIn(const Canvas& canvas, const Rect& strip) {
    return canvas.CountOtherThan(strip.left, strip.top, strip.right - strip.left, strip.bottom - strip.top,
                                 kFill);
}

} // namespace

int main() {
    static AccountState account;
    account.backgroundColour = kFill;
    Web().account = &account;
    Web().mainWindow = StandInMainWindow();
    Web().speakerBand = SpeakerBandPlaces{{10, 340}, kNameStrip, {15, 319}, {170, 319}, kPhraseStrip};

    SpeakerDetails longest;
    FillWithCapitals(longest.firstName, sizeof longest.firstName);
    FillWithCapitals(longest.town, sizeof longest.town);
    FillWithCapitals(longest.phrase, sizeof longest.phrase);
    Canvas canvas;
    DrawSpeakerDetails(canvas.dc(), longest);
    CHECK(PaintedIn(canvas, kNameStrip) > 0);
    CHECK(PaintedIn(canvas, kPhraseStrip) > 0);
    CHECK(PaintedRightOf(canvas, kNameStrip) == 0);
    CHECK(PaintedRightOf(canvas, kPhraseStrip) == 0);

    DestroyWindow(Web().mainWindow);
    return CheckSummary("web_speaker_band_test");
}
