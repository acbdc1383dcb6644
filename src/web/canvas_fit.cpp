#include "web/canvas_fit.h"

#include <algorithm>

ImagePlacement FitAndCentre(int areaWidth, int areaHeight, int imageWidth, int imageHeight) {
    if (areaWidth <= 0 || areaHeight <= 0 || imageWidth <= 0 || imageHeight <= 0) {
        return {};
    }
    // Single precision, as the drawn sizes have always been computed: the pixels match earlier clients'.
    const float scale = std::min(static_cast<float>(areaWidth) / static_cast<float>(imageWidth),
                                 static_cast<float>(areaHeight) / static_cast<float>(imageHeight));
    ImagePlacement placement;
    placement.width = static_cast<int>(scale * static_cast<float>(imageWidth));
    placement.height = static_cast<int>(scale * static_cast<float>(imageHeight));
    placement.x = (areaWidth - placement.width) / 2;
    placement.y = (areaHeight - placement.height) / 2;
    return placement;
}
