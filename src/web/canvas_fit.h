#pragma once

// Where an image goes in the canvas: its drawn size and its top-left corner in the client area.
struct ImagePlacement {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

// The image enlarged or reduced to fit the area whole, keeping its proportions, centred. Sizes are truncated
// and the margins halved toward zero; an image or area without pixels gives an empty placement.
ImagePlacement FitAndCentre(int areaWidth, int areaHeight, int imageWidth, int imageHeight);
