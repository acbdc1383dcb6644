#include "app/hover_help.h"

#include "app/main_thread_state.h"
#include "session/user_texts.h"

#include <cstddef>

namespace {

struct ZoneText {
    Rect Zones::*zone;
    const char* text;
};

constexpr ZoneText kHoverTexts[] = {
    {&Zones::network, kClickNetworkToSeeMembers},
    {&Zones::channelPanel, kClickFrameToSeeAllGroups},
    {&Zones::documentation, kClickIconToOpenDocumentation},
    {&Zones::animation, kClickAnimationToOpenSharedImage},
    {&Zones::about, kClickForTheDesigner},
    {&Zones::synthesiser, kClickToActivateVoiceHelp},
    {&Zones::drag, kClickToMoveTheWindow},
};

constexpr ZoneText kSpokenTexts[] = {
    {&Zones::network, kClickNetworkToSeeMembers},
    {&Zones::channelPanel, kClickFrameToSeeAllGroups},
    {&Zones::documentation, kClickIconToOpenDocumentation},
    {&Zones::animation, kClickAnimationToOpenOrSendSharedImage},
    {&Zones::about, kClickForTheDesigner},
    {&Zones::volumeKnob, kClickAroundToSetVolume},
    {&Zones::micGainKnob, kClickAroundToSetMicrophoneLevel},
    {&Zones::paramsKnob, kClickToOpenYourSettings},
    {&Zones::synthesiser, kClickToActivateVoiceHelp},
    {&Zones::timeLeft, kTimeLeftBeforeClosing},
};

} // namespace

namespace {

// The text of the first zone in the table that contains p, or null.
template <std::size_t N> const char* FirstZoneText(const ZoneText (&table)[N], const Zones& zones, Point p) {
    for (const ZoneText& entry : table) {
        if ((zones.*entry.zone).Contains(p)) {
            return entry.text;
        }
    }
    return nullptr;
}

} // namespace

const char* HoverHelpText(const Zones& zones, Point p) {
    const char* text = FirstZoneText(kHoverTexts, zones, p);
    return text != nullptr ? text : kWelcomeToTheNetwork;
}

SpokenHelp SpokenHelpFor(const Zones& zones, Point p) {
    const char* text = FirstZoneText(kSpokenTexts, zones, p);
    return text != nullptr ? SpokenHelp{text, false} : SpokenHelp{kNothingSpecialHere, true};
}
