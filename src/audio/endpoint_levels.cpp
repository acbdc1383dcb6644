#include "audio/endpoint_levels.h"

void RestoreCaptureLevel(EndpointLevels& levels, const std::optional<float>& levelAtStart) {
    if (levelAtStart) {
        levels.SetCaptureLevel(*levelAtStart);
    }
}
