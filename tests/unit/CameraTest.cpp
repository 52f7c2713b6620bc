// The first-person camera: mouse look and keys while the window has the focus, the pointer
// held at the window's centre, and the view it hands to GLU.
#include <gtest/gtest.h>

#include "platform/fake/FakePlatform.h"
#include "scene/Scene.h"
#include "tests/support/CallChecks.h"

namespace {

using namespace platform;

const std::string kGet = "GetCursorScreenPosition";
const std::string kSet = "SetCursorScreenPosition 512 384";  // a window centred on 1024x768

std::vector<double> LookAt() {
    return fake::CallsNamed("gluLookAt").back().args;
}

// One scene through the ways the pointer is taken, read, and left alone.
TEST(Camera, ThePointerIsReadFromTheWindowCentreWithTheFocusOnlyAndPutBackThere) {
    fake::Reset();
    Scene scene("no-such-model.3ds");
    // The cursor calls of one update, which ends with the view.
    const auto update = [&scene] {
        fake::CallLog().clear();
        EXPECT_EQ(scene.UpdateCamera(), 1);
        Lines calls = LoggedCalls();
        calls.pop_back();
        return calls;
    };
    // At rest, looking down -y from eye height; the scene put the pointer at the full-screen
    // window's centre, and it is read there.
    EXPECT_EQ(update(), (Lines{kGet, "SetCursorScreenPosition 400 300"}));
    EXPECT_EQ(scene.yaw, 3.141590118408203f);
    ExpectNear(LookAt(), {0, 15, 3, 0.0002535181590110747, -84.99999999967865, 3, 0, 0, 1});

    const struct {
        const char* what;
        bool focus, readable;
        CursorPoint cursor;
        std::set<int> keys;
        Lines cursorCalls;
        float yawDegrees, pitch;
        bool moves;
    } steps[] = {
        // clang-format off
        // The window is elsewhere: the pointer goes to its centre before it is read.
        {"moved", true, true, {900, 10}, {}, {kSet, kGet, kSet}, 180, 0, false},
        {"turned", true, true, {522, 379}, {}, {kGet, kSet}, 182, 1, false},
        // Another program's pointer is left alone, and held keys count as released.
        {"unfocused", false, true, {1000, 0}, {kKeyW, kKeyLeft, kKeyPageUp, kKeyShift}, {}, 182, 1,
         false},
        // Where the user clicked back into the window does not turn the view.
        {"refocused", true, true, {700, 100}, {}, {kSet, kGet, kSet}, 182, 1, false},
        // What a stale position would say is not believed; the keys still act.
        {"unreadable", true, false, {1000, 0}, {kKeyW}, {kGet, kSet}, 182, 1, true},
        // clang-format on
    };
    fake::Fake().pointerHome = {512, 384};
    for (const auto& step : steps) {
        SCOPED_TRACE(step.what);
        fake::Fake().inputFocus = step.focus;
        fake::Fake().cursorReadable = step.readable;
        fake::Fake().cursor = step.cursor;
        fake::Fake().heldKeys = step.keys;
        const std::vector<double> before = LookAt();
        EXPECT_EQ(update(), step.cursorCalls);
        EXPECT_EQ(scene.yawDegrees, step.yawDegrees);
        EXPECT_EQ(scene.pitch, step.pitch);
        EXPECT_EQ(LookAt()[5], scene.eye[2] + scene.pitch);  // the look-at point raised by it
        EXPECT_EQ(!std::equal(before.begin(), before.begin() + 3, LookAt().begin()), step.moves);
    }
}

// One scene exists at a time (the mesh list is global), so each course gets its own.
TEST(Camera, EachInputMovesTheCameraByItsStepPerFrame) {
    const CursorPoint rest{400, 300};
    const struct {
        const char* what;
        std::set<int> keys;
        CursorPoint cursor;
        int frames;
        float yawDegrees, pitch;
        double x, y, z;
    } courses[] = {
        // clang-format off
        {"W and Up arrow", {kKeyW, kKeyUp}, rest, 1, 180, 0, 1.0140726511551586e-06,
         14.599999994040822, 3},
        {"S and Down arrow", {kKeyS, kKeyDown}, rest, 1, 180, 0, -1.0140726511551586e-06,
         15.400000005959178, 3},
        {"W with Shift", {kKeyW, kKeyShift}, rest, 1, 180, 0, 2.028145302310317e-06,
         14.199999988081641, 3},
        // Facing -y, left is +x and right is -x.
        {"A", {kKeyA}, rest, 1, 180, 0, 0.20000000297958953, 15.000000507036326, 3},
        {"D", {kKeyD}, rest, 1, 180, 0, -0.20000000297958953, 14.999999492963674, 3},
        // Shift speeds turning to 1.6 degrees a frame but leaves raising at 0.5.
        {"Shift, Left arrow, Page Up", {kKeyShift, kKeyLeft, kKeyPageUp}, rest, 1,
         178.39999389648438f, 0, 0, 15, 3.5},
        // Ten turns of 0.4 degrees, each rounded to single precision.
        {"Right arrow, Page Down", {kKeyRight, kKeyPageDown}, rest, 10, 183.99993896484375f, 0, 0,
         15, -2},
        // 20 degrees a frame, never wrapped; the pitch is held to 200 either way.
        {"right and up", {}, {500, -800}, 10, 380, 200, 0, 15, 3},
        {"left and down", {}, {300, 5000}, 30, -420, -200, 0, 15, 3},
        // clang-format on
    };
    for (const auto& course : courses) {
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
        ExpectNear({fresh.eye[0], fresh.eye[1], fresh.eye[2], LookAt()[5]},
                   {course.x, course.y, course.z, course.z + course.pitch});
    }
}

}  // namespace
