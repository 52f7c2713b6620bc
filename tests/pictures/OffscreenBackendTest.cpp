// The headless backend through the seam, as the renderer and camera use it.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <vector>

#include "platform/Platform.h"
#include "platform/offscreen/OffscreenContext.h"
#include "platform/offscreen/OffscreenScript.h"

namespace {

namespace offscreen = platform::offscreen;

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

// Keys are held over their frames only; a cursor move stands at its offset on its frame, and
// the camera puts the cursor back after reading it.
TEST(OffscreenInput, PlaysTheScriptFrameByFrame) {
    offscreen::InputScript script;
    script.Hold(platform::kKeyW, 2, 3);
    script.Hold(platform::kKeyShift, 3, 3);
    script.MoveCursor(10, -5, 2);
    offscreen::UseScript(script);
    const struct {
        int frame;
        bool w, shift;
        int x, y;
    } kFrames[] = {{1, false, false, 400, 300},
                   {2, true, false, 410, 295},
                   {3, true, true, 400, 300},
                   {4, false, false, 400, 300}};
    for (const auto& expected : kFrames) {
        SCOPED_TRACE(expected.frame);
        platform::SetCursorScreenPosition(400, 300);
        offscreen::BeginFrame(expected.frame);
        EXPECT_EQ(platform::IsKeyHeld(platform::kKeyW), expected.w);
        EXPECT_EQ(platform::IsKeyHeld(platform::kKeyShift), expected.shift);
        EXPECT_FALSE(platform::IsKeyHeld(platform::kKeyS));
        platform::CursorPoint cursor;
        ASSERT_TRUE(platform::GetCursorScreenPosition(cursor));
        EXPECT_EQ(cursor.x, expected.x);
        EXPECT_EQ(cursor.y, expected.y);
    }
    offscreen::UseScript(offscreen::InputScript{});
}

// Creates and binds a context as SceneRenderer::CreateContext does.
platform::RenderContext MakeCurrent(int width, int height) {
    const platform::DeviceContext dc = offscreen::Device();
    EXPECT_TRUE(offscreen::SetFramebufferSize(width, height));
    const int format = platform::ChoosePixelFormat(dc, ProgramRequest());
    EXPECT_NE(format, 0) << offscreen::LastError();
    EXPECT_TRUE(platform::SetPixelFormat(dc, format, ProgramRequest()));
    const platform::RenderContext context = platform::CreateRenderContext(dc);
    EXPECT_TRUE(platform::MakeContextCurrent(dc, context)) << offscreen::LastError();
    EXPECT_TRUE(offscreen::ReadyToDraw());
    return context;
}

// GL counts rows from the bottom; the picture read back has its top row first.
TEST(OffscreenContext, DrawsWithADepthBufferAndReadsBackTopRowFirst) {
    const platform::RenderContext context = MakeCurrent(32, 16);
    ASSERT_NE(context, nullptr);
    GLint depthBits = 0, viewport[4] = {0, 0, 0, 0};
    glGetIntegerv(GL_DEPTH_BITS, &depthBits);
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_GE(depthBits, 16);
    EXPECT_EQ(viewport[2], 32);
    EXPECT_EQ(viewport[3], 16);
    glClearColor(0.0f, 0.0f, 1.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glEnable(GL_SCISSOR_TEST);
    glScissor(0, 8, 32, 8);  // GL's upper half in red
    glClearColor(1.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glDisable(GL_SCISSOR_TEST);
    EXPECT_TRUE(platform::SwapFrontAndBack(offscreen::Device()));

    std::vector<std::uint8_t> rgb;
    int width = 0, height = 0;
    ASSERT_TRUE(offscreen::ReadFrame(rgb, width, height));
    ASSERT_EQ(width, 32);
    ASSERT_EQ(height, 16);
    ASSERT_EQ(rgb.size(), 32u * 16u * 3u);
    const auto pixel = [&](int x, int y) {
        const std::size_t at = (static_cast<std::size_t>(y) * 32 + x) * 3;
        return std::vector<int>(rgb.begin() + at, rgb.begin() + at + 3);
    };
    const std::vector<int> red = {255, 0, 0}, blue = {0, 0, 255};
    EXPECT_EQ(pixel(0, 0), red);
    EXPECT_EQ(pixel(31, 7), red);
    EXPECT_EQ(pixel(0, 8), blue);
    EXPECT_EQ(pixel(31, 15), blue);

    // Unbound, or deleted, the context can no longer be read or bound.
    ASSERT_TRUE(platform::MakeContextCurrent(offscreen::Device(), nullptr));
    EXPECT_FALSE(offscreen::ReadyToDraw());
    EXPECT_FALSE(offscreen::ReadFrame(rgb, width, height));
    EXPECT_TRUE(platform::DeleteRenderContext(context));
    EXPECT_FALSE(platform::DeleteRenderContext(context));
    EXPECT_FALSE(platform::MakeContextCurrent(offscreen::Device(), context));
    offscreen::Shutdown();
    offscreen::SetFramebufferSize(800, 600);
}

TEST(OffscreenPixelFormat, RefusesWhatItCannotGive) {
    std::vector<platform::PixelFormatRequest> refused(3, ProgramRequest());
    refused[0].stencilBits = 8;
    refused[1].depthBits = 32;
    refused[2].pixelType = 1;  // colour index
    for (const platform::PixelFormatRequest& request : refused) {
        EXPECT_EQ(platform::ChoosePixelFormat(offscreen::Device(), request), 0);
    }
    EXPECT_EQ(platform::ChoosePixelFormat(nullptr, ProgramRequest()), 0);
    EXPECT_FALSE(offscreen::LastError().empty());
    EXPECT_FALSE(offscreen::SetFramebufferSize(0, 10));
    EXPECT_FALSE(offscreen::SetFramebufferSize(10, 5000));
}

}  // namespace
