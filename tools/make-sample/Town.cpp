#include "tools/make-sample/Town.h"

#include <cmath>
#include <cstdio>
#include <functional>
#include <initializer_list>
#include <string>
#include <utility>

#include "tools/make-sample/Palette.h"
#include "tools/make-sample/Props.h"
#include "tools/make-sample/Random.h"
#include "tools/make-sample/SampleScene.h"
#include "tools/make-sample/TownPlan.h"

namespace {

// Terraced houses around the start, offices further down the avenue, detached houses with
// gardens in the outer columns.
enum class Style { kTerrace, kOffices, kVillas };

enum class Side { kWest, kEast, kSouth, kNorth };

Style StyleOf(const Rect& block) {
    if (std::fabs(block.CentreX()) > 85) {
        return Style::kVillas;
    }
    return block.CentreY() > -110 ? Style::kTerrace : Style::kOffices;
}

// Splits [from, to] into lots between minWidth and maxWidth wide; a remainder too narrow for
// a lot of its own joins the last one.
void ForEachLot(float from, float to, float minWidth, float maxWidth, Random& random,
                const std::function<void(float, float)>& lot) {
    float start = from;
    while (to - start >= minWidth) {
        float width = random.Range(minWidth, maxWidth);
        if (to - (start + width) < minWidth) {
            width = to - start;
        }
        lot(start, start + width);
        start += width;
    }
}

// The objects of one part of the town, one per material, named after the part.
class District {
public:
    District(SampleScene& scene, std::string prefix) : scene_(scene), prefix_(std::move(prefix)) {}

    MeshBuilder& Mesh(const char* material) { return scene_.Object(prefix_ + material, material); }

private:
    SampleScene& scene_;
    std::string prefix_;
};

const char* Pick(Random& random, std::initializer_list<const char*> choices) {
    return choices.begin()[random.Below(static_cast<int>(choices.size()))];
}

class BlockBuilder {
public:
    BlockBuilder(District district, const Rect& block, Random& random)
        : district_(std::move(district)), block_(block), random_(random) {}

    void Build(Style style) {
        switch (style) {
            case Style::kTerrace:
                Rows(12, 14, 11, 13, [this](const Rect& lot, Side side) { Terrace(lot, side); });
                break;
            case Style::kOffices:
                Rows(16, 20, 14, 24, [this](const Rect& lot, Side) { Office(lot); });
                break;
            case Style::kVillas:
                Villas();
                break;
        }
    }

private:
    // Rows of buildings along all four sides of the block: the long rows face the avenues, the
    // short rows between them face the cross streets.
    void Rows(float minDepth, float maxDepth, float minWidth, float maxWidth,
              const std::function<void(const Rect&, Side)>& building) {
        const float west = random_.Range(minDepth, maxDepth);
        const float east = random_.Range(minDepth, maxDepth);
        ForEachLot(block_.y0, block_.y1, minWidth, maxWidth, random_, [&](float s0, float s1) {
            building({block_.x0, s0, block_.x0 + west, s1}, Side::kWest);
        });
        ForEachLot(block_.y0, block_.y1, minWidth, maxWidth, random_, [&](float s0, float s1) {
            building({block_.x1 - east, s0, block_.x1, s1}, Side::kEast);
        });
        const float x0 = block_.x0 + west;
        const float x1 = block_.x1 - east;
        const float south = random_.Range(minDepth, maxDepth) * 0.8f;
        const float north = random_.Range(minDepth, maxDepth) * 0.8f;
        ForEachLot(x0, x1, minWidth, maxWidth, random_, [&](float s0, float s1) {
            building({s0, block_.y0, s1, block_.y0 + south}, Side::kSouth);
        });
        ForEachLot(x0, x1, minWidth, maxWidth, random_, [&](float s0, float s1) {
            building({s0, block_.y1 - north, s1, block_.y1}, Side::kNorth);
        });
    }

    // A narrow house with its ridge along the street; now and then a taller flat-roofed one.
    void Terrace(const Rect& lot, Side side) {
        const char* walls = Pick(random_, {material::kBrick, material::kPlaster, material::kOchre});
        if (random_.Chance(0.25f)) {
            AddBox(district_.Mesh(walls), {lot.x0, lot.y0, 0},
                   {lot.x1, lot.y1, random_.Range(14, 20)});
            return;
        }
        const bool ridgeAlongY = side == Side::kWest || side == Side::kEast;
        const float along = ridgeAlongY ? lot.Depth() : lot.Width();
        const float across = ridgeAlongY ? lot.Width() : lot.Depth();
        const float eave = random_.Range(8, 15);
        AddGabledHouse(district_.Mesh(walls),
                       district_.Mesh(Pick(random_, {material::kRoofTile, material::kSlate})),
                       {lot.CentreX(), lot.CentreY()}, along / 2, across / 2, eave,
                       eave + 0.35f * across, ridgeAlongY);
    }

