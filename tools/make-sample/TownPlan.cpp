#include "tools/make-sample/TownPlan.h"

#include <algorithm>
#include <utility>

namespace {

// The parts of [low, high] that no band covers, in order.
std::vector<std::pair<float, float>> Gaps(float low, float high,
                                          std::vector<std::pair<float, float>> bands) {
    std::sort(bands.begin(), bands.end());
    std::vector<std::pair<float, float>> gaps;
    float start = low;
    for (const auto& band : bands) {
        if (band.first > start) {
            gaps.emplace_back(start, std::min(band.first, high));
        }
        start = std::max(start, band.second);
    }
    if (start < high) {
        gaps.emplace_back(start, high);
    }
    return gaps;
}

bool AnyContains(const std::vector<Rect>& rects, float x, float y) {
    return std::any_of(rects.begin(), rects.end(),
                       [&](const Rect& rect) { return rect.Contains(x, y); });
}

}  // namespace

Surface TownPlan::SurfaceAt(float x, float y) const {
    if (AnyContains(plazas, x, y)) {
        return Surface::kPavement;
    }
    if (AnyContains(streets, x, y)) {
        return Surface::kStreet;
    }
    if (AnyContains(pavements, x, y)) {
        return Surface::kPavement;
    }
    return Surface::kGrass;
}

std::vector<float> TownPlan::EdgesX() const {
    std::vector<float> edges;
    for (const auto* rects : {&streets, &pavements, &plazas}) {
        for (const Rect& rect : *rects) {
            edges.insert(edges.end(), {rect.x0, rect.x1});
        }
    }
    return edges;
}

std::vector<float> TownPlan::EdgesY() const {
    std::vector<float> edges;
    for (const auto* rects : {&streets, &pavements, &plazas}) {
        for (const Rect& rect : *rects) {
            edges.insert(edges.end(), {rect.y0, rect.y1});
        }
    }
    return edges;
}

TownPlan MakeTownPlan() {
    TownPlan plan;
    plan.town = {-160, -350, 160, 140};
    plan.avenues = {{-80, 5}, {0, 6}, {80, 5}};
    plan.crossStreetsY = {60, -30, -110, -190, -270};
    plan.crossStreetHalfWidth = 5;
    plan.pavementWidth = 4;

    const Rect& town = plan.town;
    const float kerb = plan.pavementWidth;
    std::vector<std::pair<float, float>> bandsX;
    std::vector<std::pair<float, float>> bandsY;
    for (const Avenue& avenue : plan.avenues) {
        const float x0 = avenue.centreX - avenue.halfWidth;
        const float x1 = avenue.centreX + avenue.halfWidth;
        plan.streets.push_back({x0, town.y0, x1, town.y1});
        plan.pavements.push_back({x0 - kerb, town.y0, x1 + kerb, town.y1});
        bandsX.emplace_back(x0 - kerb, x1 + kerb);
    }
    for (float y : plan.crossStreetsY) {
        const float y0 = y - plan.crossStreetHalfWidth;
        const float y1 = y + plan.crossStreetHalfWidth;
        plan.streets.push_back({town.x0, y0, town.x1, y1});
        plan.pavements.push_back({town.x0, y0 - kerb, town.x1, y1 + kerb});
        bandsY.emplace_back(y0 - kerb, y1 + kerb);
    }
    // The main avenue goes on past the town, across the plaza, to the foot of the pyramid.
    plan.streets.push_back({-6, -1440, 6, town.y0});
    plan.plazas.push_back({-40, -460, 40, -380});

    for (const auto& columns : Gaps(town.x0, town.x1, bandsX)) {
        for (const auto& rows : Gaps(town.y0, town.y1, bandsY)) {
            plan.blocks.push_back({columns.first, rows.first, columns.second, rows.second});
        }
    }
    // The block on the viewer's right, one street ahead of the start.
    plan.park = {-71, -101, -10, -39};
    return plan;
}
