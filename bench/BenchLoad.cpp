// bench_load: how fast the walk-through's reader loads big models from a warm page cache, and
// how much memory a loaded model takes.
//
// Two models are written with the chunk writer before timing: about 20 MB (40 meshes of 30,000
// faces) and about 160 MB (140 meshes of 65,535 faces), four vertices for every five faces.
// Targets: at least 600 MB/s on both, and a peak resident size of at most 1.7 times the file.
// A loaded model holds the file's vertex and face bytes plus 12 bytes of normal per face, so
// its size over the file's is fixed by the ratio of vertices to faces: 1.68 here.
//
// Counters: file_MB; peak_rss_MB, the resident size of a process (a fork of this one) once it
// has loaded the model; peak_per_file, that size over the file size; model_per_file, what
// loading added to the resident size, over the file size.
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "scene/Scene.h"
#include "tools/chunkwriter/ChunkWriter.h"

namespace {

struct BenchModel {
    const char* name;
    int meshCount;
    int facesPerMesh;
};

const BenchModel kModels[] = {{"20MB", 40, 30000}, {"160MB", 140, 65535}};

constexpr int kMaterialCount = 8;

std::string ModelPath(const BenchModel& model) {
    const char* folder = std::getenv("TMPDIR");
    return std::string(folder != nullptr ? folder : "/tmp") + "/bench_load_" + model.name + "_" +
           std::to_string(getpid()) + ".3ds";
}

// Meshes of a rippled grid, each face a triangle of neighbouring grid points, each mesh in
// one of a few materials.
void WriteModel(const BenchModel& model, const std::string& path) {
    ChunkWriter w;
    w.Begin(0x4D4D);
    w.Begin(0x3D3D);
    w.MasterScale(1.0f);
    for (int m = 0; m < kMaterialCount; ++m) {
        w.Material("Material" + std::to_string(m), static_cast<std::uint8_t>(30 * m), 128,
                   static_cast<std::uint8_t>(255 - 30 * m));
    }
    const int vertexCount = model.facesPerMesh * 4 / 5;
    const int columns = 200;
    for (int mesh = 0; mesh < model.meshCount; ++mesh) {
        w.Begin(0x4000);
        w.String("Mesh" + std::to_string(mesh));
        w.Begin(0x4100);
        std::vector<float> xyz;
        xyz.reserve(3 * static_cast<std::size_t>(vertexCount));
        for (int i = 0; i < vertexCount; ++i) {
            const float x = static_cast<float>(i % columns) + 250.0f * static_cast<float>(mesh);
            const float y = static_cast<float>(i / columns);
            xyz.insert(xyz.end(), {x, y, std::sin(0.1f * x) * std::cos(0.13f * y)});
        }
        w.VertexList(xyz);
        w.Begin(0x4120);
        std::vector<std::uint16_t> abc;
        abc.reserve(3 * static_cast<std::size_t>(model.facesPerMesh));
        const int corners = vertexCount - columns - 1;
        for (int f = 0; f < model.facesPerMesh; ++f) {
            const auto k = static_cast<std::uint16_t>((f / 2) % corners);
            if (f % 2 == 0) {
                abc.insert(abc.end(), {k, static_cast<std::uint16_t>(k + 1),
                                       static_cast<std::uint16_t>(k + columns)});
            } else {
                abc.insert(abc.end(), {static_cast<std::uint16_t>(k + 1),
                                       static_cast<std::uint16_t>(k + columns + 1),
                                       static_cast<std::uint16_t>(k + columns)});
            }
        }
        w.FaceRecords(abc);
        w.MaterialGroup("MATERIAL" + std::to_string(mesh % kMaterialCount), {0});
        w.End();
        w.End();
        w.End();
    }
    w.End();
    w.End();
    if (!w.WriteFile(path)) {
        std::fprintf(stderr, "bench_load: cannot write %s\n", path.c_str());
        std::_Exit(1);
    }
}

// Writes the model in a child process, so that building it in memory does not count towards
// this process's peak resident size.
bool WriteModelApart(const BenchModel& model, const std::string& path) {
    const pid_t child = fork();
    if (child == 0) {
        WriteModel(model, path);
        std::_Exit(0);
    }
    int status = 0;
    return child > 0 && waitpid(child, &status, 0) == child && WIFEXITED(status) &&
           WEXITSTATUS(status) == 0;
}

long FileSize(const std::string& path) {
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    return in ? static_cast<long>(in.tellg()) : -1;
}

// Reads the whole file once, so that the timed loads find it in the page cache.
void WarmPageCache(const std::string& path) {
    std::FILE* in = std::fopen(path.c_str(), "rb");
    if (in == nullptr) {
        return;
    }
    std::vector<char> block(1 << 20);
    while (std::fread(block.data(), 1, block.size(), in) == block.size()) {
    }
    std::fclose(in);
}

// The resident size of this process now, in bytes (Linux).
double ResidentBytes() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.compare(0, 6, "VmRSS:") == 0) {
            return std::atof(line.c_str() + 6) * 1024.0;
        }
    }
    return 0.0;
}

