// Scripted walks through a building written with the chunk writer and read back with the
// reader: walls, a doorway, an opening narrower than the body, a thin wall, stairs to an upper
// floor, a ramp down from it, a low beam and a hole in the upper floor. The building is written
// in metres and again in centimetres, walked at the same human scale.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "scene/Scene.h"
#include "tests/support/ModelFile.h"
#include "tests/walk/Solids.h"
#include "tools/chunkwriter/ChunkWriter.h"
#include "walk/Walker.h"

namespace {

constexpr double kRadius = 0.25;  // the body's, in metres
constexpr double kEye = 1.6;

// In metres: room A's inside is x 0..10, y 0..10, its walls 0.2 thick and 3 high, with a
// doorway 1 m wide in the south wall (x 4.5..5.5) and a gap 0.4 m wide in the north wall
// (x 7..7.4). The ground floor's top is at z 0, the slab under it reaches down to -0.3.
std::vector<Solid> Building() {
    std::vector<Solid> parts(1);
    const auto box = [&](Vec3 lo, Vec3 hi) {
        parts.emplace_back();
        parts.back().Box(lo, hi);
    };
    box({-20, -20, -0.3}, {40, 40, 0});       // ground floor
    box({-0.2, -0.2, 0}, {0, 10.2, 3});       // west wall
    box({10, -0.2, 0}, {10.2, 10.2, 3});      // east wall
    box({-0.2, -0.2, 0}, {4.5, 0, 3});        // south wall, the doorway between
    box({5.5, -0.2, 0}, {10.2, 0, 3});        //
    box({4.5, -0.2, 2.2}, {5.5, 0, 3});       // the doorway's lintel
    box({-0.2, 10, 0}, {7, 10.2, 3});         // north wall, the narrow gap between
    box({7.4, 10, 0}, {10.2, 10.2, 3});       //
    box({12, 0, 2.8}, {15, 10, 3});           // upper floor around a hole x 15..16.5, y 4..5.5
    box({16.5, 0, 2.8}, {20, 10, 3});         //
    box({15, 0, 2.8}, {16.5, 4, 3});          //
    box({15, 5.5, 2.8}, {16.5, 10, 3});       //
    for (int step = 1; step <= 20; ++step) {  // 20 steps of 0.15 by 0.3 up to the upper floor
        box({12.5, -6 + 0.3 * (step - 1), 0}, {14.5, 0, 0.15 * step});
    }
    box({22, 10, 1.4}, {28, 10.3, 1.7});  // a beam 1.4 m over the floor
    // A thin wall: one face at x = -5. The ramp: from the upper floor's edge down to the ground.
    parts[0].Quad({-5, -5, 0}, {-5, 5, 0}, {-5, 5, 3}, {-5, -5, 3});
    parts[0].Quad({20, 2, 3}, {30, 2, 0}, {30, 4, 0}, {20, 4, 3});
    return parts;
}

std::vector<unsigned char> BuildingFile(double unitsPerMetre) {
    ChunkWriter w;
    w.BeginModel();
    int serial = 0;
    for (Solid part : Building()) {
        for (float& value : part.xyz) {
            value = static_cast<float>(value * unitsPerMetre);
        }
        w.MeshObject({"Part" + std::to_string(serial++), part.xyz, part.abc, {}});
    }
    w.EndModel();
    return w.bytes();
}

// The parameter: world units per metre.
class WalkThroughBuilding : public testing::TestWithParam<double> {
protected:
    void SetUp() override {
        units_ = GetParam();
        file_ = std::make_unique<ModelFile>(BuildingFile(units_));
        scene_ = std::make_unique<Scene>(file_->path());
        faces_.AddMeshes(g_meshHead);
        index_ = std::make_unique<FaceIndex>(faces_);
        ASSERT_EQ(index_->IndexedFaces(), 12u * 33 + 4);
    }

    Walker StartAt(double x, double y, double floor) const {
        Walker walker(*index_, units_, index_->Bounds().min.z);
        walker.PutDown(Metres(x, y, floor + kEye));
        return walker;
    }
    Vec3 Metres(double x, double y, double z) const { return Vec3{x, y, z} * units_; }
    // The body's feet and eye, in metres.
    Vec3 Feet(const Walker& walker) const { return walker.Feet() * (1.0 / units_); }
    Vec3 Eye(const Walker& walker) const { return walker.Eye() * (1.0 / units_); }
    double Near() const { return 1e-6; }  // metres

