// The GL state set once after the rendering context exists and never changed by a frame: flat
// shading, the depth test and its clear value.
#pragma once

void SetFixedGlState();
