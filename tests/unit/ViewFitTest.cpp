// Fitting the walk-through to models of any size and place: the box as drawn, the fitted and the
// file camera's start views, and what the projection shows of a box.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <random>
#include <utility>

#include "placement/ModelPlacement.h"
#include "placement/UpAxis.h"
#include "placement/ViewFit.h"
#include "platform/fake/CallLog.h"
#include "scene/Scene.h"
#include "tests/support/CallChecks.h"
#include "tests/support/ModelFile.h"
#include "tests/support/Opening.h"
#include "tools/chunkwriter/ChunkWriter.h"
#include "viewer/ModelOpening.h"

namespace {

ModelBox Box(std::array<double, 3> min, std::array<double, 3> max) {
    ModelBox box;
    box.Add(min.data());
    box.Add(max.data());
    return box;
}

TEST(ViewFit, TheDrawnBoxSpansTheDrawableFacesTimesTheMasterScale) {
    const float inf = std::numeric_limits<float>::infinity();
    ChunkWriter w;
    w.BeginModel();
    w.MasterScale(2.0f);
    // Vertex 3 only stands in a face naming a missing vertex, and in the faces' flags word;
    // vertex 7 is not finite.
    w.MeshObject({"A", {0, 0, 0, 1, 0, 0, 0, 1, 3, 50, 50, 50}, {0, 1, 2, 3, 1, 9}, {}, 3});
    w.MeshObject({"B", {-1, 0, 0, 0, -2, 0, 0, 0, -0.5f, inf, 0, 0}, {0, 1, 2, 0, 1, 3}, {}});
    w.EndModel();
    ModelFile file(w.bytes());
    Scene scene(file.path());
    const ModelBox box = MeasureDrawnModel(g_meshHead, scene.modelScale);
    ExpectNear({box.min[0], box.min[1], box.min[2], box.max[0], box.max[1], box.max[2]},
               {-2, -4, -1, 2, 2, 6}, 0);
    // Without a model the walk-through keeps its own start pose, unscaled.
    const ViewFit fit = FitView(MeasureDrawnModel(nullptr, 2.0f), {});
    ExpectNear({fit.worldScale, fit.worldTranslation[0], fit.worldTranslation[1],
                fit.worldTranslation[2], fit.pose.eyeX, fit.pose.eyeY, fit.pose.yawDegrees},
               {1, 0, 0, 0, 0, 15, 180}, 0);
}

// Placing from the one box measured of the model as read (mesh by mesh as it is read for laying
// out, or after) gives what measuring the turned, centred and scaled vertices gives, to the bit:
// random models near and far from the origin, some with coordinates that are not finite,
// upright or not, at master scales of every sign (zero and none at all measure again), with a
// camera or without.
TEST(ViewFit, PlacingFromTheBoxAsReadEqualsMeasuringThePlacedVertices) {
    std::mt19937 random(26);
    const auto coordinate = [&](double far) {
        return static_cast<float>(far + (int(random() % 20001) - 10000) / 97.0);
    };
    const float scales[] = {1.0f, 0.0254f, -3.0f, 0.0f, std::nanf(""), 1e-30f};
    for (int round = 0; round < 60; ++round) {
        const double far = round % 3 == 0 ? 0.0 : round % 3 == 1 ? 1e5 : -7e6;
        ChunkWriter w;
        w.BeginModel();
        w.MasterScale(scales[round % 6]);
        for (int m = 0; m < 3; ++m) {
            MeshObjectSpec mesh{"M" + std::to_string(m), {}, {}, {}};
            for (int v = 0; v < 3 * 12; ++v) {
                mesh.xyz.push_back(coordinate(v % 3 == 0 ? far : 0.0));
            }
            if (round % 7 == 3) {
                mesh.xyz[3 * std::size_t(m + 1) + std::size_t(m)] =
                    m == 0 ? INFINITY : std::nanf("");
            }
            for (int f = 0; f < 15; ++f) {  // vertex 11 named by no face
                mesh.abc.insert(mesh.abc.end(),
                                {std::uint16_t(random() % 11), std::uint16_t(random() % 11),
                                 std::uint16_t(random() % 12 == 0 ? 12 : 3)});
            }
            w.MeshObject(mesh);
        }
        if (round % 2 == 0) {
            w.CameraObject("C", {coordinate(far), 1, 2, coordinate(far), 5, 1});
        }
        w.EndModel();
        ModelFile file(w.bytes());
        const StartView view = round % 4 == 0 ? StartView::kFit : StartView::kAuto;
        const UpAxis up = round % 5 < 2 ? UpAxis::kY : UpAxis::kZ;
        {
            // Measured as it is read for laying out, mesh by mesh: the same box.
            Scene scene(nullptr);
            scene.faceNormalsWanted = false;
            scene.OpenModel(file.path());
            const std::optional<ModelBox> asRead = DrawnBoxAsRead(g_meshHead);
            const ModelBox measured = MeasureDrawnModel(g_meshHead, 1.0f);
            ASSERT_TRUE(asRead);
            EXPECT_EQ(asRead->empty, measured.empty);
            ExpectNear({asRead->min[0], asRead->min[1], asRead->min[2], asRead->max[0],
                        asRead->max[1], asRead->max[2]},
                       {measured.min[0], measured.min[1], measured.min[2], measured.max[0],
                        measured.max[1], measured.max[2]},
                       0);
        }
        ViewFitOptions options;
        Placement placements[2];
        std::vector<float> cameras[2];
        for (int moved = 0; moved < 2; ++moved) {
            Scene scene(file.path());
            const ModelBox fileBox = MeasureDrawnModel(g_meshHead, 1.0f);
            if (const std::optional<ModelBox> scaled = ScaledBox(fileBox, scene.modelScale)) {
                const ModelBox measured = MeasureDrawnModel(g_meshHead, scene.modelScale);
                ExpectNear({scaled->min[0], scaled->min[1], scaled->min[2], scaled->max[0],
                            scaled->max[1], scaled->max[2]},
                           {measured.min[0], measured.min[1], measured.min[2], measured.max[0],
                            measured.max[1], measured.max[2]},
                           0);
            }
            placements[moved] = PlaceModel(scene, view, up, options, fileBox, moved == 1);
            for (const ModelCamera& camera : scene.cameras) {
                cameras[moved].insert(cameras[moved].end(), camera.position, camera.position + 3);
            }
            if (moved == 1) {
                // The vertices moved in place, measured as drawn: the fit as it was made.
                const ModelBox drawn = MeasureDrawnModel(g_meshHead, scene.modelScale);
                const double s = scene.modelScale;
                if (placements[1].fromCamera) {
                    const ModelCamera& c = scene.cameras.front();
                    const double position[3] = {c.position[0] * s, c.position[1] * s,
                                                c.position[2] * s};
                    const double target[3] = {c.target[0] * s, c.target[1] * s, c.target[2] * s};
                    placements[1].fit = ViewFromCamera(drawn, position, target, options);
                } else {
                    placements[1].fit = FitView(drawn, options);
                }
            }
        }
        const ViewFit& derived = placements[0].fit;
        const ViewFit& measured = placements[1].fit;
        EXPECT_EQ(
            std::vector<double>({derived.worldScale, derived.worldTranslation[0],
                                 derived.worldTranslation[1], derived.worldTranslation[2],
                                 derived.pose.eyeX, derived.pose.eyeY, double(derived.pose.pitch),
                                 double(derived.pose.yawDegrees)}),
            std::vector<double>({measured.worldScale, measured.worldTranslation[0],
                                 measured.worldTranslation[1], measured.worldTranslation[2],
                                 measured.pose.eyeX, measured.pose.eyeY,
                                 double(measured.pose.pitch), double(measured.pose.yawDegrees)}))
            << "round " << round;
        EXPECT_EQ(placements[0].fromCamera, placements[1].fromCamera);
        EXPECT_EQ(cameras[0], cameras[1]);
    }
}

// Over boxes 1 to 1e6 units on each axis independently, the extremes often, centred within 1e7.
TEST(ViewFit, TheFittedViewShowsTheWholeModelFromOutsideAtWalkingScale) {
    std::mt19937_64 engine(13);
    const auto uniform = [&](double low, double high) {
        return std::uniform_real_distribution<double>(low, high)(engine);
    };
    for (int i = 0; i < 3000; ++i) {
        std::array<double, 3> min, max;
        for (int axis = 0; axis < 3; ++axis) {
            const double exponent = std::array<double, 3>{0, 6, uniform(0, 6)}[engine() % 3];
            const double centre = uniform(-1e7, 1e7), size = std::pow(10.0, exponent);
            min[axis] = centre - size / 2;
            max[axis] = centre + size / 2;
        }
        const ModelBox drawn = Box(min, max);
        const double userScale = std::pow(10.0, uniform(-4, 4));
        EXPECT_EQ(FitView(drawn, {userScale}).worldScale, 1.0 / userScale);

        const ViewFit fit = FitView(drawn, {});
        const ModelBox world = ToWorld(drawn, fit);
        const StartPose& pose = fit.pose;
        SCOPED_TRACE(testing::Message() << "box " << i);

        EXPECT_FALSE(pose.eyeX > world.min[0] && pose.eyeX < world.max[0] &&
                     pose.eyeY > world.min[1] && pose.eyeY < world.max[1]);
        EXPECT_NEAR(world.min[2], 0.0, 1e-9);
        EXPECT_EQ(pose.heightOffset, 0.0f);  // the eye at 3 above the lowest point

        // Looking at the centre, which thus lands in the middle of the picture.
        const std::array<double, 3> centre = {world.Centre(0), world.Centre(1), world.Centre(2)};
        const ViewCoverage middle = MeasureCoverage(pose, Box(centre, centre), 800, 600);
        EXPECT_NEAR(middle.left, 0.0, 1e-3);
        EXPECT_NEAR(middle.top, 0.0, 1e-3);

        const ViewCoverage view = MeasureCoverage(pose, world, 800, 600);
        EXPECT_TRUE(view.allCornersInView);
        EXPECT_LT(view.farthestDistance, 4000.0);  // the fog's final end
        EXPECT_GE(std::max(view.widthFraction, view.heightFraction), 1.0 / 3.0);
        // No farther than it takes to leave a tenth of the picture free on the fullest side.
        EXPECT_NEAR(std::max({-view.left, view.right, -view.bottom, view.top}), 0.9, 1e-3);
        // Facing the longer horizontal side: looking across the shorter one.
        const bool longerAlongX = world.Extent(0) >= world.Extent(1);
        EXPECT_NEAR(longerAlongX ? pose.eyeX : pose.eyeY, centre[longerAlongX ? 0 : 1], 1e-6);

        // 150 to 450 units: 10 to 30 seconds' walk. A tower is shrunk to fit the far plane.
        const double side = std::max(world.Extent(0), world.Extent(1));
        const bool tower =
            drawn.Extent(2) > std::max(drawn.Extent(0), drawn.Extent(1)) * 1000 / 150;
        EXPECT_TRUE(tower || (side >= 150.0 && side <= 450.0)) << side;
    }
}

TEST(ViewFit, TheFileCameraGivesTheEyeAndDirectionPlacedLikeTheModel) {
    // Fitted, 30 world units per unit and centred at x = y = 0; or 2 units per world unit.
    const ModelBox cube = Box({0, 0, 0}, {10, 10, 10});
    const struct {
        std::optional<double> userScale;
        double position[3], target[3];
        std::vector<double> eyeXYHeightYawPitch;
    } cases[] = {
        {{}, {5, 20, 1}, {5, 10, 1}, {0, 450, 27, 180, 0}},
        {2.0, {0, 0, 5}, {10, 0, 10}, {-2.5, -2.5, -0.5, 90, 50}},
        {{}, {5, 5, 10}, {5, 5, 0}, {0, 0, 297, 180, -200}},  // straight down: the limit
    };
    for (const auto& c : cases) {
        const StartPose pose = ViewFromCamera(cube, c.position, c.target, {c.userScale}).pose;
        ExpectNear({pose.eyeX, pose.eyeY, pose.heightOffset, pose.yawDegrees, pose.pitch},
                   c.eyeXYHeightYawPitch, 1e-3);
    }
}

// A 10-unit model 1e7 units from the origin, with a camera 25 units in front of its centre.
TEST(ViewFit, APlacedModelStartsAtItsFirstCameraOrFittedWithItsCoordinatesCentred) {
    ChunkWriter w;
    w.BeginModel();
    w.MeshObject({"Wall", {1e7, 1e7, 0, 1e7 + 10, 1e7, 0, 1e7, 1e7 + 10, 10}, {0, 1, 2}, {}});
    w.CameraObject("View", {1e7 + 5, 1e7 + 30, 5, 1e7 + 5, 1e7 + 5, 5});
    w.EndModel();
    ModelFile file(w.bytes());
    Scene scene(nullptr);
    for (StartView view : {StartView::kOriginal, StartView::kFit, StartView::kCamera}) {
        // Wherever the last walk ended, a model opens at its own start.
        scene.StandAt({99, 99, 9, 9, 9});
        const OpenedModel opened =
            OpenModel(scene, file.path(), Opening(view, ModelDrawingStyle::kMeshColours));
        if (view == StartView::kOriginal) {
            ExpectNear(
                {scene.eye[0], scene.eye[1], scene.heightOffset, scene.yawDegrees, scene.pitch},
                {0, 15, 0, 180, 0}, 0);
        }
        const bool fromCamera = opened.view->placement().fromCamera;
        float first[3];
        ReadVertex(*g_meshHead->next, 0, first);
        const bool placed = view != StartView::kOriginal;
        EXPECT_EQ(opened.view->placement().placed, placed);
        EXPECT_EQ(first[0], placed ? -5.0f : 1e7f);
        EXPECT_EQ(fromCamera, view == StartView::kCamera);
        if (fromCamera) {  // 30 world units a unit; 150 high, 750 south of the centre
            ExpectNear({scene.eye[0], scene.eye[1], scene.heightOffset, scene.yawDegrees},
                       {0, 750, 147, 180}, 1e-3);
        }
        fake::CallLog().clear();
        opened.view->DrawModel();
        const Lines calls = LoggedCalls();
        const Lines expected = placed ? Lines{"glTranslated 0 0 150", "glScaled 30 30 30",
                                              "glEnable 2977", "glScalef 1 1 1"}
                                      : Lines{"glScalef 1 1 1"};
        EXPECT_EQ(Lines(calls.begin(), calls.begin() + expected.size()), expected);
    }
}

// Looking along +y from (0, 0, 3) at boxes ahead.
TEST(ViewFit, CoverageIsTheProjectedShareOfThePictureAndTheFrustumHoldsEveryCorner) {
    const double halfHeight = 100 * std::tan(27 * 3.14159265358979 / 180);
    const double x = halfHeight * 4 / 3 / 4, z = halfHeight / 4;  // a quarter of each half
    const StartPose ahead{0, 0, 0, 0, 0};
    const auto inView = [&](const ModelBox& box) {
        return MeasureCoverage(ahead, box, 800, 600).allCornersInView;
    };
    EXPECT_TRUE(inView(Box({-x, 100, 3}, {x, 2999, 3 + z})));
    EXPECT_FALSE(inView(Box({-x, 100, 3}, {x, 3001, 3 + z})));     // past the far plane
    EXPECT_FALSE(inView(Box({-x, 100, 3}, {x, 100, 3 + 5 * z})));  // over the top
    EXPECT_TRUE(inView(Box({-0.01, 0.2, 3}, {0.01, 1, 3.01})));
    EXPECT_FALSE(inView(Box({-0.01, 0.05, 3}, {0.01, 1, 3.01})));  // before the near plane
    // The eye stands its height offset above the eye height.
    EXPECT_NEAR(MeasureCoverage({0, 0, 2, 0, 0}, Box({0, 100, 5}, {0, 100, 5}), 800, 600).top, 0,
                1e-9);

    const ViewCoverage view =
        MeasureCoverage(ahead, Box({-x, 100, 3}, {5 * x, 100, 3 + 2 * z}), 800, 600);
    EXPECT_FALSE(view.allCornersInView);  // cut by the picture's right edge
    ExpectNear({view.left, view.right, view.widthFraction, view.bottom, view.top,
                view.heightFraction, view.farthestDepth, view.farthestDistance},
               {-0.25, 1.25, 0.625, 0, 0.5, 0.25, 100, std::hypot(100, 5 * x, 2 * z)}, 1e-9);
}

// (x, y, z) of a z-up model as a y-up tool writes it: (x, z, -y).
std::vector<float> LaidDown(std::vector<float> xyz) {
    for (std::size_t i = 0; i + 2 < xyz.size(); i += 3) {
        xyz[i + 1] = std::exchange(xyz[i + 2], -xyz[i + 1]);
    }
    return xyz;
}

// A house of random size, written with z up or laid down: a ground of two triangles, walls and
// a roof of random height, and a camera looking at it.
std::vector<unsigned char> HouseFile(std::mt19937 random, bool yUp) {
    const auto at = [&random](float low, float high) {
        return std::uniform_real_distribution<float>(low, high)(random);
    };
    const auto written = [yUp](const std::vector<float>& xyz) { return yUp ? LaidDown(xyz) : xyz; };
    const float w = at(5, 50), d = at(5, 50), h = std::min(w, d) * at(0.3f, 1);  // not flat
    MeshObjectSpec walls{"Walls", {}, {}, {}};
    for (int corner = 0; corner < 4; ++corner) {
        const float x = corner % 3 == 0 ? -w : w, y = corner < 2 ? -d : d;
        walls.xyz.insert(walls.xyz.end(), {x, y, 0, x, y, h + at(0, 1)});
        const auto a = std::uint16_t(2 * corner), b = std::uint16_t(2 * ((corner + 1) % 4));
        walls.abc.insert(walls.abc.end(), {a, b, std::uint16_t(b + 1), a, std::uint16_t(b + 1),
                                           std::uint16_t(a + 1)});
    }
    walls.xyz = written(walls.xyz);
    const std::vector<float> camera = written({at(-3 * w, 3 * w), -3 * d, at(1, 3), 0, 0, h / 2});
    ChunkWriter file;
    file.BeginModel();
    file.MeshObject(
        {"Ground",
         written({-2 * w, -2 * d, 0, 2 * w, -2 * d, 0, 2 * w, 2 * d, 0, -2 * w, 2 * d, 0}),
         {0, 1, 2, 0, 2, 3},
         {}});
    file.MeshObject(walls);
    file.CameraObject("Camera01",
                      {camera[0], camera[1], camera[2], camera[3], camera[4], camera[5], 0, 45});
    file.EndModel();
    return file.bytes();
}

// Every vertex, normal and camera coordinate of the scene's model, as read.
std::vector<float> Geometry(const Scene& scene) {
    std::vector<float> values;
    for (const Mesh* mesh = g_meshHead->next; mesh != nullptr; mesh = mesh->next) {
        for (int i = 0; i < mesh->vertexCount; ++i) {
            float xyz[3];
            ReadVertex(*mesh, i, xyz);
            values.insert(values.end(), xyz, xyz + 3);
        }
        values.insert(values.end(), mesh->normals, mesh->normals + 3 * FaceCount(*mesh));
    }
    for (const ModelCamera& camera : scene.cameras) {
        values.insert(values.end(), camera.position, camera.position + 3);
        values.insert(values.end(), camera.target, camera.target + 3);
    }
    return values;
}

// A house written y-up is stood upright to exactly the values of the house written z-up,
// normals and camera included, and only the y-up one looks y-up; a wall alone does not.
TEST(UpAxis, AHouseWrittenWithYUpStandsUprightExactlyAsWrittenWithZUp) {
    std::mt19937 random(7);
    for (int round = 0; round < 20; ++round) {
        random.discard(100);
        const ModelFile upright(HouseFile(random, false)), lying(HouseFile(random, true));
        Scene scene(upright.path());
        EXPECT_FALSE(LooksYUp(g_meshHead));
        const std::vector<float> expected = Geometry(scene);
        scene.OpenModel(lying.path());
        EXPECT_TRUE(LooksYUp(g_meshHead));
        StandUpright(scene);
        EXPECT_FALSE(LooksYUp(g_meshHead));
        // Equal values (a zero may change its sign, which lights and draws the same).
        EXPECT_EQ(Geometry(scene), expected) << "round " << round;
    }
    ChunkWriter w;
    w.BeginModel();
    w.MeshObject({"Wall", {0, 0, 0, 10, 0, 0, 10, 0, 3, 0, 0, 3}, {0, 1, 2, 0, 2, 3}, {}});
    w.EndModel();
    const ModelFile wall(w.bytes());
    Scene scene(wall.path());
    EXPECT_FALSE(LooksYUp(g_meshHead)) << "a wall faces along y but has no depth";
}

}  // namespace
