// One frame call by call, and the course of the sunrise over the run.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include "platform/fake/FakePlatform.h"
#include "render/SceneRenderer.h"
#include "tests/support/LibmValue.h"

namespace {

class Frame : public ::testing::Test {
protected:
    void SetUp() override { fake::Reset(); }
};

struct SunriseAt {
    int frame;
    float sunAngle;
    float sunGreenBlue;
    float sunRed;
    float fogEnd;
    float lightX;
    float lightZ;
};

// Single-precision fields stepped in double precision: a step taken in float, or a constant
// taken in float, moves these values.
const SunriseAt kCourse[] = {
    {1, 10.029999732971191f, 0.05007777735590935f, 0.050388891249895096f, 100.88888549804688f,
     -5908.30029296875f, 1044.98193359375f},
    // Red's last own step; it then holds while green and blue catch up.
    {386, 21.580074310302734f, 0.08002177625894547f, 0.2001117318868637f, 443.10980224609375f,
     -5579.42724609375f, 2206.805419921875f},
    {387, 21.610074996948242f, 0.08009955286979675f, 0.2001117318868637f, 443.9986877441406f,
     -5578.27099609375f, 2209.7265625f},
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

TEST_F(Frame, TheSunriseFollowsItsCourseAndThenHolds) {
    SceneRenderer renderer("no-such-model.3ds");
    int frame = 0;
    for (const SunriseAt& expected : kCourse) {
        while (frame < expected.frame) {
            fake::CallLog().clear();
            renderer.RenderFrame();
            ++frame;
        }
        SCOPED_TRACE(frame);
        EXPECT_EQ(renderer.sunAngle, expected.sunAngle);
        EXPECT_EQ(renderer.sunGreenBlue, expected.sunGreenBlue);
        EXPECT_EQ(renderer.sunRed, expected.sunRed);
        EXPECT_EQ(renderer.fogEnd, expected.fogEnd);

        const auto lights = fake::CallsNamed("glLightfv");
        ASSERT_EQ(lights.size(), 3u);
        EXPECT_EQ(lights[0].args,
                  (std::vector<double>{GL_LIGHT0, GL_AMBIENT, expected.sunRed,
                                       expected.sunGreenBlue, expected.sunGreenBlue, 1.0}));
        EXPECT_EQ(lights[1].args,
                  (std::vector<double>{GL_LIGHT0, GL_DIFFUSE, expected.sunRed,
                                       expected.sunGreenBlue, expected.sunGreenBlue, 1.0}));
        EXPECT_EQ(lights[2].args, (std::vector<double>{GL_LIGHT0, GL_POSITION, expected.lightX,
                                                       600.0, expected.lightZ, 1.0}));
        const auto fogEnd = fake::CallsNamed("glFogf").back();
        EXPECT_EQ(fogEnd.args, (std::vector<double>{GL_FOG_END, expected.fogEnd}));
    }
}

TEST_F(Frame, OneFrameSetsLightAndFogAfterTheViewAndPresents) {
    SceneRenderer renderer("no-such-model.3ds");
    fake::CallLog().clear();

    EXPECT_EQ(renderer.RenderFrame(), 1);

    const float ambient[] = {0.050388891249895096f, 0.05007777735590935f, 0.05007777735590935f,
                             1.0f};
    const std::vector<double> colour(ambient, ambient + 4);
    auto with = [](std::vector<double> head, const std::vector<double>& tail) {
        head.insert(head.end(), tail.begin(), tail.end());
        return head;
    };
    const std::vector<std::pair<std::string, std::vector<double>>> expected = {
        {"glClearColor", {0.0, 0.0, 0.30000001192092896, 1.0}},
        {"glClear", {GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT}},
        {"glMatrixMode", {GL_MODELVIEW}},
        {"glLoadIdentity", {}},
        {"GetCursorScreenPosition", {}},
        {"SetCursorScreenPosition", {400, 300}},
        {"gluLookAt",
         {0.0, 15.0, 3.0, 0.0002535181590110747, -84.99999999967865, 3.0, 0.0, 0.0, 1.0}},
        {"glLightfv", with({GL_LIGHT0, GL_AMBIENT}, colour)},
        {"glLightfv", with({GL_LIGHT0, GL_DIFFUSE}, colour)},
        {"glLightfv", {GL_LIGHT0, GL_POSITION, -5908.30029296875, 600.0, 1044.98193359375, 1.0}},
        {"glLightModelfv", with({GL_LIGHT_MODEL_AMBIENT}, colour)},
        {"glEnable", {GL_COLOR_MATERIAL}},
        {"glColorMaterial", {GL_FRONT, GL_AMBIENT_AND_DIFFUSE}},
        {"glEnable", {GL_LIGHTING}},
        {"glEnable", {GL_LIGHT0}},
        {"glEnable", {GL_FOG}},
        {"glFogi", {GL_FOG_MODE, GL_LINEAR}},
        {"glFogfv", {GL_FOG_COLOR, 0.0, 0.0, 0.0, 1.0}},
        {"glFogf", {GL_FOG_START, 1.0}},
        {"glFogf", {GL_FOG_END, 100.88888549804688}},
        {"glHint", {GL_FOG_HINT, GL_FASTEST}},
        {"glFlush", {}},
        {"SwapFrontAndBack", {}},
    };
    const auto& log = fake::CallLog();
    ASSERT_EQ(log.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(log[i].name, expected[i].first);
        ExpectLibmValues(log[i].args, expected[i].second);
    }
}

}  // namespace
