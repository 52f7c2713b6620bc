#include "tools/make-sample/Ground.h"

#include <algorithm>
#include <iterator>
#include <set>

#include "tools/make-sample/Palette.h"
#include "tools/make-sample/SampleScene.h"
#include "tools/make-sample/TownPlan.h"

std::vector<float> GridLines(const std::vector<float>& edges, float innerLow, float innerHigh,
                             float step, float growth, float outerLow, float outerHigh) {
    std::vector<float> spaced;
    for (float x = innerLow; x < innerHigh; x += step) {
        spaced.push_back(x);
    }
    spaced.push_back(innerHigh);
    float spacing = step;
    for (float x = innerHigh; x < outerHigh;) {
        spacing *= growth;
        x = std::min(x + spacing, outerHigh);
        spaced.push_back(x);
    }
    spacing = step;
    for (float x = innerLow; x > outerLow;) {
        spacing *= growth;
        x = std::max(x - spacing, outerLow);
        spaced.push_back(x);
    }
    std::sort(spaced.begin(), spaced.end());

    // Edges and limits always stay; a spaced line joins only where it leaves a unit to each
    // line already there.
    std::set<float> lines(edges.begin(), edges.end());
    lines.insert({outerLow, outerHigh});
    for (float x : spaced) {
        const auto next = lines.lower_bound(x);
        const bool roomAbove = next == lines.end() || *next - x >= 1.0f;
        const bool roomBelow = next == lines.begin() || x - *std::prev(next) >= 1.0f;
        if (roomAbove && roomBelow) {
            lines.insert(x);
        }
    }
    return {lines.begin(), lines.end()};
}

void AddGround(SampleScene& scene, const TownPlan& plan) {
    constexpr float kExtent = 3400;
    constexpr float kStep = 16;
    constexpr float kGrowth = 1.3f;
    const Rect& town = plan.town;
    const std::vector<float> xs =
        GridLines(plan.EdgesX(), town.x0, town.x1, kStep, kGrowth, -kExtent, kExtent);
    const std::vector<float> ys =
        GridLines(plan.EdgesY(), -460, town.y1, kStep, kGrowth, -kExtent, kExtent);

    MeshBuilder& grass = scene.GroundObject("Ground", material::kGrass);
    MeshBuilder& streets = scene.GroundObject("Streets", material::kAsphalt);
    MeshBuilder& pavements = scene.GroundObject("Pavements", material::kPavement);
    for (std::size_t j = 0; j + 1 < ys.size(); ++j) {
        for (std::size_t i = 0; i + 1 < xs.size(); ++i) {
            const float x0 = xs[i];
            const float x1 = xs[i + 1];
            const float y0 = ys[j];
            const float y1 = ys[j + 1];
            MeshBuilder* mesh = &grass;
            switch (plan.SurfaceAt((x0 + x1) / 2, (y0 + y1) / 2)) {
                case Surface::kStreet:
                    mesh = &streets;
                    break;
                case Surface::kPavement:
                    mesh = &pavements;
                    break;
                case Surface::kGrass:
                    break;
            }
            mesh->Quad({x0, y0, 0}, {x1, y0, 0}, {x1, y1, 0}, {x0, y1, 0});
        }
    }
}
