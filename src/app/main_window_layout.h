#pragma once

#include "platform/geometry.h"

inline constexpr int kMainWindowWidth = 550;
inline constexpr int kMainWindowHeight = 730;
inline constexpr int kMainWindowCornerDiameter = 20;

inline constexpr Rect kDragZone{50, 0, 500, 100};
inline constexpr Rect kCloseZone{510, 10, 540, 40};
inline constexpr Rect kAnimationZone{350, 450, 500, 600};
inline constexpr Rect kDocumentationZone{315, 610, 345, 640};
inline constexpr Rect kSynthesiserZone{15, 8, 47, 40};
inline constexpr Rect kBottomFrame{10, 650, 540, 720};
inline constexpr Rect kChannelPanelZone{10, 80, 190, 190};
inline constexpr Rect kTimeLeftZone{455, 270, 510, 285};
inline constexpr Point kAnimationOrigin{350, 450};
inline constexpr int kAnimationFrameSize = 150;
inline constexpr int kKnobClickMargin = 14;

// The knob panel: each knob image's top-left corner and the meters' channel labels.
inline constexpr Point kParamsKnobOrigin{25, 220};
inline constexpr Point kMicGainKnobOrigin{115, 220};
inline constexpr Point kVolumeKnobOrigin{205, 220};
inline constexpr Point kAudioLeftLabelOrigin{245, 179};
inline constexpr Point kAudioRightLabelOrigin{415, 179};

// The level meters' windows and the bars under them, by their top-left corners.
inline constexpr Point kLeftMeterOrigin{200, 80};
inline constexpr Point kRightMeterOrigin{370, 80};
inline constexpr Point kLeftBarOrigin{200, 166};
inline constexpr Point kRightBarOrigin{370, 166};

// The current speaker's picture, name strip and phrase strip.
inline constexpr Point kSpeakerPictureOrigin{10, 340};
inline constexpr Rect kSpeakerNameStrip{10, 318, 310, 339};
inline constexpr Point kSpeakerFirstNameOrigin{15, 319};
inline constexpr Point kSpeakerTownOrigin{170, 319};
inline constexpr Rect kSpeakerPhraseStrip{20, 620, 280, 640};

// The accessory's USB icon.
inline constexpr Rect kUsbIconZone{314, 500, 346, 532};

// The about zone hangs from the window's lower right corner. It is measured on the window's own size, never
// on its client rectangle, which a window started minimised does not have yet.
constexpr Rect AboutZone(int windowWidth, int windowHeight) {
    return Rect{windowWidth - 160, windowHeight - 120, windowWidth - 15, windowHeight - 80};
}
inline constexpr Rect kAboutZone = AboutZone(kMainWindowWidth, kMainWindowHeight);

// Top-left corner that centres a window on the screen, each half rounded toward zero.
constexpr Point CentredOrigin(int screenWidth, int screenHeight, int width, int height) {
    return Point{screenWidth / 2 - width / 2, screenHeight / 2 - height / 2};
}