    // A flat-roofed office, sometimes stepped back above its base, with plant on the roof.
    void Office(const Rect& site) {
        const float gap = random_.Chance(0.4f) ? 1.5f : 0.0f;
        const Rect lot = {site.x0 + gap, site.y0 + gap, site.x1 - gap, site.y1 - gap};
        const char* walls = Pick(
            random_, {material::kConcrete, material::kGlass, material::kPlaster, material::kGlass});
        MeshBuilder& mesh = district_.Mesh(walls);
        float height = random_.Range(14, 42);
        Rect roof = lot;
        if (height > 26 && random_.Chance(0.5f)) {
            const float base = height * random_.Range(0.45f, 0.7f);
            AddBox(mesh, {lot.x0, lot.y0, 0}, {lot.x1, lot.y1, base});
            roof = {lot.x0 + 2.5f, lot.y0 + 2.5f, lot.x1 - 2.5f, lot.y1 - 2.5f};
            AddBox(mesh, {roof.x0, roof.y0, base}, {roof.x1, roof.y1, height});
        } else {
            AddBox(mesh, {lot.x0, lot.y0, 0}, {lot.x1, lot.y1, height});
        }
        const float plantX = roof.Width() * 0.2f;
        const float plantY = roof.Depth() * 0.2f;
        AddBox(district_.Mesh(material::kConcrete),
               {roof.CentreX() - plantX, roof.CentreY() - plantY, height},
               {roof.CentreX() + plantX, roof.CentreY() + plantY, height + 2.5f});
    }

    // Detached houses set back from the avenue, each with a tree in its garden.
    void Villas() {
        constexpr float kSetBack = 4;
        const auto row = [&](float frontX, float inward) {
            ForEachLot(block_.y0, block_.y1, 15, 21, random_, [&](float s0, float s1) {
                const float depth = random_.Range(8, 11);
                const float nearX = frontX + inward * kSetBack;
                const float farX = nearX + inward * depth;
                const Vec2 centre = {(nearX + farX) / 2, (s0 + s1) / 2};
                const float halfAlong = (s1 - s0) / 2 - 2.5f;
                const bool ridgeAlongY = random_.Chance(0.6f);
                const float halfLength = ridgeAlongY ? halfAlong : depth / 2;
                const float halfDepth = ridgeAlongY ? depth / 2 : halfAlong;
                const float eave = random_.Range(5, 6.5f);
                AddGabledHouse(
                    district_.Mesh(
                        Pick(random_, {material::kPlaster, material::kOchre, material::kBrick})),
                    district_.Mesh(Pick(random_, {material::kRoofTile, material::kSlate})), centre,
                    halfLength, halfDepth, eave, eave + 0.8f * halfDepth, ridgeAlongY);
                if (random_.Chance(0.7f)) {
                    const Vec2 garden = {farX + inward * random_.Range(4, 7),
                                         centre.y + random_.Range(-3, 3)};
                    MeshBuilder& bark = district_.Mesh(material::kBark);
                    if (random_.Chance(0.5f)) {
                        AddFir(bark, district_.Mesh(material::kPine), garden,
                               random_.Range(0.9f, 1.3f));
                    } else {
                        AddRoundTree(bark, district_.Mesh(material::kLeaves), garden,
                                     random_.Range(0.9f, 1.3f));
                    }
                }
            });
        };
        row(block_.x0, 1);
        row(block_.x1, -1);
    }

