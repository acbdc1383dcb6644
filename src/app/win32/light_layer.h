#pragma once

#include "platform/geometry.h"
#include "app/main_thread_state.h"

#include <windows.h>

#include <cstdint>
#include <vector>

// A 32-bit top-down bitmap selected into a memory device context of its own until released.
struct LightSurface {
    HDC dc = nullptr;
    HBITMAP bitmap = nullptr;
    HGDIOBJ previous = nullptr;
    int width = 0;
    int height = 0;
    std::uint32_t* pixels = nullptr;
};

// Lights drawn as DrawTransparentBitmap draws them (pure black is transparent), for the painters that tick
// many times a second: each light's picture and mask are prepared once per loaded bitmap, the lights of a
// group are composed off-screen with plain blits, and the group reaches the window in two blits that leave
// every pixel no light covers as it was. A window that still shows the last drawing is given only the
// lights that changed since. Main thread only.
class LightLayer {
  public:
    LightLayer() = default;
    ~LightLayer();
    LightLayer(const LightLayer&) = delete;
    LightLayer& operator=(const LightLayer&) = delete;

    // Forgets the lights added so far.
    void Clear() { lights_.clear(); }
    // Adds a light over those added before; a colour without a loaded bitmap adds nothing.
    void Add(int colour, Point at) { lights_.push_back(Light{colour, at}); }
    // Pixels of `area` keep what the window shows there, whatever the lights cover: something drawn after
    // the lights sits there.
    void Spare(Rect area) { spared_ = area; }
    // Draws the lights added since the last Clear on `dc`, in the order they were added.
    void DrawOn(HDC dc, const WindowHandles& handles);
    // The same picture, drawn only where the lights differ from the last drawing, which `dc` still shows.
    void DrawChangesOn(HDC dc, const WindowHandles& handles);

  private:
    struct Light {
        int colour;
        Point at;
    };

    // Draws the lights whose pixels fall in `limit`, and nothing outside it.
    void Draw(HDC dc, Rect limit);

    std::vector<Light> lights_;
    std::vector<Light> drawn_; // what the last drawing showed
    unsigned drawnSheet_ = 0;  // the light pictures it was drawn with
    Rect spared_{};
    LightSurface colours_; // what the lights leave, black where none covers
    LightSurface cover_;   // black where a light covers, white elsewhere
};
