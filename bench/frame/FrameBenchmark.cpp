// The frame's cost against the GL calls it must make.
//
//   frame-benchmark [--model FILE | --textured] [Google Benchmark flags]
//
// The benchmarks run on the same 800 x 600 offscreen context, under the GL state the program
// sets (fixed state, projection, the frame's light, fog and camera), and end each frame with
// glFinish. ProgramFrame is SceneRenderer::RenderFrame on the model as the walk-through draws
// it without arguments; MaterialsFrame the same with the model's materials, as for a model the
// user names; BareLoop is the baseline: the clear and the model's glBegin/glColor3f/glNormal3f/
// glVertex3f/glEnd calls replayed from flat arrays. The targets: ProgramFrame at most 1.05
// times BareLoop, MaterialsFrame at most ProgramFrame.
//
// A walk of 300 frames through the model (from the start pose, inside it, forward and a full
// turn) is drawn as the named model is, with its geometry compiled and only the parts in view
// (CompiledWalk), and with every face sent every frame (ImmediateWalk): the target is a median
// frame of CompiledWalk at most half ImmediateWalk's. Before the benchmarks, the first frame
// after loading (the compile included; target at most 1.5 times ImmediateWalk's median frame)
// and the memory the compiled geometry adds (target at most the model file's size) are
// measured once. Without --model the 20 MB model of BigModel.h is written to a temporary folder
// first; --textured writes its textured form.
#include <GL/gl.h>
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "bench/frame/BigModel.h"
#include "drawing/MaterialDrawing.h"
#include "platform/offscreen/OffscreenContext.h"
#include "platform/offscreen/OffscreenScript.h"
#include "render/FixedState.h"
#include "render/SceneRenderer.h"
#include "viewer/NamedModelView.h"

namespace {

constexpr int kWidth = 800;
constexpr int kHeight = 600;
constexpr int kWalkFrames = 300;
// The cursor's step per frame: 0.2 degrees a pixel, a full turn in the walk's 300 frames.
constexpr int kTurnPixels = 6;

// One mesh's calls: its colour, then per face a normal and three vertices.
struct BareMesh {
    float color[3];
    std::vector<float> normals;   // 3 per face
    std::vector<float> vertices;  // 9 per face
};

std::unique_ptr<SceneRenderer> g_renderer;
std::vector<BareMesh> g_bareMeshes;

// The calls DrawModel makes for the loaded model, taken once.
std::vector<BareMesh> TakeBareMeshes() {
    std::vector<BareMesh> meshes;
    for (const Mesh* mesh = g_meshHead->next; mesh != nullptr; mesh = mesh->next) {
        BareMesh bare{{1.0f, 1.0f, 1.0f}, {}, {}};
        if (mesh->materialColor != nullptr) {
            for (int i = 0; i < 3; ++i) {
                bare.color[i] = mesh->materialColor[i];
            }
        }
        const int faceCount = mesh->faces != nullptr ? mesh->faces[0] : 0;
        for (int i = 0; i < faceCount; ++i) {
            const std::uint16_t* face = mesh->faces + 1 + 4 * i;
            if (face[0] >= mesh->vertexCount || face[1] >= mesh->vertexCount ||
                face[2] >= mesh->vertexCount) {
                continue;
            }
            bare.normals.insert(bare.normals.end(), mesh->normals + 3 * i,
                                mesh->normals + 3 * i + 3);
            for (int corner = 0; corner < 3; ++corner) {
                float xyz[3];
                ReadVertex(*mesh, face[corner], xyz);
                bare.vertices.insert(bare.vertices.end(), xyz, xyz + 3);
            }
        }
        meshes.push_back(std::move(bare));
    }
    return meshes;
}

// The loaded model drawn with its materials, as a model opened unplaced (--view original) is:
// laid out for drawing at once, compiled or sending every face every frame.
std::unique_ptr<NamedModelView> MaterialsView(bool compiled) {
    Scene& scene = g_renderer->scene;
    return std::make_unique<NamedModelView>(
        scene, Placement(),
        std::make_unique<MaterialDrawing>(g_meshHead->next, scene.modelScale, scene.ModelPath(),
                                          TextureLimits(), compiled),
        std::make_unique<ModelWalk>(scene, Placement(), LengthUnit::kMetre));
}

// Frames of the program's own drawing (no view) or through `view`.
void RenderFrames(benchmark::State& state, NamedModelView* view) {
    g_renderer->ShowThrough(view);
    // Untimed: the driver's first use of the textures and arrays.
    g_renderer->RenderFrame();
    glFinish();
    for (auto _ : state) {
        g_renderer->RenderFrame();
        glFinish();
    }
    g_renderer->ShowThrough(nullptr);
}

void ProgramFrame(benchmark::State& state) {
    RenderFrames(state, nullptr);
}

void MaterialsFrame(benchmark::State& state) {
    const std::unique_ptr<NamedModelView> view = MaterialsView(true);
    RenderFrames(state, view.get());
}

void BareLoop(benchmark::State& state) {
    // One program frame leaves its light, fog, camera and scale in place for the replay.
    g_renderer->RenderFrame();
    glFinish();
    for (auto _ : state) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        for (const BareMesh& mesh : g_bareMeshes) {
            glBegin(GL_TRIANGLES);
            glColor3f(mesh.color[0], mesh.color[1], mesh.color[2]);
            const std::size_t faces = mesh.normals.size() / 3;
            const float* n = mesh.normals.data();
            const float* v = mesh.vertices.data();
            for (std::size_t face = 0; face < faces; ++face, n += 3, v += 9) {
                glNormal3f(n[0], n[1], n[2]);
                glVertex3f(v[0], v[1], v[2]);
                glVertex3f(v[3], v[4], v[5]);
                glVertex3f(v[6], v[7], v[8]);
            }
            glEnd();
        }
        glFlush();
        glFinish();
    }
}

