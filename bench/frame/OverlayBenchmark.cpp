// What the overlay adds to a frame, on the 800 x 600 offscreen context:
//
//   overlay-benchmark [--model FILE] [Google Benchmark flags]
//
// Frame is SceneRenderer::RenderFrame (the sky alone, or FILE drawn as the walk-through draws
// its own scene), ended with glFinish; WithCard, WithBar and WithNotice draw the card of keys,
// the progress bar or a notice on top of each such frame before glFinish.
#include <GL/gl.h>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>
#include <string>

#include "overlay/FrameOverlay.h"
#include "platform/offscreen/OffscreenContext.h"
#include "render/FixedState.h"
#include "render/SceneRenderer.h"

namespace {

constexpr int kWidth = 800;
constexpr int kHeight = 600;

std::unique_ptr<SceneRenderer> g_renderer;
FrameOverlay g_overlay;

void Frames(benchmark::State& state, void (*show)(FrameOverlay&)) {
    g_overlay.card.Hide();
    g_overlay.progress.Hide();
    g_overlay.notice.Hide();
    if (show != nullptr) {
        show(g_overlay);
    }
    // Untimed: the texture's upload and the driver's first use of it.
    g_renderer->RenderFrame();
    g_overlay.Draw();
    glFinish();
    for (auto _ : state) {
        g_renderer->RenderFrame();
        g_overlay.Draw();
        glFinish();
    }
}

void Frame(benchmark::State& state) {
    Frames(state, nullptr);
}
void WithCard(benchmark::State& state) {
    Frames(state, [](FrameOverlay& overlay) { overlay.card.Toggle(); });
}
void WithBar(benchmark::State& state) {
    Frames(state, [](FrameOverlay& overlay) { overlay.progress.Show("Textures 3 of 10", 0.3); });
}
void WithNotice(benchmark::State& state) {
    Frames(state, [](FrameOverlay& overlay) {
        overlay.notice.ShowFor("Saved /home/ann/Pictures/house 2026-12-07 21-04-05.png", 1 << 30);
    });
}

BENCHMARK(Frame)->Unit(benchmark::kMillisecond);
BENCHMARK(WithCard)->Unit(benchmark::kMillisecond);
BENCHMARK(WithBar)->Unit(benchmark::kMillisecond);
BENCHMARK(WithNotice)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    const char* model = nullptr;
    if (argc == 3 && std::string(argv[1]) == "--model") {
        model = argv[2];
    } else if (argc != 1) {
        std::fputs("usage: overlay-benchmark [--model FILE] [Google Benchmark flags]\n", stderr);
        return 2;
    }
    platform::offscreen::SetFramebufferSize(kWidth, kHeight);
    g_renderer = std::make_unique<SceneRenderer>(model);
    int status = 1;
    if (g_renderer->CreateContext(platform::offscreen::Device()) == 1 &&
        platform::offscreen::ReadyToDraw()) {
        SetFixedGlState();
        g_renderer->Resize(kWidth, kHeight);
        benchmark::RunSpecifiedBenchmarks();
        g_overlay.ReleaseTexture();
        status = 0;
    } else {
        std::fprintf(stderr, "overlay-benchmark: no offscreen context: %s\n",
                     platform::offscreen::LastError().c_str());
    }
    g_renderer.reset();
    platform::offscreen::Shutdown();
    return status;
}
