// walkthrough-shot: renders frames of the walk-through without a display and writes the last
// one as a PNG. The frames are the program's own: the same SceneRenderer and Scene, the same
// fixed GL state, input played from the command line instead of a user. See ShotOptions.h.
#include <GL/gl.h>

#include <chrono>
#include <cstdio>
#include <string>

#include "platform/offscreen/OffscreenContext.h"
#include "platform/offscreen/OffscreenScript.h"
#include "render/FixedState.h"
#include "render/SceneRenderer.h"
#include "scene/ModelFileCheck.h"
#include "tools/shot/FrameTimes.h"
#include "tools/shot/PngFile.h"
#include "tools/shot/ShotOptions.h"

namespace {

constexpr int kExitWritten = 0;
constexpr int kExitFailed = 1;

int Failure(const std::string& why) {
    std::fprintf(stderr, "walkthrough-shot: %s\n", why.c_str());
    return kExitFailed;
}

double MillisecondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}

// Renders the frames with the renderer's context current and takes the last picture.
int RenderAndWrite(SceneRenderer& renderer, const ShotOptions& options) {
    SetFixedGlState();
    renderer.Resize(options.width, options.height);

    FrameTimes times;
    glFinish();
    for (int frame = 1; frame <= options.frames; ++frame) {
        platform::offscreen::BeginFrame(frame);
        // Only the last picture is kept; --bench measures drawing, so it draws them all.
        if (frame < options.frames && !options.bench) {
            renderer.AdvanceFrame();
            continue;
        }
        const auto start = std::chrono::steady_clock::now();
        renderer.RenderFrame();
        if (options.bench) {
            glFinish();
            times.Add(MillisecondsSince(start));
        }
    }

    RgbImage picture;
    if (!platform::offscreen::ReadFrame(picture.pixels, picture.width, picture.height)) {
        return Failure("the rendering context was lost");
    }
    std::string why;
    if (!WritePng(options.outputPath, picture, why)) {
        return Failure("cannot write " + why);
    }
    if (options.bench) {
        std::printf("frames %d\nmedian %.3f ms per frame\n", times.Count(),
                    times.MedianMilliseconds());
    }
    return kExitWritten;
}

// Places a loaded model as walkthrough places it, fitted to the picture; a camera asked for
// that the file lacks is said on standard error, and the view is fitted.
void PlaceModel(Scene& scene, const ShotOptions& options) {
    ViewFitOptions fit;
    fit.userScale = options.scale;
    fit.viewportWidth = options.width;
    fit.viewportHeight = options.height;
    const bool fromCamera = scene.PlaceModel(options.view, fit);
    if (options.view == StartView::kCamera && !fromCamera && scene.loaded) {
        std::fprintf(stderr, "walkthrough-shot: %s has no usable camera; the view is fitted\n",
                     options.modelPath.c_str());
    }
}

int Shoot(const ShotOptions& options) {
    // The program itself carries on without a model; a screenshot of nothing is an error.
    if (const auto problem = CheckModelFile(options.modelPath)) {
        return Failure(DescribeModelFileProblem(options.modelPath, *problem));
    }
    platform::offscreen::SetFramebufferSize(options.width, options.height);
    platform::offscreen::UseScript(options.input);

    int status = kExitFailed;
    {
        SceneRenderer renderer(options.modelPath.c_str());
        renderer.scene.drawingStyle = !options.drawMaterials ? Scene::DrawingStyle::kMeshColours
                                      : options.immediate ? Scene::DrawingStyle::kMaterialsImmediate
                                                          : Scene::DrawingStyle::kMaterials;
        PlaceModel(renderer.scene, options);
        if (!renderer.scene.loaded) {
            status = Failure("cannot read model " + options.modelPath);
        } else if (renderer.CreateContext(platform::offscreen::Device()) != 1 ||
                   !platform::offscreen::ReadyToDraw()) {
            status = Failure("no offscreen OpenGL context: " + platform::offscreen::LastError());
        } else {
            status = RenderAndWrite(renderer, options);
        }
        renderer.ReleaseContext();
    }
    platform::offscreen::Shutdown();
    return status;
}

}  // namespace

int main(int argc, char** argv) {
    const ParsedCommandLine<ShotOptions> parsed = ParseShotCommandLine(argc, argv);
    if (parsed.stop) {
        return PrintStop(*parsed.stop);
    }
    return Shoot(parsed.options);
}
