// The first-person camera: mouse look, keys and the view it hands to GLU.
#include <gtest/gtest.h>

#include <cmath>

#include "platform/fake/FakePlatform.h"
#include "scene/Scene.h"
#include "tests/support/LibmValue.h"

namespace {

using namespace platform;

class Camera : public ::testing::Test {
protected:
    void SetUp() override { fake::Reset(); }

    // One update with these keys held and the cursor where the user left it.
    void Update(std::set<int> keys, CursorPoint cursor = {400, 300}) {
        fake::Fake().heldKeys = std::move(keys);
        fake::Fake().cursor = cursor;
        fake::CallLog().clear();
        EXPECT_EQ(scene.UpdateCamera(), 1);
    }
    std::vector<double> LookAt() const { return fake::CallsNamed("gluLookAt").back().args; }

    Scene scene{"no-such-model.3ds"};
};

TEST_F(Camera, TheFirstUpdateAtRestLooksDownMinusYFromEyeHeight) {
    Update({});

    EXPECT_EQ(scene.yawDegrees, 180.0f);
    EXPECT_EQ(scene.yaw, 3.141590118408203f);
    EXPECT_EQ(scene.eye[0], 0.0);
    EXPECT_EQ(scene.eye[1], 15.0);
    EXPECT_EQ(scene.eye[2], 3.0);
    ExpectLibmValue(scene.target[0], 0.0002535181590110747);
    ExpectLibmValue(scene.target[1], -84.99999999967865);
    ExpectLibmValues(
        LookAt(), {0.0, 15.0, 3.0, 0.0002535181590110747, -84.99999999967865, 3.0, 0.0, 0.0, 1.0});
}

TEST_F(Camera, TheMouseTurnsAndTiltsFromTheCentreAndIsPutBack) {
    Update({}, {410, 295});

    EXPECT_EQ(scene.yawDegrees, 182.0f);
    EXPECT_EQ(scene.pitch, 1.0f);
    EXPECT_EQ(fake::Fake().cursor.x, 400);
    EXPECT_EQ(fake::Fake().cursor.y, 300);
    EXPECT_EQ(LookAt()[5], 4.0);  // the look-at point raised by the pitch
}

TEST_F(Camera, PitchSaturatesAtPlusAndMinus200) {
    Update({}, {400, -800});  // 1100 pixels up: 220 units
    EXPECT_EQ(scene.pitch, 200.0f);
    Update({}, {400, 310});
    EXPECT_EQ(scene.pitch, 198.0f);
    Update({}, {400, 5000});
    EXPECT_EQ(scene.pitch, -200.0f);
}

TEST_F(Camera, AnUnreadableCursorLeavesTheViewAloneButKeysStillAct) {
    fake::Fake().cursorReadable = false;
    Update({kKeyW}, {1000, 0});  // what a stale position would say

    EXPECT_EQ(scene.yawDegrees, 180.0f);
    EXPECT_EQ(scene.pitch, 0.0f);
    EXPECT_EQ(scene.eye[1], 14.79999999702041);
    EXPECT_EQ(fake::CallsNamed("SetCursorScreenPosition").size(), 1u);
}

struct Walk {
    const char* what;
    std::set<int> keys;
    double x;
    double y;
};

// One scene exists at a time (the mesh list is global), so each walk gets its own.
TEST(CameraWalk, WalkingKeysMoveOneStepEachAndShiftMakesItFour) {
    const Walk walks[] = {
        {"W", {kKeyW}, 5.070363255775793e-07, 14.79999999702041},
        {"Up arrow", {kKeyUp}, 5.070363255775793e-07, 14.79999999702041},
        {"W with Shift", {kKeyW, kKeyShift}, 2.028145302310317e-06, 14.199999988081641},
        {"W and Up arrow", {kKeyW, kKeyUp}, 1.0140726511551586e-06, 14.599999994040822},
        {"S", {kKeyS}, -5.070363255775793e-07, 15.20000000297959},
        // Facing -y, left is +x and right is -x.
        {"A", {kKeyA}, 0.20000000297958953, 15.000000507036326},
        {"D", {kKeyD}, -0.20000000297958953, 14.999999492963674},
    };
    for (const Walk& walk : walks) {
        SCOPED_TRACE(walk.what);
        fake::Reset();
        Scene fresh("no-such-model.3ds");
        fake::Fake().heldKeys = walk.keys;
        fresh.UpdateCamera();
        ExpectLibmValue(fresh.eye[0], walk.x);
        ExpectLibmValue(fresh.eye[1], walk.y);
        EXPECT_EQ(fresh.eye[2], 3.0);
    }
}

TEST_F(Camera, ShiftSpeedsTurningButNotRaising) {
    Update({kKeyShift, kKeyLeft, kKeyPageUp});
    EXPECT_EQ(scene.yawDegrees, 178.39999389648438f);  // 1.6 degrees
    EXPECT_EQ(scene.heightOffset, 0.5f);
    EXPECT_EQ(scene.eye[2], 3.5);

    Update({kKeyRight});
    EXPECT_EQ(scene.yawDegrees, static_cast<float>(178.39999389648438 + 2 * 0.2f));
}

TEST_F(Camera, TenPageDownsPutTheEyeBelowTheGround) {
    for (int frame = 0; frame < 10; ++frame) {
        Update({kKeyPageDown});
    }
    EXPECT_EQ(scene.eye[2], -2.0);
    EXPECT_EQ(LookAt()[2], -2.0);
}

TEST_F(Camera, TheHeadingIsNeverWrapped) {
    // 100 pixels right per frame turns 20 degrees a frame.
    for (int frame = 0; frame < 10; ++frame) {
        Update({}, {500, 300});
    }
    EXPECT_EQ(scene.yawDegrees, 380.0f);
    const double yaw = scene.yaw;
    EXPECT_NEAR(scene.target[0] - scene.eye[0], std::sin(yaw) * 100.0, 1e-9);
    EXPECT_GT(scene.target[0], scene.eye[0]);  // 20 degrees right of +y

    for (int frame = 0; frame < 40; ++frame) {
        Update({}, {300, 300});
    }
    EXPECT_EQ(scene.yawDegrees, -420.0f);
}

}  // namespace
