// The overlay and the screenshot on real Mesa (the offscreen backend), with the program's own
// renderer in this process: a screenshot saved through the platform seam holds the very frame
// walkthrough-shot draws; the card and the progress bar over the sample scene, as the README
// shows them (overlay-card.png, overlay-progress.png in the working directory); and the frame
// after the overlay is the frame without it (the overlay left the GL state as it was).
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "overlay/FrameOverlay.h"
#include "platform/common/PngFile.h"
#include "platform/offscreen/OffscreenContext.h"
#include "platform/offscreen/OffscreenScript.h"
#include "render/FixedState.h"
#include "render/FrameCapture.h"
#include "render/SceneRenderer.h"
#include "tests/pictures/RunProgram.h"
#include "viewer/ModelOpening.h"

namespace {

const std::string kSample = std::string(SAMPLE_DIR) + "/kelm.3ds";

// The sample scene opened as `walkthrough-shot --model kelm.3ds --view original` opens it.
class OffscreenWalk {
public:
    OffscreenWalk(int width, int height) {
        platform::offscreen::SetFramebufferSize(width, height);
        platform::offscreen::UseScript({});
        ready_ = renderer_.CreateContext(platform::offscreen::Device()) == 1 &&
                 platform::offscreen::ReadyToDraw();
        if (!ready_) {
            return;
        }
        SetFixedGlState();
        renderer_.Resize(width, height);
        OpenOptions options;
        options.view = StartView::kOriginal;
        options.fit.viewportWidth = width;
        options.fit.viewportHeight = height;
        opened_ = OpenModel(renderer_.scene, kSample, options);
        ready_ = opened_.view != nullptr;
        if (ready_) {
            renderer_.ShowThrough(opened_.view.get());
        }
    }
    ~OffscreenWalk() {
        renderer_.ShowThrough(nullptr);
        renderer_.ReleaseContext();
        platform::offscreen::Shutdown();
    }
    bool Ready() const { return ready_; }

    // Frames up to `frame` advanced, and that one drawn.
    void DrawFrame(int frame) {
        for (; frame_ + 1 < frame; ++frame_) {
            platform::offscreen::BeginFrame(frame_ + 1);
            renderer_.AdvanceFrame();
        }
        platform::offscreen::BeginFrame(++frame_);
        renderer_.RenderFrame();
    }
    RgbImage Read() const {
        RgbImage picture;
        EXPECT_TRUE(ReadFrameRgb(picture.pixels, picture.width, picture.height));
        return picture;
    }

private:
    SceneRenderer renderer_{nullptr};
    OpenedModel opened_;
    bool ready_ = false;
    int frame_ = 0;
};

RgbImage ShotOfFrame(int frame, const std::string& size) {
    const std::string name = "overlay-shot-" + std::to_string(frame);
    const ProgramRun run = RunProgram(name, std::string(WALKTHROUGH_SHOT) + " --model " + kSample +
                                                " --view original --size " + size + " --frames " +
                                                std::to_string(frame) + " -o " + name + ".png");
    EXPECT_EQ(run.exitStatus, 0) << run.standardError;
    RgbImage picture;
    std::string why;
    EXPECT_TRUE(ReadPng(name + ".png", picture, why)) << why;
    return picture;
}

bool SamePicture(const RgbImage& a, const RgbImage& b) {
    return a.width == b.width && a.height == b.height && a.pixels == b.pixels;
}

TEST(Screenshot, TheSavedPictureIsTheFrameDrawn) {
    const std::string folder = std::filesystem::current_path() / "screenshots";
    std::filesystem::remove_all(folder);
    setenv("WALKTHROUGH_PICTURES_DIR", folder.c_str(), 1);
    std::string saved;
    std::string why;
    {
        OffscreenWalk walk(320, 240);
        ASSERT_TRUE(walk.Ready()) << platform::offscreen::LastError();
        walk.DrawFrame(1500);
        const RgbImage frame = walk.Read();
        saved = platform::SavePicture("kelm", frame.pixels.data(), frame.width, frame.height, why);
    }
    unsetenv("WALKTHROUGH_PICTURES_DIR");
    ASSERT_FALSE(saved.empty()) << why;
    EXPECT_EQ(std::filesystem::path(saved).parent_path(), folder);
    EXPECT_EQ(std::filesystem::path(saved).filename().string().rfind("kelm 2", 0), 0u) << saved;
    RgbImage picture;
    ASSERT_TRUE(ReadPng(saved, picture, why)) << why;
    EXPECT_TRUE(SamePicture(picture, ShotOfFrame(1500, "320x240")));
}

// The card and the bar over the sample scene, as the README shows them: the card's panel darkens
// the scene and its text is bright. The frame after the overlay (card, bar and notice) is the
// frame without it: the overlay left the GL state as it found it.
TEST(Overlay, OverTheSampleSceneAndGoneFromTheNextFrame) {
    OffscreenWalk walk(800, 600);
    ASSERT_TRUE(walk.Ready()) << platform::offscreen::LastError();
    walk.DrawFrame(4600);
    const RgbImage plain = walk.Read();
    FrameOverlay overlay;
    overlay.card.SetWalking(true);
    overlay.card.Toggle();
    overlay.Draw();
    const RgbImage card = walk.Read();
    overlay.card.Hide();
    overlay.progress.Show("kelm.3ds: Reading", 0.3);
    walk.DrawFrame(4601);
    overlay.Draw();
    std::string why;
    EXPECT_TRUE(WritePng("overlay-card.png", card, why)) << why;
    EXPECT_TRUE(WritePng("overlay-progress.png", walk.Read(), why)) << why;

    const auto brightness = [](const RgbImage& picture, int x, int y) {
        const std::uint8_t* p = &picture.pixels[(static_cast<std::size_t>(y) * 800 + x) * 3];
        return p[0] + p[1] + p[2];
    };
    int darker = 0;
    int bright = 0;
    for (int y = 200; y < 400; ++y) {
        for (int x = 250; x < 550; ++x) {
            darker += brightness(card, x, y) < brightness(plain, x, y);
            bright += brightness(card, x, y) > 600;
        }
    }
    EXPECT_GT(darker, 300 * 200 / 2);
    EXPECT_GT(bright, 1000);

    overlay.card.Toggle();
    overlay.notice.ShowFor("Saved", 10);
    overlay.Draw();
    walk.DrawFrame(4602);
    EXPECT_TRUE(SamePicture(walk.Read(), ShotOfFrame(4602, "800x600")));
}

}  // namespace
