#pragma once

#include <optional>

// Master levels, 0.0 .. 1.0, of the system's default capture and render endpoints. Reading gives 0 when
// the system cannot tell; setting may do nothing.
class EndpointLevels {
  public:
    virtual ~EndpointLevels() = default;
    virtual float ReadCaptureLevel() = 0;
    virtual void SetCaptureLevel(float level) = 0;
    virtual float ReadRenderLevel() = 0;
    virtual void SetRenderLevel(float level) = 0;
};

// Puts back the capture level found at start. A level that could not be read is left alone: restoring a
// guess would mute the user's microphone for every other program.
void RestoreCaptureLevel(EndpointLevels& levels, const std::optional<float>& levelAtStart);
