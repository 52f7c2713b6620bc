#include "tools/make-sample/Landmarks.h"

#include <cmath>
#include <string>

#include "tools/make-sample/Palette.h"
#include "tools/make-sample/Props.h"
#include "tools/make-sample/Random.h"
#include "tools/make-sample/SampleScene.h"

namespace {

void AddObelisk(SampleScene& scene, Vec2 at) {
    MeshBuilder& marble = scene.Object("Obelisk", material::kMarble);
    AddBox(marble, {at.x - 6, at.y - 6, 0}, {at.x + 6, at.y + 6, 1.5f});
    AddFrustum(marble, at, 1.5f, 52, 3, 2, Caps::kNone);
    AddPyramid(marble, at, 52, 2, 4);
}

void AddWaterTower(SampleScene& scene, Vec2 at) {
    MeshBuilder& concrete = scene.Object("WaterTower", material::kConcrete);
    AddCylinder(concrete, at, 0, 62, 7, 12, Caps::kNone);
    AddCylinder(concrete, at, 60, 80, 18, 20, Caps::kTopAndBottom);
    AddCone(scene.Object("WaterTowerRoof", material::kSlate), at, 80, 88, 18, 20, false);
}

void AddRadioMast(SampleScene& scene, Vec2 at) {
    AddFrustum(scene.Object("RadioMast", material::kSteel), at, 0, 240, 5, 1.2f, Caps::kNone);
    AddPyramid(scene.Object("RadioMastTip", material::kSignalRed), at, 240, 1.2f, 14);
}

// Stepped towers of the business district: each block stands on the one below it.
void AddTowers(SampleScene& scene) {
    struct Step {
        float half, top;
    };
    struct Tower {
        Vec2 at;
        const char* material;
        Step steps[3];
    };
    const Tower towers[] = {
        {{700, -800}, material::kConcrete, {{26, 160}, {19, 230}, {12, 280}}},
        {{820, -690}, material::kGlass, {{20, 210}, {0, 0}, {0, 0}}},
        {{760, -960}, material::kGlass, {{17, 140}, {12, 190}, {0, 0}}},
        {{610, -700}, material::kPlaster, {{15, 110}, {0, 0}, {0, 0}}},
    };
    int index = 0;
    for (const Tower& tower : towers) {
        MeshBuilder& mesh = scene.Object("Tower" + std::to_string(++index), tower.material);
        float bottom = 0;
        for (const Step& step : tower.steps) {
            if (step.half == 0) {
                break;
            }
            AddBox(mesh, {tower.at.x - step.half, tower.at.y - step.half, bottom},
                   {tower.at.x + step.half, tower.at.y + step.half, step.top});
            bottom = step.top;
        }
        if (index == 1) {
            AddFrustum(scene.Object("Tower1Spire", material::kSteel), tower.at, bottom, bottom + 60,
                       2, 0.4f, Caps::kTop);
        }
    }
}

void AddGrove(SampleScene& scene, const std::string& name, Vec2 centre, float radius, int trees,
              Random& random) {
    MeshBuilder& trunks = scene.Object(name + ".Bark", material::kBark);
    MeshBuilder& crowns = scene.Object(name + ".Pine", material::kPine);
    for (int i = 0; i < trees; ++i) {
        // Uniform over the disc: the square root spreads the trees evenly outward.
        const float distance = radius * std::sqrt(random.Range(0, 1));
        const float angle = random.Range(0, 6.2831853f);
        AddFir(trunks, crowns,
               {centre.x + distance * std::cos(angle), centre.y + distance * std::sin(angle)},
               random.Range(1.5f, 2.6f));
    }
}

void AddHills(SampleScene& scene) {
    struct Hill {
        Vec2 at;
        float radiusX, radiusY, height;
    };
    const Hill hills[] = {
        {{-1800, 500}, 600, 450, 220}, {{-1400, -1900}, 500, 420, 160},
        {{1500, 1600}, 700, 520, 260}, {{2200, -900}, 500, 380, 180},
        {{200, 2200}, 550, 500, 200},  {{-2300, -700}, 400, 360, 140},
    };
    MeshBuilder& mesh = scene.Object("Hills", material::kHillside);
    for (const Hill& hill : hills) {
        AddHill(mesh, hill.at, hill.radiusX, hill.radiusY, hill.height, 20, 8);
    }
}

}  // namespace

void AddLandmarks(SampleScene& scene, Random& random) {
    AddObelisk(scene, {0, -420});
    AddWaterTower(scene, {-450, -250});
    AddRadioMast(scene, {500, 600});
    AddTowers(scene);
    AddPyramid(scene.Object("Pyramid", material::kSandstone), {0, -1600}, 0, 150, 190);
    AddGrove(scene, "GroveWest", {-300, 100}, 45, 16, random);
    AddGrove(scene, "GroveSouth", {280, -480}, 55, 18, random);
    AddGrove(scene, "GroveFar", {-380, -650}, 60, 18, random);
    AddGrove(scene, "GroveNorth", {260, 320}, 40, 14, random);
    AddHills(scene);
}
