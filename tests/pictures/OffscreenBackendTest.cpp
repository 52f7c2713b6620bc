// The headless backend through the seam, as the renderer and camera use it.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <vector>

#include "platform/Platform.h"
#include "platform/offscreen/OffscreenContext.h"
#include "platform/offscreen/OffscreenScript.h"

namespace {

using platform::offscreen::BeginFrame;
using platform::offscreen::InputScript;
using platform::offscreen::UseScript;

platform::PixelFormatRequest ProgramRequest() {
    platform::PixelFormatRequest request;
    request.size = 40;
    request.version = 1;
    request.flags =
        platform::kPixelDrawToWindow | platform::kPixelSupportOpenGL | platform::kPixelDoubleBuffer;
    request.colorBits = 16;
    request.depthBits = 16;
    return request;
}

platform::CursorPoint Cursor() {
    platform::CursorPoint point;
    EXPECT_TRUE(platform::GetCursorScreenPosition(point));
    return point;
}

TEST(OffscreenInput, PlaysHeldKeysFrameByFrame) {
    InputScript script;
    script.Hold(platform::kKeyW, 2, 3);
    script.Hold(platform::kKeyShift, 3, 3);
    UseScript(script);
    const struct {
        int frame;
        bool w;
        bool shift;
    } kExpected[] = {{1, false, false}, {2, true, false}, {3, true, true}, {4, false, false}};
    for (const auto& expected : kExpected) {
        BeginFrame(expected.frame);
        EXPECT_EQ(platform::IsKeyHeld(platform::kKeyW), expected.w) << expected.frame;
        EXPECT_EQ(platform::IsKeyHeld(platform::kKeyShift), expected.shift) << expected.frame;
        EXPECT_FALSE(platform::IsKeyHeld(platform::kKeyS)) << expected.frame;
    }
    UseScript(InputScript{});
}

TEST(OffscreenInput, CursorStandsAtTheOffsetOnlyOnItsFrame) {
    InputScript script;
    script.MoveCursor(10, -5, 2);
    UseScript(script);
    platform::SetCursorScreenPosition(400, 300);

    BeginFrame(1);
    EXPECT_EQ(Cursor().x, 400);
    EXPECT_EQ(Cursor().y, 300);
    BeginFrame(2);
    EXPECT_EQ(Cursor().x, 410);
    EXPECT_EQ(Cursor().y, 295);
    platform::SetCursorScreenPosition(400, 300);  // as the camera re-centres it
    BeginFrame(3);
    EXPECT_EQ(Cursor().x, 400);
    EXPECT_EQ(Cursor().y, 300);
    UseScript(InputScript{});
}

class OffscreenContext : public ::testing::Test {
protected:
    void TearDown() override {
        if (context_ != nullptr) {
            platform::MakeContextCurrent(platform::offscreen::Device(), nullptr);
            platform::DeleteRenderContext(context_);
        }
        platform::offscreen::Shutdown();
        platform::offscreen::SetFramebufferSize(800, 600);
    }

    // Creates and binds a context as SceneRenderer::CreateContext does.
    void MakeCurrent(int width, int height) {
        ASSERT_TRUE(platform::offscreen::SetFramebufferSize(width, height));
        const platform::DeviceContext dc = platform::offscreen::Device();
        const int format = platform::ChoosePixelFormat(dc, ProgramRequest());
        ASSERT_NE(format, 0) << platform::offscreen::LastError();
        ASSERT_TRUE(platform::SetPixelFormat(dc, format, ProgramRequest()));
        context_ = platform::CreateRenderContext(dc);
        ASSERT_NE(context_, nullptr) << platform::offscreen::LastError();
        ASSERT_TRUE(platform::MakeContextCurrent(dc, context_)) << platform::offscreen::LastError();
        ASSERT_TRUE(platform::offscreen::ReadyToDraw());
    }

    platform::RenderContext context_ = nullptr;
};

TEST_F(OffscreenContext, ReadsBackTheFramebufferTopRowFirst) {
    MakeCurrent(32, 16);
    glClearColor(0.0f, 0.0f, 1.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    // GL's upper half, rows 8 to 15 counted from the bottom, in red.
    glEnable(GL_SCISSOR_TEST);
    glScissor(0, 8, 32, 8);
    glClearColor(1.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glDisable(GL_SCISSOR_TEST);
    EXPECT_TRUE(platform::SwapFrontAndBack(platform::offscreen::Device()));

    std::vector<std::uint8_t> rgb;
    int width = 0;
    int height = 0;
    ASSERT_TRUE(platform::offscreen::ReadFrame(rgb, width, height));
    ASSERT_EQ(width, 32);
    ASSERT_EQ(height, 16);
    ASSERT_EQ(rgb.size(), 32u * 16u * 3u);
    const std::vector<std::uint8_t> red = {255, 0, 0};
    const std::vector<std::uint8_t> blue = {0, 0, 255};
    const auto pixel = [&](int x, int y) {
        const std::size_t at = (static_cast<std::size_t>(y) * 32 + x) * 3;
        return std::vector<std::uint8_t>(rgb.begin() + at, rgb.begin() + at + 3);
    };
    EXPECT_EQ(pixel(0, 0), red);
    EXPECT_EQ(pixel(31, 7), red);
    EXPECT_EQ(pixel(0, 8), blue);
    EXPECT_EQ(pixel(31, 15), blue);
}

TEST_F(OffscreenContext, HasTheDepthBufferTheProgramAskedFor) {
    MakeCurrent(8, 8);
    GLint depthBits = 0;
    glGetIntegerv(GL_DEPTH_BITS, &depthBits);
    EXPECT_GE(depthBits, 16);
    GLint viewport[4] = {0, 0, 0, 0};
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], 8);
    EXPECT_EQ(viewport[3], 8);
}

TEST_F(OffscreenContext, UnboundOrDeletedContextCannotBeRead) {
    MakeCurrent(8, 8);
    ASSERT_TRUE(platform::MakeContextCurrent(platform::offscreen::Device(), nullptr));
    EXPECT_FALSE(platform::offscreen::ReadyToDraw());
    std::vector<std::uint8_t> rgb;
    int width = 0;
    int height = 0;
    EXPECT_FALSE(platform::offscreen::ReadFrame(rgb, width, height));
    EXPECT_TRUE(platform::DeleteRenderContext(context_));
    EXPECT_FALSE(platform::DeleteRenderContext(context_));  // a second time
    EXPECT_FALSE(platform::MakeContextCurrent(platform::offscreen::Device(), context_));
    context_ = nullptr;
}

TEST(OffscreenPixelFormat, RefusesWhatItCannotGive) {
    const platform::DeviceContext dc = platform::offscreen::Device();
    platform::PixelFormatRequest stencil = ProgramRequest();
    stencil.stencilBits = 8;
    platform::PixelFormatRequest deep = ProgramRequest();
    deep.depthBits = 32;
    platform::PixelFormatRequest colorIndex = ProgramRequest();
    colorIndex.pixelType = 1;
    EXPECT_EQ(platform::ChoosePixelFormat(dc, stencil), 0);
    EXPECT_EQ(platform::ChoosePixelFormat(dc, deep), 0);
    EXPECT_EQ(platform::ChoosePixelFormat(dc, colorIndex), 0);
    EXPECT_EQ(platform::ChoosePixelFormat(nullptr, ProgramRequest()), 0);
    EXPECT_FALSE(platform::offscreen::LastError().empty());
    EXPECT_FALSE(platform::offscreen::SetFramebufferSize(0, 10));
    EXPECT_FALSE(platform::offscreen::SetFramebufferSize(10, 5000));
}

}  // namespace
