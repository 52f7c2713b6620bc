// The rendering context: made on a matching pixel format, released once at most.
#include <gtest/gtest.h>

#include <cstring>

#include "platform/fake/FakePlatform.h"
#include "render/SceneRenderer.h"
#include "tests/support/CallChecks.h"

namespace {

TEST(Renderer, TheContextIsMadeOnAMatchingPixelFormatAndReleasedOnceAtMost) {
    const Lines made = {"ChoosePixelFormat",    "SetPixelFormat 1",     "CreateRenderContext",
                        "MakeContextCurrent 1", "MakeContextCurrent 0", "DeleteRenderContext 1"};
    const Lines refused = {"ChoosePixelFormat", "ShowWarning 没找到合适的显示模式"};
    // Escape or closing may release before the destructor does: only the first acts.
    for (const int releases : {0, 2}) {
        for (const int pixelFormat : {1, 0}) {
            fake::Reset();
            fake::Fake().pixelFormat = pixelFormat;
            {
                SceneRenderer renderer("no-such-model.3ds");
                fake::CallLog().clear();
                EXPECT_EQ(renderer.CreateContext(fake::FakeDeviceContext()), pixelFormat);
                EXPECT_EQ(renderer.hdc, fake::FakeDeviceContext());
                for (int i = 0; i < releases; ++i) {
                    renderer.ReleaseContext();
                }
            }
            EXPECT_EQ(LoggedCalls(), pixelFormat == 0 ? refused : made);
        }
    }
    EXPECT_EQ(fake::Fake().warningCaption, "Error");
    platform::PixelFormatRequest expected;  // RGBA on the main plane
    expected.size = 40;
    expected.version = 1;
    expected.flags = 0x25;  // draw to a window, OpenGL, double buffer
    expected.colorBits = 16;
    expected.depthBits = 16;
    static_assert(sizeof expected == 40, "the record has no padding to compare");
    EXPECT_EQ(std::memcmp(&fake::Fake().pixelRequest, &expected, sizeof expected), 0);
}

}  // namespace
