// One frame call by call, and the course of the sunrise over the run.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include "platform/fake/FakePlatform.h"
#include "render/SceneRenderer.h"
#include "tests/support/LibmValue.h"

namespace {

struct SunriseAt {
    int frame;
    float sunAngle, sunGreenBlue, sunRed, fogEnd, lightX, lightZ;
};

// Single-precision fields stepped in double precision: a step taken in float, or a constant
// taken in float, moves these values.
const SunriseAt kCourse[] = {
    {1, 10.029999732971191f, 0.05007777735590935f, 0.050388891249895096f, 100.88888549804688f,
     -5908.30029296875f, 1044.98193359375f},
    // Red's last own step; it then holds while green and blue catch up.
    {386, 21.580074310302734f, 0.08002177625894547f, 0.2001117318868637f, 443.10980224609375f,
     -5579.42724609375f, 2206.805419921875f},
    {1929, 67.86885833740234f, 0.20003826916217804f, 0.2001117318868637f, 1814.704833984375f,
     -2260.372314453125f, 5557.94189453125f},
    // From here red is a copy of green and blue.
    {1930, 67.89885711669922f, 0.20011605322360992f, 0.20011605322360992f, 1815.59375f,
     -2257.4619140625f, 5559.12451171875f},
    {2667, 90.0079574584961f, 0.2574428915977478f, 0.2574428915977478f, 2470.724853515625f,
     0.8253416419029236f, 6000.0f},
    {4388, 141.6358642578125f, 0.3913092613220215f, 0.3913092613220215f, 4000.54931640625f,
     4704.48486328125f, 3723.952392578125f},
    {4500, 144.9957275390625f, 0.4000210762023926f, 0.4000210762023926f, 4000.54931640625f,
     4914.6484375f, 3441.835693359375f},
    {4501, 145.02572631835938f, 0.4000210762023926f, 0.4000210762023926f, 4000.54931640625f,
     4916.44970703125f, 3439.261962890625f},
    {10000, 145.02572631835938f, 0.4000210762023926f, 0.4000210762023926f, 4000.54931640625f,
     4916.44970703125f, 3439.261962890625f},
};

// The frame's own calls; the camera's reading of the pointer is the camera tests' business.
std::vector<fake::Call> FrameCalls() {
    std::vector<fake::Call> calls;
    for (const fake::Call& call : fake::CallLog()) {
        if (call.name.rfind("gl", 0) == 0 || call.name == "SwapFrontAndBack") {
            calls.push_back(call);
        }
    }
    return calls;
}

TEST(Frame, TheSunriseFollowsItsCourseAndThenHolds) {
    fake::Reset();
    SceneRenderer renderer("no-such-model.3ds");
    int frame = 0;
    for (const SunriseAt& row : kCourse) {
        for (; frame < row.frame; ++frame) {
            fake::CallLog().clear();
            renderer.RenderFrame();
        }
        SCOPED_TRACE(frame);
        EXPECT_EQ(renderer.sunAngle, row.sunAngle);
        EXPECT_EQ(renderer.sunGreenBlue, row.sunGreenBlue);
        EXPECT_EQ(renderer.sunRed, row.sunRed);
        EXPECT_EQ(renderer.fogEnd, row.fogEnd);
        EXPECT_EQ(
            fake::CallsNamed("glLightfv").at(2).args,
            (std::vector<double>{GL_LIGHT0, GL_POSITION, row.lightX, 600.0, row.lightZ, 1.0}));
    }
}

// Light and fog are given after the view and before the model, which is absent here.
TEST(Frame, OneFrameSetsLightAndFogAfterTheViewAndPresents) {
    fake::Reset();
    SceneRenderer renderer("no-such-model.3ds");
    fake::CallLog().clear();

    EXPECT_EQ(renderer.RenderFrame(), 1);

    const SunriseAt& first = kCourse[0];
    const auto colour = [&](std::vector<double> head) {
        head.insert(head.end(), {first.sunRed, first.sunGreenBlue, first.sunGreenBlue, 1.0});
        return head;
    };
    const Scene& view = renderer.scene;
    ExpectCalls(FrameCalls(),
                {
                    {"glClearColor", {0.0, 0.0, 0.30000001192092896, 1.0}},
                    {"glClear", {GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT}},
                    {"glMatrixMode", {GL_MODELVIEW}},
                    {"glLoadIdentity", {}},
                    {"gluLookAt",
                     {view.eye[0], view.eye[1], view.eye[2], view.target[0], view.target[1],
                      view.target[2], 0.0, 0.0, 1.0}},
                    {"glLightfv", colour({GL_LIGHT0, GL_AMBIENT})},
                    {"glLightfv", colour({GL_LIGHT0, GL_DIFFUSE})},
                    {"glLightfv", {GL_LIGHT0, GL_POSITION, first.lightX, 600.0, first.lightZ, 1.0}},
                    {"glLightModelfv", colour({GL_LIGHT_MODEL_AMBIENT})},
                    {"glEnable", {GL_COLOR_MATERIAL}},
                    {"glColorMaterial", {GL_FRONT, GL_AMBIENT_AND_DIFFUSE}},
                    {"glEnable", {GL_LIGHTING}},
                    {"glEnable", {GL_LIGHT0}},
                    {"glEnable", {GL_FOG}},
                    {"glFogi", {GL_FOG_MODE, GL_LINEAR}},
                    {"glFogfv", {GL_FOG_COLOR, 0.0, 0.0, 0.0, 1.0}},
                    {"glFogf", {GL_FOG_START, 1.0}},
                    {"glFogf", {GL_FOG_END, first.fogEnd}},
                    {"glHint", {GL_FOG_HINT, GL_FASTEST}},
                    {"glFlush", {}},
                    {"SwapFrontAndBack", {}},
                });
}

}  // namespace
