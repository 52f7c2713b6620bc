// The course of the sunrise over the run.
#include <gtest/gtest.h>

#include "platform/fake/FakePlatform.h"
#include "render/SceneRenderer.h"

namespace {

struct SunriseAt {
    int frame;
    float sunAngle, sunGreenBlue, sunRed, fogEnd;
};

// Single-precision fields stepped in double precision: a step taken in float, or a constant
// taken in float, moves these values.
const SunriseAt kCourse[] = {
    // clang-format off
    {1, 10.029999732971191f, 0.05007777735590935f, 0.050388891249895096f, 100.88888549804688f},
    // Red's last own step; it then holds while green and blue catch up.
    {386, 21.580074310302734f, 0.08002177625894547f, 0.2001117318868637f, 443.10980224609375f},
    {1929, 67.86885833740234f, 0.20003826916217804f, 0.2001117318868637f, 1814.704833984375f},
    // From here red is a copy of green and blue.
    {1930, 67.89885711669922f, 0.20011605322360992f, 0.20011605322360992f, 1815.59375f},
    {4388, 141.6358642578125f, 0.3913092613220215f, 0.3913092613220215f, 4000.54931640625f},
    {4500, 144.9957275390625f, 0.4000210762023926f, 0.4000210762023926f, 4000.54931640625f},
    // The light's last step; nothing moves after it.
    {4501, 145.02572631835938f, 0.4000210762023926f, 0.4000210762023926f, 4000.54931640625f},
    {4600, 145.02572631835938f, 0.4000210762023926f, 0.4000210762023926f, 4000.54931640625f},
    // clang-format on
};

TEST(Frame, TheSunriseFollowsItsCourseAndThenHolds) {
    fake::Reset();
    SceneRenderer renderer("no-such-model.3ds");
    int frame = 0;
    for (const SunriseAt& row : kCourse) {
        for (; frame < row.frame; ++frame) {
            renderer.RenderFrame();
        }
        EXPECT_EQ((std::vector<float>{renderer.sunAngle, renderer.sunGreenBlue, renderer.sunRed,
                                      renderer.fogEnd}),
                  (std::vector<float>{row.sunAngle, row.sunGreenBlue, row.sunRed, row.fogEnd}))
            << "frame " << frame;
    }
}

// walkthrough-shot passes over the frames before the last without drawing them: such a frame
// moves the camera and the sun as a drawn one does.
TEST(Frame, AFrameAdvancedWithoutDrawingMovesAsADrawnOne) {
    const auto after30 = [](bool draw) {
        fake::Reset();
        fake::Fake().heldKeys = {platform::kKeyW, platform::kKeyA};
        SceneRenderer renderer("no-such-model.3ds");
        for (int frame = 0; frame < 30; ++frame) {
            draw ? static_cast<void>(renderer.RenderFrame()) : renderer.AdvanceFrame();
        }
        return std::vector<double>{renderer.scene.eye[0], renderer.scene.eye[1], renderer.sunAngle};
    };
    const std::vector<double> passed = after30(false);
    EXPECT_NE(passed[1], 15.0) << "the eye walked";
    EXPECT_EQ(passed, after30(true));
}

}  // namespace