// Where the walk starts: the pose after loading.
struct CameraPose {
    double eye[3], target[3];
    float yawDegrees, pitch, heightOffset;
};
CameraPose g_walkStart;

CameraPose PoseOf(const Scene& scene) {
    CameraPose pose{};
    std::copy(scene.eye, scene.eye + 3, pose.eye);
    std::copy(scene.target, scene.target + 3, pose.target);
    pose.yawDegrees = scene.yawDegrees;
    pose.pitch = scene.pitch;
    pose.heightOffset = scene.heightOffset;
    return pose;
}

void TakePose(Scene& scene, const CameraPose& pose) {
    std::copy(pose.eye, pose.eye + 3, scene.eye);
    std::copy(pose.target, pose.target + 3, scene.target);
    scene.yawDegrees = pose.yawDegrees;
    scene.pitch = pose.pitch;
    scene.heightOffset = pose.heightOffset;
}

double Milliseconds(std::chrono::steady_clock::duration duration) {
    return std::chrono::duration<double, std::milli>(duration).count();
}

double MedianOf(std::vector<double> values) {
    if (values.empty()) {
        return 0.0;
    }
    const auto middle = values.begin() + static_cast<std::ptrdiff_t>(values.size() / 2);
    std::nth_element(values.begin(), middle, values.end());
    return *middle;
}

// The walk's frames, each timed; an iteration is the whole walk, its time the sum of its
// frames'. Counter median_frame_ms: the median frame over every walk of the repetition.
void Walk(benchmark::State& state, bool compiled) {
    Scene& scene = g_renderer->scene;
    const std::unique_ptr<NamedModelView> view = MaterialsView(compiled);
    g_renderer->ShowThrough(view.get());
    platform::offscreen::InputScript walk;
    walk.Hold(platform::kKeyW, 1, kWalkFrames);
    for (int frame = 1; frame <= kWalkFrames; ++frame) {
        walk.MoveCursor(kTurnPixels, 0, frame);
    }
    std::vector<double> frameMs;
    for (auto _ : state) {
        TakePose(scene, g_walkStart);
        platform::offscreen::UseScript(walk);
        double walkMs = 0.0;
        for (int frame = 1; frame <= kWalkFrames; ++frame) {
            platform::offscreen::BeginFrame(frame);
            const auto start = std::chrono::steady_clock::now();
            g_renderer->RenderFrame();
            glFinish();
            frameMs.push_back(Milliseconds(std::chrono::steady_clock::now() - start));
            walkMs += frameMs.back();
        }
        state.SetIterationTime(walkMs / 1000.0);
    }
    platform::offscreen::UseScript({});
    TakePose(scene, g_walkStart);
    g_renderer->ShowThrough(nullptr);
    state.counters["median_frame_ms"] = MedianOf(frameMs);
}

void CompiledWalk(benchmark::State& state) {
    Walk(state, true);
}

void ImmediateWalk(benchmark::State& state) {
    Walk(state, false);
}

double SmallestOf(const std::vector<double>& values) {
    return *std::min_element(values.begin(), values.end());
}

