// What lies beyond the town: an obelisk on the plaza, a water tower, a radio mast, a cluster of
// towers, a pyramid, groves of firs and a ring of hills. They stand from a few hundred to
// almost 3000 units from the start, so the receding fog reveals them one after another; all of
// them stay inside the far plane (3000 units) seen from the start.
#pragma once

class Random;
class SampleScene;

void AddLandmarks(SampleScene& scene, Random& random);