    District district_;
    Rect block_;
    Random& random_;
};

bool SameRect(const Rect& a, const Rect& b) {
    return a.x0 == b.x0 && a.y0 == b.y0 && a.x1 == b.x1 && a.y1 == b.y1;
}

// Trees on a jittered grid around a fountain, with benches facing it.
void AddPark(District district, const Rect& park, Random& random) {
    const Vec2 centre = {park.CentreX(), park.CentreY()};
    MeshBuilder& bark = district.Mesh(material::kBark);
    for (float y = park.y0 + 5; y < park.y1 - 3; y += 9) {
        for (float x = park.x0 + 5; x < park.x1 - 3; x += 9) {
            const Vec2 at = {x + random.Range(-2, 2), y + random.Range(-2, 2)};
            if (std::hypot(at.x - centre.x, at.y - centre.y) < 13) {
                continue;
            }
            if (random.Chance(0.5f)) {
                AddRoundTree(bark, district.Mesh(material::kLeaves), at, random.Range(1.0f, 1.6f));
            } else {
                AddFir(bark, district.Mesh(material::kPine), at, random.Range(1.0f, 1.8f));
            }
        }
    }
    MeshBuilder& stone = district.Mesh(material::kMarble);
    AddCylinder(stone, centre, 0, 0.7f, 5, 16, Caps::kTop);
    AddCylinder(stone, centre, 0.7f, 2.6f, 0.5f, 8, Caps::kNone);
    AddCylinder(stone, centre, 2.6f, 3.0f, 1.8f, 12, Caps::kTopAndBottom);
    AddCone(district.Mesh(material::kWater), centre, 3.0f, 4.4f, 0.6f, 8, false);
    MeshBuilder& wood = district.Mesh(material::kWood);
    AddBench(wood, {centre.x - 8, centre.y}, true, -1);
    AddBench(wood, {centre.x + 8, centre.y}, true, 1);
    AddBench(wood, {centre.x, centre.y - 8}, false, -1);
    AddBench(wood, {centre.x, centre.y + 8}, false, 1);
}

bool NearCrossStreet(const TownPlan& plan, float y, float clearance) {
    for (float street : plan.crossStreetsY) {
        if (std::fabs(y - street) < plan.crossStreetHalfWidth + plan.pavementWidth + clearance) {
            return true;
        }
    }
    return false;
}

// The row of blocks a point lies in, counted from the north edge of the town.
int RowOf(const TownPlan& plan, float y) {
    int row = 0;
    for (float street : plan.crossStreetsY) {
        row += y < street ? 1 : 0;
    }
    return row;
}

// Trees and lamps along every avenue (close together on the main one), benches and a shelter
// near the start.
void AddStreetFurniture(SampleScene& scene, const TownPlan& plan, Random& random) {
    const auto district = [&](float y) {
        return District(scene, "Street" + std::to_string(RowOf(plan, y)) + ".");
    };
    for (const Avenue& avenue : plan.avenues) {
        const bool main = avenue.centreX == 0;
        const float spacing = main ? 14 : 22;
        for (float side : {-1.0f, 1.0f}) {
            const float kerb = avenue.centreX + side * avenue.halfWidth;
            const float treeX = kerb + side * 2.0f;
            const float lampX = kerb + side * 0.7f;
            for (float y = plan.town.y1 - 6; y > plan.town.y0 + 4; y -= spacing) {
                District here = district(y);
                if (!NearCrossStreet(plan, y, 2)) {
                    AddRoundTree(here.Mesh(material::kBark), here.Mesh(material::kLeaves),
                                 {treeX, y}, random.Range(0.9f, 1.15f));
                }
                const float lampY = y - spacing / 2;
                if (main && !NearCrossStreet(plan, lampY, 1)) {
                    District there = district(lampY);
                    AddStreetLamp(there.Mesh(material::kSteel), there.Mesh(material::kLamp),
                                  {lampX, lampY}, -side * 1.0f);
                }
            }
        }
    }
    District start = district(15);
    MeshBuilder& wood = start.Mesh(material::kWood);
    AddBench(wood, {9.3f, 22}, true, 1);
    AddBench(wood, {9.3f, 36}, true, 1);
    AddBench(wood, {-9.3f, 28}, true, -1);
    AddShelter(start.Mesh(material::kSteel), start.Mesh(material::kGlass), {-9.8f, -16},
               {-8.2f, -11});
}

}  // namespace

void AddTown(SampleScene& scene, const TownPlan& plan, Random& random) {
    int index = 0;
    for (const Rect& block : plan.blocks) {
        char prefix[32];
        std::snprintf(prefix, sizeof prefix, "Block%02d.", index++);
        if (SameRect(block, plan.park)) {
            AddPark(District(scene, "Park."), block, random);
        } else {
            BlockBuilder(District(scene, prefix), block, random).Build(StyleOf(block));
        }
    }
    AddStreetFurniture(scene, plan, random);
}