// Time: wall-clock time of the frame. CPU: processor time of the whole process, llvmpipe's
// rasterising threads included. With repetitions, the smallest repetition is the figure least
// disturbed by other load on the machine.
BENCHMARK(ProgramFrame)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MeasureProcessCPUTime()
    ->ComputeStatistics("min", SmallestOf);
BENCHMARK(MaterialsFrame)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MeasureProcessCPUTime()
    ->ComputeStatistics("min", SmallestOf);
BENCHMARK(BareLoop)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MeasureProcessCPUTime()
    ->ComputeStatistics("min", SmallestOf);
BENCHMARK(CompiledWalk)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(1);
BENCHMARK(ImmediateWalk)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(1);

struct Figures {
    double realMs = 0.0;
    double cpuMs = 0.0;
};

// Prints as usual and keeps each benchmark's median and smallest times over the repetitions
// (or, without repetitions, its mean) for the ratios.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            const std::string& name = run.run_name.function_name;
            const Figures figures{run.GetAdjustedRealTime(), run.GetAdjustedCPUTime()};
            // A walk's median frame: each repetition's, or their median when only the
            // aggregates are reported.
            const auto frame = run.counters.find("median_frame_ms");
            if (frame != run.counters.end() && run.run_type == Run::RT_Iteration) {
                walkFrames_[name].push_back(frame->second.value);
            }
            if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median") {
                if (frame != run.counters.end()) {
                    walkMedians_[name] = frame->second.value;
                }
                medians_[name] = figures;
            } else if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "min") {
                minima_[name] = figures;
            } else if (run.run_type == Run::RT_Iteration) {
                Figures& sum = sums_[name];
                sum.realMs += run.GetAdjustedRealTime();
                sum.cpuMs += run.GetAdjustedCPUTime();
                counts_[name] += 1;
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }

    bool Repeated() const { return !medians_.empty(); }
    // The median of a walk's median frames over its repetitions, in ms.
    double WalkFrame(const std::string& name) const {
        const auto median = walkMedians_.find(name);
        if (median != walkMedians_.end()) {
            return median->second;
        }
        const auto found = walkFrames_.find(name);
        return found != walkFrames_.end() ? MedianOf(found->second) : 0.0;
    }
    Figures Median(const std::string& name) const { return Find(medians_, name); }
    Figures Smallest(const std::string& name) const { return Find(minima_, name); }
    Figures Mean(const std::string& name) const {
        const auto count = counts_.find(name);
        if (count == counts_.end()) {
            return {};
        }
        const Figures& sum = sums_.at(name);
        return {sum.realMs / count->second, sum.cpuMs / count->second};
    }

private:
    static Figures Find(const std::map<std::string, Figures>& figures, const std::string& name) {
        const auto found = figures.find(name);
        return found != figures.end() ? found->second : Figures{};
    }

    std::map<std::string, Figures> medians_;
    std::map<std::string, Figures> minima_;
    std::map<std::string, Figures> sums_;
    std::map<std::string, int> counts_;
    std::map<std::string, std::vector<double>> walkFrames_;
    std::map<std::string, double> walkMedians_;
};

// One ratio line for time and one for CPU: "program frame 12.0 ms / bare loop 11.8 ms = 1.017".
void PrintRatio(const char* statistic, const char* name, const Figures& measured, const char* base,
                const Figures& baseline, const char* target) {
    if (baseline.realMs <= 0.0 || baseline.cpuMs <= 0.0) {
        return;
    }
    std::printf("%-6s time: %s %.1f ms / %s %.1f ms = %.3f (target <= %s)\n", statistic, name,
                measured.realMs, base, baseline.realMs, measured.realMs / baseline.realMs, target);
    std::printf("%-6s CPU:  %s %.1f ms / %s %.1f ms = %.3f\n", statistic, name, measured.cpuMs,
                base, baseline.cpuMs, measured.cpuMs / baseline.cpuMs);
}

void PrintRatios(const char* statistic, const std::function<Figures(const std::string&)>& of) {
    PrintRatio(statistic, "program frame", of("ProgramFrame"), "bare loop", of("BareLoop"), "1.05");
    PrintRatio(statistic, "materials frame", of("MaterialsFrame"), "program frame",
               of("ProgramFrame"), "1");
}

// The first frame drawn with the model's materials after loading: its time, the compile
// included, and the bytes of the compiled geometry.
struct FirstFrame {
    double ms = 0.0;
    double addedBytes = 0.0;
};
FirstFrame g_firstFrame;