    double units_ = 1.0;
    std::unique_ptr<ModelFile> file_;
    std::unique_ptr<Scene> scene_;
    WorldFaces faces_;
    std::unique_ptr<FaceIndex> index_;
};

constexpr double kPi = 3.14159265358979323846;

// Walks `frames` frames along the heading, calling `check` after each.
template <class Check>
void Walk(Walker& walker, double yawDegrees, int frames, Check check, bool fast = false) {
    for (int frame = 0; frame < frames; ++frame) {
        walker.Step({1, 0, fast, false, false}, yawDegrees * kPi / 180.0);
        check();
    }
}
void Walk(Walker& walker, double yawDegrees, int frames) {
    Walk(walker, yawDegrees, frames, [] {});
}

TEST_P(WalkThroughBuilding, WalksAtItsPaceAndStopsAtAWallAtItsRadiusAndSlidesAlongIt) {
    Walker walker = StartAt(1, 5, 0);
    EXPECT_NEAR(Eye(walker).z, kEye, Near());
    Walk(walker, 90, 75);  // east for a second, then a second with Shift
    EXPECT_NEAR(Feet(walker).x, 1 + 1.4, 1e-9);
    Walk(
        walker, 90, 75, [] {}, true);
    EXPECT_NEAR(Feet(walker).x, 1 + 1.4 * 5, 1e-9);
    Walk(walker, 90, 100);  // into the wall at x = 10
    EXPECT_NEAR(Feet(walker).x, 10 - kRadius, Near());
    EXPECT_NEAR(Feet(walker).y, 5, Near());
    Walk(walker, 45, 100);  // north-east: along the wall
    EXPECT_NEAR(Feet(walker).x, 10 - kRadius, Near());
    EXPECT_NEAR(Feet(walker).y, 5 + 100 * 1.4 / 75 * std::sqrt(0.5), 1e-3);
}

TEST_P(WalkThroughBuilding, PassesTheDoorwayButNotAnOpeningNarrowerThanTheBody) {
    Walker walker = StartAt(5, -2, 0);
    Walk(walker, 0, 700);  // north through the doorway, to the north wall
    EXPECT_NEAR(Feet(walker).y, 10 - kRadius, Near());
    Walker narrow = StartAt(7.2, 8, 0);
    Walk(narrow, 0, 300, [&] { ASSERT_LT(Feet(narrow).y, 10); });
}

TEST_P(WalkThroughBuilding, ClimbsTheStairsByTheStoreyHeight) {
    Walker walker = StartAt(13.5, -8, 0);
    double lowest = Eye(walker).z;
    Walk(walker, 0, 600, [&] { lowest = std::min(lowest, Eye(walker).z); });
    EXPECT_GT(Feet(walker).y, 2);
    EXPECT_NEAR(Eye(walker).z, kEye + 3, Near());
    EXPECT_TRUE(walker.OnFloor());
    EXPECT_NEAR(lowest, kEye, Near());
}

TEST_P(WalkThroughBuilding, WalksDownTheRampOnTheFloor) {
    Walker walker = StartAt(19, 3, 3);
    double last = Eye(walker).z;
    Walk(walker, 90, 800, [&] {
        ASSERT_TRUE(walker.OnFloor());
        ASSERT_LE(Eye(walker).z, last + Near());
        last = Eye(walker).z;
    });
    EXPECT_GT(Feet(walker).x, 31);
    EXPECT_NEAR(Eye(walker).z, kEye, Near());
}

TEST_P(WalkThroughBuilding, CrouchesUnderTheBeamAndStandsUpAfterIt) {
    Walker walker = StartAt(25, 8, 0);
    double lowest = Eye(walker).z;
    Walk(walker, 0, 300, [&] {
        lowest = std::min(lowest, Eye(walker).z);
        const double y = Feet(walker).y;
        if (y > 10 - kRadius && y < 10.3 + kRadius) {
            ASSERT_TRUE(walker.Crouching()) << "at y " << y;
        }
    });
    EXPECT_GT(Feet(walker).y, 13);
    EXPECT_NEAR(lowest, 1.0, Near());
    EXPECT_FALSE(walker.Crouching());
    EXPECT_NEAR(Eye(walker).z, kEye, Near());
}

TEST_P(WalkThroughBuilding, FallsThroughTheHoleOntoTheFloorBelow) {
    Walker walker = StartAt(15.75, 1.5, 3);
    int falling = 0;
    Walk(walker, 0, 300, [&] { falling += walker.OnFloor() ? 0 : 1; });
    EXPECT_GT(falling, 20);  // a fall of 3 m takes about 0.8 s
    EXPECT_TRUE(walker.OnFloor());
    EXPECT_NEAR(Feet(walker).z, 0, Near());
    EXPECT_NEAR(Eye(walker).z, kEye, Near());
}

TEST_P(WalkThroughBuilding, NeverPassesTheThinWallFromEitherSideAtAnyStride) {
    for (double side : {-1.0, 1.0}) {
        for (double stride : {4 * 1.4 / 75, 1.0, 5.0, 40.0}) {  // Shift, and slow frames
            Walker walker = StartAt(-5 + 2 * side, 0, 0);
            for (int frame = 0; frame < 40; ++frame) {
                walker.Move(Vec3{-side, 0, 0} * (stride * units_), false, false);
                ASSERT_GE(side * (Feet(walker).x + 5), kRadius - Near())
                    << "side " << side << " stride " << stride << " frame " << frame;
            }
            EXPECT_NEAR(Feet(walker).x, -5 + side * kRadius, Near());
        }
    }
}

TEST_P(WalkThroughBuilding, PageUpJumpsAndPageDownCrouchesWhileHeld) {
    Walker walker = StartAt(5, 5, 0);
    double highest = 0;
    for (int frame = 0; frame < 100; ++frame) {
        walker.Move({}, true, false);  // held: one jump
        highest = std::max(highest, Eye(walker).z);
    }
    EXPECT_NEAR(highest, kEye + 0.5, 0.03);
    EXPECT_NEAR(Eye(walker).z, kEye, Near());
    for (int frame = 0; frame < 30; ++frame) {
        walker.Move({}, false, true);
    }
    EXPECT_NEAR(Eye(walker).z, 1.0, Near());
    for (int frame = 0; frame < 30; ++frame) {
        walker.Move({}, false, false);
    }
    EXPECT_NEAR(Eye(walker).z, kEye, Near());
}

TEST_P(WalkThroughBuilding, PutsTheBodyDownOnTheFloorUnderTheEye) {
    const struct {
        Vec3 eye;
        double floor;
    } cases[] = {
        {{5, 5, 50}, 0},         // high over room A
        {{16, 8, 20}, 3},        // over the upper floor
        {{15.75, 4.75, 20}, 0},  // over the hole in it
        {{5, 5, 1.7}, 0},        // a camera at eye height
        {{60, 60, 10}, -0.3},    // beside the model: the ground plane
    };
    for (const auto& c : cases) {
        Walker walker(*index_, units_, index_->Bounds().min.z);
        walker.PutDown(c.eye * units_);
        EXPECT_NEAR(Feet(walker).z, c.floor, Near()) << c.eye.x << " " << c.eye.y;
        EXPECT_TRUE(walker.OnFloor());
    }
}

TEST_P(WalkThroughBuilding, StartsOutsideOnTheGroundFacingTheModel) {
    const WalkStart start = StartOutside(index_->Bounds(), units_);
    Walker walker(*index_, units_, index_->Bounds().min.z);
    walker.PutDown(start.eye);
    EXPECT_NEAR(Feet(walker).z, -0.3, Near());
    EXPECT_GT(Feet(walker).y, 40);  // the model is as long as it is wide: from +y, looking -y
    EXPECT_EQ(start.yawDegrees, 180);
    Walk(walker, start.yawDegrees, 1800);  // 33.6 m, up the ground floor's edge (0.3 m)
    EXPECT_NEAR(Feet(walker).y, 70 - 1800 * 1.4 / 75, 1e-6);
    EXPECT_NEAR(Feet(walker).z, 0, Near());
}

// A damaged file's faces that name vertices their mesh lacks are left out of the index.
TEST(WorldFaces, LeaveOutFacesNamingVerticesTheirMeshLacks) {
    ChunkWriter w;
    w.BeginModel();
    w.MeshObject({"Cut", {0, 0, 0, 1, 0, 0, 0, 1, 0}, {0, 1, 2, 0, 1, 3, 3, 3, 3}, {}});
    w.EndModel();
    ModelFile file(w.bytes());
    Scene scene(file.path());
    WorldFaces faces;
    faces.AddMeshes(g_meshHead);
    const FaceIndex index(faces);
    EXPECT_EQ(index.IndexedFaces(), 1u);
    int visited = 0;
    index.ForEachFaceNear(index.Bounds().Grown(10), [&](const Vec3*) { ++visited; });
    EXPECT_EQ(visited, 1);
}

INSTANTIATE_TEST_SUITE_P(Units, WalkThroughBuilding, testing::Values(1.0, 100.0),
                         [](const testing::TestParamInfo<double>& info) {
                             return info.param == 1.0 ? std::string("metres")
                                                      : std::string("centimetres");
                         });

}  // namespace
