#pragma once

// Master levels (0.0 .. 1.0) of the system's default capture and render endpoints.
// Each call initialises COM around itself; any failing step leaves the level untouched.

bool ReadCaptureMasterLevel(float* level);
bool SetCaptureMasterLevel(float level);
bool SetRenderMasterLevel(float level);
