#pragma once

#include "audio/endpoint_levels.h"

// Master levels (0.0 .. 1.0) of the system's default capture and render endpoints.
// Each call initialises COM around itself; any failing step leaves the level untouched.

bool ReadCaptureMasterLevel(float* level);
bool SetCaptureMasterLevel(float level);
bool SetRenderMasterLevel(float level);

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
