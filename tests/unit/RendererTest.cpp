// The rendering context and the projection, through the fake platform and the GL recorder.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include "platform/fake/FakePlatform.h"
#include "render/SceneRenderer.h"

namespace {

class Renderer : public ::testing::Test {
protected:
    void SetUp() override { fake::Reset(); }
};

TEST_F(Renderer, StartsWithTheDawnValuesAndNoContext) {
    SceneRenderer renderer("no-such-model.3ds");
    EXPECT_EQ(renderer.fogEnd, 100.0f);
    EXPECT_EQ(renderer.sunRed, 0.05f);
    EXPECT_EQ(renderer.sunGreenBlue, 0.05f);
    EXPECT_EQ(renderer.sunAngle, 10.0f);
    EXPECT_EQ(renderer.hdc, nullptr);
    EXPECT_EQ(renderer.hglrc, nullptr);
    EXPECT_EQ(renderer.scene.loaded, 0);
}

TEST_F(Renderer, CreateContextAsksForADoubleBufferedRgbaWindowFormat) {
    SceneRenderer renderer("no-such-model.3ds");
    fake::CallLog().clear();

    EXPECT_EQ(renderer.CreateContext(fake::FakeDeviceContext()), 1);

    const platform::PixelFormatRequest& pfd = fake::Fake().pixelRequest;
    EXPECT_EQ(pfd.size, 40);
    EXPECT_EQ(pfd.version, 1);
    EXPECT_EQ(pfd.flags, 0x25u);
    EXPECT_EQ(pfd.pixelType, 0);
    EXPECT_EQ(pfd.colorBits, 16);
    EXPECT_EQ(pfd.depthBits, 16);
    const std::uint8_t unused[] = {pfd.redBits,        pfd.redShift,       pfd.greenBits,
                                   pfd.greenShift,     pfd.blueBits,       pfd.blueShift,
                                   pfd.alphaBits,      pfd.alphaShift,     pfd.accumBits,
                                   pfd.accumRedBits,   pfd.accumGreenBits, pfd.accumBlueBits,
                                   pfd.accumAlphaBits, pfd.stencilBits,    pfd.auxBuffers,
                                   pfd.layerType,      pfd.reserved};
    for (std::uint8_t field : unused) {
        EXPECT_EQ(field, 0);
    }
    EXPECT_EQ(pfd.layerMask | pfd.visibleMask | pfd.damageMask, 0u);

    std::vector<std::string> names;
    for (const fake::Call& call : fake::CallLog()) {
        names.push_back(call.name);
    }
    EXPECT_EQ(names, (std::vector<std::string>{"ChoosePixelFormat", "SetPixelFormat",
                                               "CreateRenderContext", "MakeContextCurrent"}));
    EXPECT_EQ(renderer.hdc, fake::FakeDeviceContext());
    EXPECT_EQ(renderer.hglrc, fake::FakeRenderContext());
    EXPECT_EQ(fake::Fake().currentContext, fake::FakeRenderContext());
}

TEST_F(Renderer, NoMatchingPixelFormatWarnsAndKeepsTheDeviceContext) {
    fake::Fake().pixelFormat = 0;
    SceneRenderer renderer("no-such-model.3ds");

    EXPECT_EQ(renderer.CreateContext(fake::FakeDeviceContext()), 0);

    EXPECT_EQ(fake::Fake().warningText, "没找到合适的显示模式");
    EXPECT_EQ(fake::Fake().warningCaption, "Error");
    EXPECT_EQ(renderer.hdc, fake::FakeDeviceContext());
    EXPECT_EQ(renderer.hglrc, nullptr);
    EXPECT_TRUE(fake::CallsNamed("SetPixelFormat").empty());
    EXPECT_TRUE(fake::CallsNamed("CreateRenderContext").empty());

    // Escape or closing still release: with no context that must do nothing.
    renderer.ReleaseContext();
    EXPECT_TRUE(fake::CallsNamed("DeleteRenderContext").empty());
}

TEST_F(Renderer, ResizeSetsTheViewportAndA54DegreePerspective) {
    SceneRenderer renderer("no-such-model.3ds");
    fake::CallLog().clear();

    renderer.Resize(800, 600);

    const auto& log = fake::CallLog();
    ASSERT_EQ(log.size(), 6u);
    EXPECT_EQ(log[0].name, "glViewport");
    EXPECT_EQ(log[0].args, (std::vector<double>{0, 0, 800, 600}));
    EXPECT_EQ(log[1].name, "glMatrixMode");
    EXPECT_EQ(log[1].args, std::vector<double>{GL_PROJECTION});
    EXPECT_EQ(log[2].name, "glLoadIdentity");
    EXPECT_EQ(log[3].name, "gluPerspective");
    EXPECT_EQ(log[3].args, (std::vector<double>{54.0, 4.0 / 3.0, 0.10000000149011612, 3000.0}));
    EXPECT_EQ(log[4].name, "glMatrixMode");
    EXPECT_EQ(log[4].args, std::vector<double>{GL_MODELVIEW});
    EXPECT_EQ(log[5].name, "glLoadIdentity");
}

TEST_F(Renderer, ReleaseUnbindsThenDeletesOnceWhateverCallsIt) {
    {
        SceneRenderer renderer("no-such-model.3ds");
        renderer.CreateContext(fake::FakeDeviceContext());
        fake::CallLog().clear();

        renderer.ReleaseContext();
        renderer.ReleaseContext();
    }  // and the destructor

    const auto& log = fake::CallLog();
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0].name, "MakeContextCurrent");
    EXPECT_EQ(log[0].args, std::vector<double>{0.0});
    EXPECT_EQ(log[1].name, "DeleteRenderContext");
    EXPECT_EQ(fake::Fake().currentContext, nullptr);
}

}  // namespace