FirstFrame DrawFirstFrame() {
    Scene& scene = g_renderer->scene;
    // The context's own first frame sets up the driver, whatever the drawing.
    g_renderer->RenderFrame();
    glFinish();
    const auto start = std::chrono::steady_clock::now();
    const std::unique_ptr<NamedModelView> view = MaterialsView(true);
    g_renderer->ShowThrough(view.get());
    g_renderer->RenderFrame();
    glFinish();
    FirstFrame first;
    first.ms = Milliseconds(std::chrono::steady_clock::now() - start);
    g_renderer->ShowThrough(nullptr);
    TakePose(scene, g_walkStart);
    first.addedBytes = static_cast<double>(view->DrawingBytes());
    return first;
}

void PrintWalkFigures(const RatioReporter& reporter, double fileBytes) {
    const double compiled = reporter.WalkFrame("CompiledWalk");
    const double immediate = reporter.WalkFrame("ImmediateWalk");
    if (compiled > 0.0 && immediate > 0.0) {
        std::printf(
            "walk median frame: compiled %.1f ms / immediate %.1f ms = %.3f (target <= 0.5)\n",
            compiled, immediate, compiled / immediate);
        std::printf(
            "first frame after loading: %.1f ms / immediate frame %.1f ms = %.3f (target <= 1.5)\n",
            g_firstFrame.ms, immediate, g_firstFrame.ms / immediate);
    }
    std::printf("compiled geometry adds %.1f MB / model file %.1f MB = %.2f (target <= 1)\n",
                g_firstFrame.addedBytes / 1e6, fileBytes / 1e6,
                g_firstFrame.addedBytes / fileBytes);
}

bool SetUp(const std::string& modelPath) {
    platform::offscreen::SetFramebufferSize(kWidth, kHeight);
    g_renderer = std::make_unique<SceneRenderer>(modelPath.c_str());
    if (!g_renderer->scene.loaded) {
        std::fprintf(stderr, "frame-benchmark: cannot read %s\n", modelPath.c_str());
        return false;
    }
    if (g_renderer->CreateContext(platform::offscreen::Device()) != 1 ||
        !platform::offscreen::ReadyToDraw()) {
        std::fprintf(stderr, "frame-benchmark: no offscreen context: %s\n",
                     platform::offscreen::LastError().c_str());
        return false;
    }
    SetFixedGlState();
    g_renderer->Resize(kWidth, kHeight);
    g_bareMeshes = TakeBareMeshes();
    g_walkStart = PoseOf(g_renderer->scene);
    g_firstFrame = DrawFirstFrame();
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    std::string modelPath;
    const bool textured = argc == 2 && std::string(argv[1]) == "--textured";
    if (argc == 3 && std::string(argv[1]) == "--model") {
        modelPath = argv[2];
    } else if (argc != 1 && !textured) {
        std::fputs("usage: frame-benchmark [--model FILE | --textured] [Google Benchmark flags]\n",
                   stderr);
        return 2;
    }
    // The model and, textured, its images.
    std::filesystem::path temporary;
    if (modelPath.empty()) {
        temporary = std::filesystem::temp_directory_path() /
                    ("frame-benchmark-" + std::to_string(::getpid()));
        modelPath = (temporary / "big.3ds").string();
        std::error_code ignored;
        std::filesystem::create_directories(temporary, ignored);
        if (!WriteBigModel(modelPath, textured)) {
            std::fprintf(stderr, "frame-benchmark: cannot write %s\n", modelPath.c_str());
            std::filesystem::remove_all(temporary, ignored);
            return 1;
        }
    }

    int status = 1;
    if (SetUp(modelPath)) {
        RatioReporter reporter;
        benchmark::RunSpecifiedBenchmarks(&reporter);
        if (reporter.Repeated()) {
            PrintRatios("median", [&](const std::string& name) { return reporter.Median(name); });
            PrintRatios("min", [&](const std::string& name) { return reporter.Smallest(name); });
        } else {
            PrintRatios("mean", [&](const std::string& name) { return reporter.Mean(name); });
        }
        std::error_code ignored;
        PrintWalkFigures(reporter,
                         static_cast<double>(std::filesystem::file_size(modelPath, ignored)));
        status = 0;
    }
    g_renderer.reset();
    platform::offscreen::Shutdown();
    if (!temporary.empty()) {
        std::error_code ignored;
        std::filesystem::remove_all(temporary, ignored);
    }
    return status;
}
