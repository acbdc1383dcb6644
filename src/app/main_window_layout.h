#pragma once

#include "app/geometry.h"

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

// The about zone hangs from the client rectangle's lower right corner.
constexpr Rect AboutZone(Rect client) {
    return Rect{client.right - 160, client.bottom - 120, client.right - 15, client.bottom - 80};
}

// Top-left corner that centres a window on the screen, each half rounded toward zero.
constexpr Point CentredOrigin(int screenWidth, int screenHeight, int width, int height) {
    return Point{screenWidth / 2 - width / 2, screenHeight / 2 - height / 2};
}