// Loads the model once in a child of this process, whose memory holds nothing else: its
// resident size with the model loaded (loading holds nothing transient, so this is its peak)
// and what loading added to it, both in bytes.
struct LoadMemory {
    double peak = 0.0;
    double growth = 0.0;
};

LoadMemory MeasureOneLoad(const std::string& path) {
    int channel[2];
    if (pipe(channel) != 0) {
        return {};
    }
    const pid_t child = fork();
    if (child == 0) {
        close(channel[0]);
        malloc_trim(0);  // memory freed by earlier loads is not to be found resident again
        LoadMemory memory;
        const double before = ResidentBytes();
        {
            Scene scene(path.c_str());
            memory.peak = ResidentBytes();
        }
        memory.growth = memory.peak - before;
        const bool sent = write(channel[1], &memory, sizeof memory) == sizeof memory;
        std::_Exit(sent ? 0 : 1);
    }
    close(channel[1]);
    LoadMemory memory;
    const bool received = read(channel[0], &memory, sizeof memory) == sizeof memory;
    close(channel[0]);
    int status = 0;
    if (child < 0 || waitpid(child, &status, 0) != child || !received) {
        return {};
    }
    return memory;
}

void LoadModel(benchmark::State& state, const BenchModel& model) {
    const std::string path = ModelPath(model);
    if (!WriteModelApart(model, path)) {
        state.SkipWithError("cannot write the model");
        return;
    }
    const long size = FileSize(path);
    WarmPageCache(path);
    const LoadMemory memory = MeasureOneLoad(path);

    for (auto _ : state) {
        auto scene = std::make_unique<Scene>(path.c_str());
        benchmark::DoNotOptimize(scene->bytesRead);
        state.PauseTiming();
        const bool whole = scene->loaded == 1 && scene->bytesRead == size;
        scene.reset();
        malloc_trim(0);  // each load finds fresh memory, as the program's one load does
        state.ResumeTiming();
        if (!whole) {
            state.SkipWithError("the model was not read whole");
            break;
        }
    }
    std::remove(path.c_str());

    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * size);
    state.counters["file_MB"] = static_cast<double>(size) / 1e6;
    state.counters["peak_rss_MB"] = memory.peak / 1e6;
    state.counters["peak_per_file"] = memory.peak / static_cast<double>(size);
    state.counters["model_per_file"] = memory.growth / static_cast<double>(size);
}

// The same file read whole with one fread into one buffer: the ceiling a reader can approach.
void ReadFileBare(benchmark::State& state, const BenchModel& model) {
    const std::string path = ModelPath(model);
    if (!WriteModelApart(model, path)) {
        state.SkipWithError("cannot write the model");
        return;
    }
    const long size = FileSize(path);
    WarmPageCache(path);
    for (auto _ : state) {
        std::FILE* in = std::fopen(path.c_str(), "rb");
        std::unique_ptr<unsigned char[]> buffer(new unsigned char[size]);
        const std::size_t got = std::fread(buffer.get(), 1, size, in);
        std::fclose(in);
        benchmark::DoNotOptimize(buffer.get());
        if (got != static_cast<std::size_t>(size)) {
            state.SkipWithError("short read");
            break;
        }
    }
    std::remove(path.c_str());
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * size);
}

}  // namespace

int main(int argc, char** argv) {
    for (const BenchModel& model : kModels) {
        benchmark::RegisterBenchmark((std::string("Load/") + model.name).c_str(), LoadModel, model)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
    }
    for (const BenchModel& model : kModels) {
        benchmark::RegisterBenchmark((std::string("BareRead/") + model.name).c_str(), ReadFileBare,
                                     model)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
