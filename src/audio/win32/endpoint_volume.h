#pragma once

#include "audio/endpoint_levels.h"

#include <optional>

// Master levels (0.0 .. 1.0) of the system's default capture and render endpoints. Each call initialises
// COM around itself; a failing step reads 0 and sets nothing.

// The capture level, or nothing when the system cannot tell.
std::optional<float> TryReadCaptureLevel();

float ReadCaptureLevel();
void SetCaptureLevel(float level);
float ReadRenderLevel();
void SetRenderLevel(float level);

// The default endpoints' levels, asked afresh on every call.
class SystemEndpointLevels : public EndpointLevels {
  public:
    float ReadCaptureLevel() override { return ::ReadCaptureLevel(); }
    void SetCaptureLevel(float level) override { ::SetCaptureLevel(level); }
    float ReadRenderLevel() override { return ::ReadRenderLevel(); }
    void SetRenderLevel(float level) override { ::SetRenderLevel(level); }
};

// The knob painter's levels, read every second on the main thread, whose COM stays up for the run: each
// default endpoint's volume control is kept between reads and looked up again when the system announces
// another default endpoint.
class KnobEndpointLevels final : public SystemEndpointLevels {
  public:
    float ReadCaptureLevel() override;
    float ReadRenderLevel() override;
};

// Lets go of what the knob painter's reads keep and stops the system's notices to them; on the main thread,
// once the knob painter's timer is killed.
void ReleaseKnobEndpoints();
