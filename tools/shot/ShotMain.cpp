// walkthrough-shot: renders frames of the walk-through without a display and writes the last
// one as a PNG. The frames are the program's own: the same SceneRenderer and Scene, the same
// fixed GL state, input played from the command line instead of a user. See ShotOptions.h.
#include <GL/gl.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <future>
#include <string>

#include "images/ModelTextures.h"
#include "platform/common/PngFile.h"
#include "platform/offscreen/OffscreenContext.h"
#include "platform/offscreen/OffscreenScript.h"
#include "render/FixedState.h"
#include "render/SceneRenderer.h"
#include "scene/ModelFileCheck.h"
#include "tools/shot/FrameTimes.h"
#include "tools/shot/RunBounds.h"
#include "tools/shot/ShotOptions.h"
#include "viewer/ModelOpening.h"

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

// The keys the script lets go of as `frame` begins, told to the view as the window's key-up
// messages tell it.
void ReleaseKeys(NamedModelView& view, const ShotOptions& options, int frame) {
    for (const int key : {platform::kKeyG}) {
        if (frame > 1 && options.input.IsHeld(key, frame - 1) &&
            !options.input.IsHeld(key, frame)) {
            view.KeyReleased(key);
        }
    }
}

// Under bounds the picture is written under a name of its own and renamed once whole, so that
// a run the bounds end leaves nothing at OUT.png.
bool WritePicture(const ShotOptions& options, const RgbImage& picture, std::string& why) {
    if (options.timeLimitSeconds == 0 && options.memoryLimitMegabytes == 0) {
        return WritePng(options.outputPath, picture, why);
    }
    const std::string partial = options.outputPath + ".writing";
    SetPictureInProgress(partial);
    const bool written = WritePng(partial, picture, why);
    if (written && std::rename(partial.c_str(), options.outputPath.c_str()) == 0) {
        SetPictureInProgress({});
        return true;
    }
    if (written) {
        why = options.outputPath + ": cannot be replaced";
    }
    std::remove(partial.c_str());
    SetPictureInProgress({});
    return false;
}

// Renders the frames with the renderer's context current and takes the last picture.
int RenderAndWrite(SceneRenderer& renderer, NamedModelView& view, const ShotOptions& options) {
    SetFixedGlState();
    renderer.Resize(options.width, options.height);

    FrameTimes times;
    glFinish();
    for (int frame = 1; frame <= options.frames; ++frame) {
        platform::offscreen::BeginFrame(frame);
        ReleaseKeys(view, options, frame);
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
    if (!WritePicture(options, picture, why)) {
        return Failure("cannot write " + why);
    }
    if (options.bench) {
        std::printf("frames %d\nmedian %.3f ms per frame\n", times.Count(),
                    times.MedianMilliseconds());
    }
    return kExitWritten;
}

// Where the eye stands in the model file's own coordinates, the heading in degrees from 0 to
// 360 (0 looks along the world's +y, 90 along +x) and whether the walk walks or flies.
void PrintPose(const Scene& scene, const NamedModelView& view) {
    double model[3];
    WorldToModel(view.placement(), scene.modelScale, scene.eye, model);
    const double heading = std::fmod(std::fmod(double(scene.yawDegrees), 360.0) + 360.0, 360.0);
    std::printf("eye %.9g %.9g %.9g heading %.9g %s\n", model[0], model[1], model[2], heading,
                view.walk().Walking() ? "walking" : "flying");
}

// The model opened as walkthrough opens it, fitted to the picture.
OpenOptions OpeningOf(const ShotOptions& options) {
    OpenOptions open;
    open.view = options.view;
    open.up = options.up;
    open.walk = options.walk;
    open.units = options.units;
    // A walk is indexed when it starts: most pictures are taken flying.
    open.indexAhead = false;
    open.fit.userScale = options.scale;
    open.fit.viewportWidth = options.width;
    open.fit.viewportHeight = options.height;
    open.drawing = !options.drawMaterials ? ModelDrawingStyle::kMeshColours
                   : options.immediate    ? ModelDrawingStyle::kMaterialsImmediate
                                          : ModelDrawingStyle::kMaterials;
    // No texture is decoded larger than the picture can show.
    open.textures = LimitsForPicture(options.width, options.height);
    return open;
}

int Shoot(const ShotOptions& options) {
    StartRunBounds(options.timeLimitSeconds, options.memoryLimitMegabytes);
    // The program itself carries on without a model; a picture of nothing is an error, said
    // before any context is made.
    if (const auto problem = CheckModelFile(options.modelPath)) {
        return Failure(DescribeModelFileProblem(options.modelPath, *problem));
    }
    platform::offscreen::SetFramebufferSize(options.width, options.height);
    platform::offscreen::UseScript(options.input);

    int status = kExitFailed;
    {
        // The model is read while the context is made (reading needs none); laying it out
        // uploads its textures, with the context current.
        SceneRenderer renderer(nullptr);
        ModelOpening opening(renderer.scene, options.modelPath, OpeningOf(options));
        std::future<void> reading = std::async(std::launch::async, [&opening] { opening.Read(); });
        const bool ready = renderer.CreateContext(platform::offscreen::Device()) == 1 &&
                           platform::offscreen::ReadyToDraw();
        reading.get();
        if (!ready) {
            status = Failure("no offscreen OpenGL context: " + platform::offscreen::LastError());
        } else {
            const OpenedModel opened = opening.Prepare();
            for (const std::string& note : opened.notes) {
                std::fprintf(stderr, "walkthrough-shot: %s\n", note.c_str());
            }
            if (!opened.view) {
                status = Failure(opened.problem);
            } else {
                renderer.ShowThrough(opened.view.get());
                status = RenderAndWrite(renderer, *opened.view, options);
                renderer.ShowThrough(nullptr);
                if (status == kExitWritten && options.printPose) {
                    PrintPose(renderer.scene, *opened.view);
                }
            }
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
