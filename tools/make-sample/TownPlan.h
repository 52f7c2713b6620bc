// The street plan of the sample town: where the asphalt, the pavements and the building blocks
// lie. The viewer starts on the main avenue (x = 0) at y = 15 looking toward -y, down the
// avenue toward the plaza and, far beyond, the pyramid.
#pragma once

#include <vector>

struct Rect {
    float x0, y0, x1, y1;

    bool Contains(float x, float y) const { return x >= x0 && x <= x1 && y >= y0 && y <= y1; }
    float Width() const { return x1 - x0; }
    float Depth() const { return y1 - y0; }
    float CentreX() const { return (x0 + x1) / 2; }
    float CentreY() const { return (y0 + y1) / 2; }
};

enum class Surface { kGrass, kStreet, kPavement };

struct Avenue {
    float centreX, halfWidth;
};

struct TownPlan {
    Rect town;                    // the built-up area
    std::vector<Avenue> avenues;  // streets along y, across the whole town
    std::vector<float> crossStreetsY;
    float crossStreetHalfWidth;
    float pavementWidth;
    std::vector<Rect> streets;    // asphalt, the road beyond the town included
    std::vector<Rect> pavements;  // a band along both sides of every town street
    std::vector<Rect> plazas;     // paved squares; a plaza interrupts a road through it
    std::vector<Rect> blocks;     // the land between the pavements
    Rect park;                    // the block kept open for trees

    Surface SurfaceAt(float x, float y) const;
    // Every x (or y) where a street, pavement or plaza begins or ends: the ground grid puts a
    // line on each, so no ground cell straddles two surfaces.
    std::vector<float> EdgesX() const;
    std::vector<float> EdgesY() const;
};

TownPlan MakeTownPlan();
