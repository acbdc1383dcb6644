#include "app/hover_help.h"
#include "app/main_window_input.h"
#include "app/main_window_layout.h"
#include "audio/knob_dial.h"
#include "net/inactivity_countdown.h"
#include "app/main_thread_state.h"
#include "session/push_to_talk.h"
#include "session/user_texts.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

// The zones as start-up and the painters leave them, knobs drawn 60 x 60.
Zones StartedZones() {
    Zones zones;
    zones.drag = kDragZone;
    zones.about = kAboutZone;
    zones.close = kCloseZone;
    zones.animation = kAnimationZone;
    zones.network = Rect{375, 335, 480, 440};
    zones.documentation = kDocumentationZone;
    zones.synthesiser = kSynthesiserZone;
    zones.channelPanel = kChannelPanelZone;
    zones.timeLeft = kTimeLeftZone;
    zones.paramsKnob = Rect{25, 220, 85, 280};
    zones.micGainKnob = Rect{115, 220, 175, 280};
    zones.volumeKnob = Rect{205, 220, 265, 280};
    return zones;
}

TEST(MainWindowLayout, AboutZoneHangsFromTheWindowsOwnSize) {
    EXPECT_EQ(kAboutZone, (Rect{390, 610, 535, 650}));
}

TEST(MainWindowLayout, CentringRoundsEachHalfTowardZero) {
    EXPECT_EQ(CentredOrigin(1024, 768, 550, 730).x, 237);
    EXPECT_EQ(CentredOrigin(1024, 768, 550, 730).y, 19);
    EXPECT_EQ(CentredOrigin(1025, 769, 551, 731).x, 512 - 275);
    EXPECT_EQ(CentredOrigin(500, 600, 550, 730).y, 300 - 365);
}

TEST(ClickAction, FirstMatchingZoneActsAndEdgesAreExcluded) {
    const Zones zones = StartedZones();
    struct Case {
        Point p;
        ClickAction expected;
    } cases[] = {
        {{400, 400}, ClickAction::NetworkWindow},
        {{479, 439}, ClickAction::NetworkWindow},
        {{480, 400}, ClickAction::None}, // right edge of the network zone
        {{400, 440}, ClickAction::None}, // bottom edge of the network zone
        {{20, 100}, ClickAction::GroupList},
        {{190, 100}, ClickAction::None},
        {{320, 620}, ClickAction::Documentation},
        {{360, 460}, ClickAction::Canvas},
        {{20, 20}, ClickAction::StartSynthesiser},
        {{400, 620}, ClickAction::AboutBox},
        {{535, 620}, ClickAction::None},
        {{515, 15}, ClickAction::Close},
        {{540, 15}, ClickAction::None},
        {{300, 500}, ClickAction::None},
        // Knobs answer up to 14 pixels outside their bitmap, and before the zones below them.
        {{191, 206}, ClickAction::VolumeKnob},
        {{278, 293}, ClickAction::VolumeKnob},
        {{279, 250}, ClickAction::None},
        {{101, 250}, ClickAction::MicGainKnob},
        {{11, 250}, ClickAction::ParamsKnob},
        {{10, 250}, ClickAction::None},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ClickActionAt(zones, c.p), c.expected) << c.p.x << "," << c.p.y;
    }
}

TEST(ClickAction, KnobsAreNotClickableBeforeTheyAreDrawn) {
    Zones zones = StartedZones();
    zones.paramsKnob = zones.micGainKnob = zones.volumeKnob = Rect{};
    EXPECT_EQ(ClickActionAt(zones, Point{5, 5}), ClickAction::None);
    EXPECT_EQ(ClickActionAt(zones, Point{0, 0}), ClickAction::None);
}

// The dial itself is the knob dial's test; a click is measured from the centre of the widened zone.
TEST(KnobLevel, MeasuresTheClickFromTheKnobsCentre) {
    const Rect widened = Rect{205, 220, 265, 280}.Inflated(kKnobClickMargin); // centre (235, 250)
    EXPECT_FLOAT_EQ(KnobLevel(widened, Point{195, 250}), DialLevel(-40, 0));
    EXPECT_FLOAT_EQ(KnobLevel(widened, Point{234, 290}), DialLevel(-1, 40));
    EXPECT_FLOAT_EQ(KnobLevel(widened, Point{275, 210}), DialLevel(40, -40));
}

// Records what a knob click asks of the system's endpoints.
class FakeEndpointLevels : public EndpointLevels {
  public:
    float ReadCaptureLevel() override { return 0; }
    float ReadRenderLevel() override { return 0; }
    void SetCaptureLevel(float level) override { captureLevels.push_back(level); }
    void SetRenderLevel(float level) override { renderLevels.push_back(level); }
    std::vector<float> captureLevels;
    std::vector<float> renderLevels;
};

