// Walking as walkthrough-shot scripts it: --walk from the file's camera, put down on the floor,
// stopped by a wall at the body's radius; G switches to flying, which passes through; --units
// takes the model's unit; --print-pose says where the eye stands in the model's own units.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "tests/pictures/RunProgram.h"
#include "tools/chunkwriter/ChunkWriter.h"

namespace {

// A yard 20 m square in `unit`s a metre with a wall across it 5 m ahead of a camera that stands
// 2.5 m over the ground at its middle, looking along +y.
bool WriteYard(const std::string& path, float unit) {
    const auto m = [unit](std::vector<float> xyz) {
        for (float& value : xyz) {
            value *= unit;
        }
        return xyz;
    };
    ChunkWriter w;
    w.BeginModel();
    w.MeshObject(
        {"Ground", m({-10, -10, 0, 10, -10, 0, 10, 10, 0, -10, 10, 0}), {0, 1, 2, 0, 2, 3}, {}});
    w.MeshObject({"Wall", m({-10, 5, 0, 10, 5, 0, 10, 5, 3, -10, 5, 3}), {0, 1, 2, 0, 2, 3}, {}});
    w.CameraObject("Camera01", {0, 0, 2.5f * unit, 0, unit, 2.5f * unit, 0, 45});
    w.EndModel();
    return w.WriteFile(path);
}

struct Pose {
    double x = 0, y = 0, z = 0, heading = 0;
    std::string mode;
};

Pose ShotPose(const std::string& name, const std::string& model, const std::string& options) {
    const ProgramRun run =
        RunProgram(name, WALKTHROUGH_SHOT " --model " + model + " --print-pose --size 64 -o " +
                             name + ".png " + options);
    EXPECT_EQ(run.exitStatus, 0) << run.standardError;
    Pose pose;
    char mode[16] = {};
    EXPECT_EQ(std::sscanf(run.standardOutput.c_str(), "eye %lf %lf %lf heading %lf %15s", &pose.x,
                          &pose.y, &pose.z, &pose.heading, mode),
              5)
        << run.standardOutput;
    pose.mode = mode;
    return pose;
}

TEST(WalkShot, AWalkStopsAtAWallThatFlyingPassesThroughInAnyUnit) {
    for (const float unit : {1.0f, 100.0f}) {
        const std::string model = unit == 1.0f ? "yard-m.3ds" : "yard-cm.3ds";
        ASSERT_TRUE(WriteYard(model, unit));
        const std::string units = unit == 1.0f ? " --units m" : " --units cm";

        // Put down from the camera: the eye 1.6 m over the ground, where the camera stood.
        const Pose start = ShotPose("walk-start", model, "--walk" + units + " --frames 1");
        EXPECT_EQ(start.mode, "walking");
        EXPECT_NEAR(start.z / unit, 1.6, 0.01);
        EXPECT_NEAR(start.y / unit, 0.0, 0.03);
        EXPECT_NEAR(start.heading, 0.0, 1e-3);

        // Four seconds at a walk would be 5.6 m: the wall stops the body a radius short of it.
        const Pose stopped =
            ShotPose("walk-wall", model, "--walk" + units + " --hold w:1-300 --frames 300");
        EXPECT_NEAR(stopped.y / unit, 5.0 - 0.25, 0.02);
        EXPECT_NEAR(stopped.z / unit, 1.6, 0.01);

        // G at the first frame: flying, the walk-through's own camera, passes through.
        const Pose flown = ShotPose("walk-fly", model,
                                    "--walk" + units + " --hold g:1-1 --hold w:1-300 --frames 300");
        EXPECT_EQ(flown.mode, "flying");
        EXPECT_GT(flown.y / unit, 5.0);
    }
}

}  // namespace
