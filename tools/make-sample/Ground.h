// The ground plane: a grid of quads at z = 0 in grass, asphalt and pavement.
#pragma once

#include <vector>

class SampleScene;
struct TownPlan;

// Grid lines along one axis: every edge in `edges`, lines `step` apart over [innerLow,
// innerHigh], and beyond that spacing that grows by `growth` per cell out to the limits, in
// increasing order. Only two edges can lie closer than a unit: a spaced line gives way.
std::vector<float> GridLines(const std::vector<float>& edges, float innerLow, float innerHigh,
                             float step, float growth, float outerLow, float outerHigh);

// Small cells near the town keep per-vertex fog and lighting smooth where the viewer walks;
// the far cells only need to be small enough for the fog. The ground reaches past the far
// plane (3000 units) in every direction from the start.
void AddGround(SampleScene& scene, const TownPlan& plan);
