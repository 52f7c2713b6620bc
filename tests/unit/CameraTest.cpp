// The first-person camera: mouse look and keys while the window has the focus, the pointer
// held at the window's centre, and the view it hands to GLU.
#include <gtest/gtest.h>

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
    // The cursor calls of the last update, in order: "Get" or "Set x y".
    static std::vector<std::string> CursorCalls() {
        std::vector<std::string> calls;
        for (const fake::Call& call : fake::CallLog()) {
            if (call.name == "GetCursorScreenPosition") {
                calls.push_back("Get");
            } else if (call.name == "SetCursorScreenPosition") {
                calls.push_back("Set " + std::to_string(int(call.args[0])) + " " +
                                std::to_string(int(call.args[1])));
            }
        }
        return calls;
    }

    Scene scene{"no-such-model.3ds"};
};

TEST_F(Camera, TheFirstUpdateAtRestLooksDownMinusYFromEyeHeight) {
    Update({});

    // The scene put the pointer at (400, 300), the full-screen window's centre: it is read there.
    EXPECT_EQ(CursorCalls(), (std::vector<std::string>{"Get", "Set 400 300"}));
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

TEST_F(Camera, TheMouseTurnsAndTiltsFromTheWindowCentreAndIsPutBackThere) {
    fake::Fake().pointerHome = {512, 384};  // a window centred on a 1024x768 screen
    Update({}, {900, 10});                  // the pointer is first put at the centre: no turn
    EXPECT_EQ(CursorCalls(), (std::vector<std::string>{"Set 512 384", "Get", "Set 512 384"}));
    EXPECT_EQ(scene.yawDegrees, 180.0f);

    Update({}, {522, 379});

    EXPECT_EQ(CursorCalls(), (std::vector<std::string>{"Get", "Set 512 384"}));
    EXPECT_EQ(scene.yawDegrees, 182.0f);
    EXPECT_EQ(scene.pitch, 1.0f);
    EXPECT_EQ(LookAt()[5], 4.0);  // the look-at point raised by the pitch
}

TEST_F(Camera, WithoutTheFocusThePointerIsLeftAloneAndKeysCountAsReleased) {
    Update({});
    fake::Fake().inputFocus = false;

    Update({kKeyW, kKeyLeft, kKeyPageUp, kKeyShift}, {1000, 0});

    EXPECT_TRUE(CursorCalls().empty());
    EXPECT_EQ(fake::Fake().cursor.x, 1000);
    EXPECT_EQ(scene.yawDegrees, 180.0f);
    EXPECT_EQ(scene.pitch, 0.0f);
    ExpectLibmValues(
        LookAt(), {0.0, 15.0, 3.0, 0.0002535181590110747, -84.99999999967865, 3.0, 0.0, 0.0, 1.0});
}

TEST_F(Camera, RegainingTheFocusOrMovingTheWindowPutsThePointerAtTheCentreBeforeReading) {
    Update({});
    fake::Fake().inputFocus = false;
    Update({}, {1000, 0});
    fake::Fake().inputFocus = true;

    Update({}, {700, 100});  // where the user clicked back into the window
    EXPECT_EQ(CursorCalls(), (std::vector<std::string>{"Set 400 300", "Get", "Set 400 300"}));
    EXPECT_EQ(scene.yawDegrees, 180.0f);
    EXPECT_EQ(scene.pitch, 0.0f);

    fake::Fake().pointerHome = {450, 300};  // the window moved sideways
    Update({}, {400, 300});                 // the pointer where the old centre was
    EXPECT_EQ(CursorCalls(), (std::vector<std::string>{"Set 450 300", "Get", "Set 450 300"}));
    EXPECT_EQ(scene.yawDegrees, 180.0f);
}

TEST_F(Camera, AnUnreadableCursorLeavesTheViewAloneButKeysStillAct) {
    fake::Fake().cursorReadable = false;
    Update({kKeyW}, {1000, 0});  // what a stale position would say

    EXPECT_EQ(scene.yawDegrees, 180.0f);
    EXPECT_EQ(scene.pitch, 0.0f);
    EXPECT_EQ(scene.eye[1], 14.79999999702041);
    EXPECT_EQ(CursorCalls(), (std::vector<std::string>{"Get", "Set 400 300"}));
}

struct Course {
    const char* what;
    std::set<int> keys;
    CursorPoint cursor;
    int frames;
    float yawDegrees;
    float pitch;
    double x, y, z;
};

// One scene exists at a time (the mesh list is global), so each course gets its own.
TEST(CameraCourse, EachInputMovesTheCameraByItsStepPerFrame) {
    const CursorPoint rest{400, 300};
    // clang-format off
    const Course courses[] = {
        {"W", {kKeyW}, rest, 1, 180.0f, 0.0f, 5.070363255775793e-07, 14.79999999702041, 3.0},
        {"Up arrow", {kKeyUp}, rest, 1, 180.0f, 0.0f, 5.070363255775793e-07, 14.79999999702041, 3.0},
        {"W with Shift", {kKeyW, kKeyShift}, rest, 1, 180.0f, 0.0f, 2.028145302310317e-06,
         14.199999988081641, 3.0},
        {"W and Up arrow", {kKeyW, kKeyUp}, rest, 1, 180.0f, 0.0f, 1.0140726511551586e-06,
         14.599999994040822, 3.0},
        {"S", {kKeyS}, rest, 1, 180.0f, 0.0f, -5.070363255775793e-07, 15.20000000297959, 3.0},
        // Facing -y, left is +x and right is -x.
        {"A", {kKeyA}, rest, 1, 180.0f, 0.0f, 0.20000000297958953, 15.000000507036326, 3.0},
        {"D", {kKeyD}, rest, 1, 180.0f, 0.0f, -0.20000000297958953, 14.999999492963674, 3.0},
        // Shift speeds turning to 1.6 degrees a frame but leaves raising at 0.5.
        {"Shift, Left arrow, Page Up", {kKeyShift, kKeyLeft, kKeyPageUp}, rest, 1,
         178.39999389648438f, 0.0f, 0.0, 15.0, 3.5},
        {"Right arrow", {kKeyRight}, rest, 1, float(180.0 + 2 * 0.2f), 0.0f, 0.0, 15.0, 3.0},
        {"ten frames of Page Down", {kKeyPageDown}, rest, 10, 180.0f, 0.0f, 0.0, 15.0, -2.0},
        {"1100 pixels up", {}, {400, -800}, 1, 180.0f, 200.0f, 0.0, 15.0, 3.0},
        {"4700 pixels down", {}, {400, 5000}, 1, 180.0f, -200.0f, 0.0, 15.0, 3.0},
        // 20 degrees a frame; the heading is never wrapped.
        {"past 360 degrees", {}, {500, 300}, 10, 380.0f, 0.0f, 0.0, 15.0, 3.0},
        {"past -360 degrees", {}, {300, 300}, 30, -420.0f, 0.0f, 0.0, 15.0, 3.0},
    };
    // clang-format on
    for (const Course& course : courses) {
        SCOPED_TRACE(course.what);
        fake::Reset();
        Scene fresh("no-such-model.3ds");
        fake::Fake().heldKeys = course.keys;
        for (int frame = 0; frame < course.frames; ++frame) {
            fake::Fake().cursor = course.cursor;
            fresh.UpdateCamera();
        }
        EXPECT_EQ(fresh.yawDegrees, course.yawDegrees);
        EXPECT_EQ(fresh.pitch, course.pitch);
        ExpectLibmValue(fresh.eye[0], course.x);
        ExpectLibmValue(fresh.eye[1], course.y);
        EXPECT_EQ(fresh.eye[2], course.z);
        ExpectLibmValue(fake::CallsNamed("gluLookAt").back().args[5], course.z + course.pitch);
    }
}

}  // namespace
