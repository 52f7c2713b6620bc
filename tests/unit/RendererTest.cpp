// The rendering context and the projection, through the fake platform and the GL recorder.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cstring>

#include "platform/fake/FakePlatform.h"
#include "render/SceneRenderer.h"
#include "tests/support/LibmValue.h"

namespace {

class Renderer : public ::testing::Test {
protected:
    void SetUp() override { fake::Reset(); }
};

// The destructor releases the context: unbound before it is deleted.
TEST_F(Renderer, ContextIsADoubleBufferedRgbaWindowFormatReleasedOnDestruction) {
    {
        SceneRenderer renderer("no-such-model.3ds");
        fake::CallLog().clear();
        EXPECT_EQ(renderer.CreateContext(fake::FakeDeviceContext()), 1);
        EXPECT_EQ(renderer.hdc, fake::FakeDeviceContext());
        EXPECT_EQ(fake::Fake().currentContext, fake::FakeRenderContext());
    }
    platform::PixelFormatRequest expected;
    expected.size = 40;
    expected.version = 1;
    expected.flags = 0x25;  // draw to a window, OpenGL, double buffer
    expected.colorBits = 16;
    expected.depthBits = 16;
    static_assert(sizeof expected == 40, "the record has no padding to compare");
    EXPECT_EQ(std::memcmp(&fake::Fake().pixelRequest, &expected, sizeof expected), 0);
    ExpectCalls(fake::CallLog(), {{"ChoosePixelFormat", {}},
                                  {"SetPixelFormat", {1.0}},
                                  {"CreateRenderContext", {}},
                                  {"MakeContextCurrent", {1.0}},
                                  {"MakeContextCurrent", {0.0}},
                                  {"DeleteRenderContext", {1.0}}});
    EXPECT_EQ(fake::Fake().currentContext, nullptr);
}

// Escape, then the close message, then the destructor: only the first releases.
TEST_F(Renderer, ReleaseActsOnce) {
    {
        SceneRenderer renderer("no-such-model.3ds");
        renderer.CreateContext(fake::FakeDeviceContext());
        renderer.ReleaseContext();
        fake::CallLog().clear();
        renderer.ReleaseContext();
    }
    EXPECT_TRUE(fake::CallLog().empty());
}

TEST_F(Renderer, NoMatchingPixelFormatWarnsAndKeepsTheDeviceContext) {
    fake::Fake().pixelFormat = 0;
    SceneRenderer renderer("no-such-model.3ds");
    fake::CallLog().clear();

    EXPECT_EQ(renderer.CreateContext(fake::FakeDeviceContext()), 0);
    // Escape or closing still release: with no context that must do nothing.
    renderer.ReleaseContext();

    EXPECT_EQ(fake::Fake().warningText, "没找到合适的显示模式");
    EXPECT_EQ(fake::Fake().warningCaption, "Error");
    EXPECT_EQ(renderer.hdc, fake::FakeDeviceContext());
    ExpectCalls(fake::CallLog(), {{"ChoosePixelFormat", {}}, {"ShowWarning", {}}});
}

TEST_F(Renderer, ResizeSetsTheViewportAndA54DegreePerspective) {
    SceneRenderer renderer("no-such-model.3ds");
    fake::CallLog().clear();
    renderer.Resize(800, 600);
    ExpectCalls(fake::CallLog(),
                {{"glViewport", {0, 0, 800, 600}},
                 {"glMatrixMode", {GL_PROJECTION}},
                 {"glLoadIdentity", {}},
                 {"gluPerspective", {54.0, 4.0 / 3.0, 0.10000000149011612, 3000.0}},
                 {"glMatrixMode", {GL_MODELVIEW}},
                 {"glLoadIdentity", {}}});
}

}  // namespace
