// bench_walk: walking through the frame benchmark's model (40 meshes of 30,000 faces, bumpy
// ground 160 by 100 units, read as metres), written with the chunk writer before timing.
//
// Targets: building the index of faces at most half the model's load time (both measured in
// the same benchmark, each iteration a load from a warm page cache and then a build), its
// memory at most half the file's size; one frame's walking step (floor, collision, slide) at
// most 0.2 ms, the median over a 300-frame scripted walk.
//
// Counters: load_ms, build_ms, their medians over the iterations, and build_per_load; the
// processor time of both (all threads), load_cpu_ms and build_cpu_ms, for a busy machine;
// index_MB and index_per_file; frame_median_ms and frame_max_ms over a walk.
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "bench/frame/BigModel.h"
#include "scene/Scene.h"
#include "walk/Walker.h"

namespace {

using Clock = std::chrono::steady_clock;

double MillisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// Processor time of every thread of the process: a busy machine stretches wall time, not this.
double CpuMillisecondsSince(std::clock_t start) {
    return 1e3 * static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC;
}

double Median(std::vector<double> values) {
    if (values.empty()) {
        return 0.0;
    }
    std::nth_element(values.begin(), values.begin() + values.size() / 2, values.end());
    return values[values.size() / 2];
}

// The model, written once and read once into the page cache; its size in bytes.
const std::string& ModelPath() {
    static const std::string path = [] {
        const char* folder = std::getenv("TMPDIR");
        return std::string(folder != nullptr ? folder : "/tmp") + "/bench_walk_" +
               std::to_string(getpid()) + ".3ds";
    }();
    return path;
}

long PrepareModel() {
    static const long size = [] {
        if (!WriteBigModel(ModelPath())) {
            return -1L;
        }
        std::ifstream in(ModelPath(), std::ios::binary);
        std::vector<char> block(1 << 20);
        long total = 0;
        while (in.read(block.data(), static_cast<std::streamsize>(block.size())) ||
               in.gcount() > 0) {
            total += static_cast<long>(in.gcount());
        }
        return total;
    }();
    return size;
}

void LoadThenIndex(benchmark::State& state) {
    const long size = PrepareModel();
    if (size <= 0) {
        state.SkipWithError("cannot write the model");
        return;
    }
    std::vector<double> loads;
    std::vector<double> builds;
    std::vector<double> loadsCpu;
    std::vector<double> buildsCpu;
    double indexBytes = 0.0;
    for (auto _ : state) {
        Clock::time_point start = Clock::now();
        std::clock_t cpu = std::clock();
        auto scene = std::make_unique<Scene>(ModelPath().c_str());
        const double load = MillisecondsSince(start);
        loadsCpu.push_back(CpuMillisecondsSince(cpu));
        start = Clock::now();
        cpu = std::clock();
        WorldFaces faces;
        faces.AddMeshes(g_meshHead);
        const FaceIndex index(faces);
        const double build = MillisecondsSince(start);
        buildsCpu.push_back(CpuMillisecondsSince(cpu));
        benchmark::DoNotOptimize(index.Bounds());
        state.SetIterationTime((load + build) / 1e3);
        loads.push_back(load);
        builds.push_back(build);
        indexBytes = static_cast<double>(index.Bytes());
        if (scene->loaded != 1 ||
            index.IndexedFaces() != std::size_t{kBigModelMeshes} * kBigModelFacesPerMesh) {
            state.SkipWithError("the model was not read whole");
            break;
        }
        scene.reset();
        malloc_trim(0);  // each load finds fresh memory, as the program's one load does
    }
    state.counters["load_ms"] = Median(loads);
    state.counters["build_ms"] = Median(builds);
    state.counters["build_per_load"] = Median(builds) / Median(loads);
    state.counters["load_cpu_ms"] = Median(loadsCpu);
    state.counters["build_cpu_ms"] = Median(buildsCpu);
    state.counters["file_MB"] = static_cast<double>(size) / 1e6;
    state.counters["index_MB"] = indexBytes / 1e6;
    state.counters["index_per_file"] = indexBytes / static_cast<double>(size);
}

// A scripted walk from the middle of the ground: 100 frames ahead, 100 at Shift turning half a
// circle, 100 strafing with a jump; each frame's step timed on its own.
void WalkFrames(benchmark::State& state) {
    if (PrepareModel() <= 0) {
        state.SkipWithError("cannot write the model");
        return;
    }
    const Scene scene(ModelPath().c_str());
    WorldFaces faces;
    faces.AddMeshes(g_meshHead);
    const FaceIndex index(faces);
    std::vector<double> frames;
    std::vector<double> walks;
    for (auto _ : state) {
        Walker walker(index, 1.0, index.Bounds().min.z);
        walker.PutDown({0.0, -30.0, 10.0});
        double yaw = 0.0;
        const Clock::time_point walkStart = Clock::now();
        for (int frame = 0; frame < 300; ++frame) {
            WalkKeys keys;
            keys.forward = frame < 200 ? 1 : 0;
            keys.right = frame >= 200 ? 1 : 0;
            keys.fast = frame >= 100 && frame < 200;
            keys.jump = frame == 250;
            if (keys.fast) {
                yaw += 3.14159265358979 / 100;
            }
            const Clock::time_point start = Clock::now();
            walker.Step(keys, yaw);
            frames.push_back(MillisecondsSince(start));
        }
        const double walk = MillisecondsSince(walkStart);
        benchmark::DoNotOptimize(walker.Eye());
        walks.push_back(walk);
        state.SetIterationTime(walk / 1e3);
    }
    state.counters["frame_median_ms"] = Median(frames);
    state.counters["frame_max_ms"] =
        frames.empty() ? 0.0 : *std::max_element(frames.begin(), frames.end());
    state.counters["walk_ms"] = Median(walks);
}

BENCHMARK(LoadThenIndex)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(8);
BENCHMARK(WalkFrames)->Unit(benchmark::kMillisecond)->UseManualTime();

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::remove(ModelPath().c_str());
    return 0;
}
