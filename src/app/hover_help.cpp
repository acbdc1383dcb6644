#include "app/hover_help.h"

#include "app/session_state.h"

#include <cstddef>

namespace {

struct ZoneText {
    Rect Zones::*zone;
    const char* text;
};

constexpr ZoneText kHoverTexts[] = {
    {&Zones::network, "Cliquez sur NETWORK pour voir les correspondants"},
    {&Zones::channelPanel, "Cliquez dans ce cadre pour voir tous les groupes"},
    {&Zones::documentation, "Cliquez sur cette icon pour ouvrir la documentation"},
    {&Zones::animation, "Cliquez sur cette animation pour ouvrir l'image partag\xC3\xA9"
                        "e"},
    {&Zones::about, "Cliquez ici pour plus d'information sur le concepteur"},
    {&Zones::synthesiser, "Cliquez ici pour activer l'aide vocale"},
    {&Zones::drag, "Cliquez ici pour d\xC3\xA9placer la fen\xC3\xAAtre Zelvora"},
};

// Spoken texts are Windows-1252, the synthesiser's code page.
constexpr ZoneText kSpokenTexts[] = {
    {&Zones::network, "Cliquez sur NETWORK pour voir les correspondants"},
    {&Zones::channelPanel, "Cliquez dans ce cadre pour voir tous les groupes"},
    {&Zones::documentation, "Cliquez sur cette icon pour ouvrir la documentation"},
    {&Zones::animation, "Cliquez sur cette animation pour ouvrir ou envoyer une image partag\xE9"
                        "e"},
    {&Zones::about, "Cliquez ici pour plus d'information sur le concepteur"},
    {&Zones::volumeKnob, "Cliquez autour de ce bouton pour r\xE9gler le volume sonore"},
    {&Zones::micGainKnob, "Cliquez autour de ce bouton pour r\xE9gler le niveau d'entr\xE9"
                          "e du microphone"},
    {&Zones::paramsKnob, "Cliquez sur ce bouton pour acc\xE9"
                         "der \xE0 vos param\xE8tres de r\xE9glage"},
    {&Zones::synthesiser, "Cliquez ici pour activer l'aide vocale"},
    {&Zones::timeLeft, "Indique le temps restant avant fermeture si aucune activit\xE9"},
};

constexpr char kNothingSpecial[] = "Il n'y a rien de sp\xE9"
                                   "cial ici";

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
    return text != nullptr ? text : kWelcomeHelpText;
}

SpokenHelp SpokenHelpFor(const Zones& zones, Point p) {
    const char* text = FirstZoneText(kSpokenTexts, zones, p);
    return text != nullptr ? SpokenHelp{text, false} : SpokenHelp{kNothingSpecial, true};
}