TEST(KnobClick, EachKnobTurnsItsOwnEndpoint) {
    const Zones zones = StartedZones();
    FakeEndpointLevels levels;
    EXPECT_TRUE(TurnKnobAt(zones, Point{195, 250}, levels)); // left of the VOLUME centre, in its margin
    EXPECT_TRUE(TurnKnobAt(zones, Point{145, 290}, levels)); // below the MIC GAIN centre, in its margin
    EXPECT_FALSE(TurnKnobAt(zones, Point{55, 250}, levels)); // PARAMS is not a level
    EXPECT_FALSE(TurnKnobAt(zones, Point{300, 250}, levels));
    ASSERT_EQ(levels.renderLevels.size(), 1u);
    EXPECT_FLOAT_EQ(levels.renderLevels[0], 0.3f);
    ASSERT_EQ(levels.captureLevels.size(), 1u);
    EXPECT_FLOAT_EQ(levels.captureLevels[0], 0.0f);
}

TEST(KeyAction, TableOfKeys) {
    struct Case {
        unsigned key;
        KeyAction::Kind kind;
        int port;
    } cases[] = {
        {0x1B, KeyAction::Close, 0},
        {0x20, KeyAction::Talk, 0},
        {0x30, KeyAction::SelectChannel, 30000},
        {0x35, KeyAction::SelectChannel, 30005},
        {0x39, KeyAction::SelectChannel, 30009},
        {0x60, KeyAction::SelectChannel, 30000},
        {0x65, KeyAction::SelectChannel, 30005},
        {0x69, KeyAction::SelectChannel, 30009},
        {0x6B, KeyAction::SelectChannel, 30010},
        {0x70, KeyAction::AboutBox, 0},
        {0x10, KeyAction::Inactive, 0}, // Shift
        {0x11, KeyAction::Inactive, 0}, // Ctrl
        {0x41, KeyAction::Inactive, 0}, // A
        {0x2F, KeyAction::Inactive, 0},
        {0x3A, KeyAction::Inactive, 0},
        {0x6A, KeyAction::Inactive, 0},
        {0x71, KeyAction::Inactive, 0},
    };
    for (const Case& c : cases) {
        const KeyAction action = KeyActionFor(c.key);
        EXPECT_EQ(action.kind, c.kind) << std::hex << c.key;
        if (c.kind == KeyAction::SelectChannel) {
            EXPECT_EQ(action.channelPort, c.port) << std::hex << c.key;
        }
    }
}

TEST(HoverHelp, FirstZoneWinsAndElsewhereWelcomes) {
    const Zones zones = StartedZones();
    EXPECT_STREQ(HoverHelpText(zones, Point{400, 400}), kClickNetworkToSeeMembers);
    EXPECT_STREQ(HoverHelpText(zones, Point{100, 90}), kClickFrameToSeeAllGroups);
    EXPECT_STREQ(HoverHelpText(zones, Point{400, 500}), kClickAnimationToOpenSharedImage);
    EXPECT_STREQ(HoverHelpText(zones, Point{20, 20}), kClickToActivateVoiceHelp);
    EXPECT_STREQ(HoverHelpText(zones, Point{100, 50}), kClickToMoveTheWindow);
    EXPECT_STREQ(HoverHelpText(zones, Point{300, 500}), kWelcomeToTheNetwork);
    // Knob zones have no hover text.
    EXPECT_STREQ(HoverHelpText(zones, Point{230, 250}), kWelcomeToTheNetwork);
}

TEST(SpokenHelp, FirstZoneWinsAndOutsideResetsTheBanner) {
    const Zones zones = StartedZones();
    const SpokenHelp volume = SpokenHelpFor(zones, Point{230, 250});
    EXPECT_STREQ(volume.text, kClickAroundToSetVolume);
    EXPECT_FALSE(volume.resetsHelpBanner);
    EXPECT_STREQ(SpokenHelpFor(zones, Point{120, 250}).text, kClickAroundToSetMicrophoneLevel);
    EXPECT_STREQ(SpokenHelpFor(zones, Point{30, 250}).text, kClickToOpenYourSettings);
    EXPECT_STREQ(SpokenHelpFor(zones, Point{460, 275}).text, kTimeLeftBeforeClosing);
    EXPECT_STREQ(SpokenHelpFor(zones, Point{20, 20}).text, kClickToActivateVoiceHelp);
    // The drag band has no spoken help.
    const SpokenHelp nothing = SpokenHelpFor(zones, Point{100, 50});
    EXPECT_STREQ(nothing.text, kNothingSpecialHere);
    EXPECT_TRUE(nothing.resetsHelpBanner);
    // Every spoken text fits the 200-byte buffer.
    for (int y = 0; y < kMainWindowHeight; y += 5) {
        for (int x = 0; x < kMainWindowWidth; x += 5) {
            EXPECT_LT(std::strlen(SpokenHelpFor(zones, Point{x, y}).text), kSpeechTextMaxChars);
        }
    }
}

// Through the main window's own key-release handling, an inactive key's included.
TEST(InactivityCountdown, KeyReleaseStartsTheFullTimeAgain) {
    auto mainThread = std::make_unique<MainThreadState>();
    PushToTalk pushToTalk;
    mainThread->inactivitySeconds = 10;
    TickInactivityCountdown(mainThread->inactivitySeconds, mainThread->inactivityCloseFired);
    HandleKeyRelease(*mainThread, pushToTalk, 'A');
    EXPECT_STREQ(
        TickInactivityCountdown(mainThread->inactivitySeconds, mainThread->inactivityCloseFired).text,
        "01:14:59");
}

} // namespace
