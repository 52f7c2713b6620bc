// bench_load: how fast the walk-through's reader loads big models from a warm page cache, and
// how much memory a loaded model takes.
//
// Two models are written with the chunk writer before timing: about 20 MB (40 meshes of 30,000
// faces) and about 160 MB (140 meshes of 65,535 faces), four vertices for every five faces.
// Target: at most 1.0 times the time of Reference, the fastest straight-line reader of the same
// chunks (printed as "Load / Reference" after the table), in this process and in whole processes
// (bench_load --load FILE against bench_load --reference FILE, see RunOnce).
// A loaded model holds the file's bytes (mapped, so only the pages read count), 12 bytes of
// normal per face and, as each mesh's material group matches a material, 2 bytes of face material
// per face; the face records of a face list that lies on an odd offset are copied out.
//
// Counters: file_MB; peak_rss_MB, the highest resident size of a process (a fork of this one)
// while it loads the model (its VmHWM, reset before loading); peak_per_file, that size over
// the file size; held_per_file, the resident size once loaded over the file size;
// model_per_file, what loading added to the resident size, over the file size.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <malloc.h>
#include <strings.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "bench/LoadModel.h"
#include "scene/ChunkIds.h"
#include "scene/Scene.h"

namespace {

using BenchModel = LoadModelShape;
const auto& kModels = kLoadModels;

std::string ModelPath(const BenchModel& model) {
    const char* folder = std::getenv("TMPDIR");
    return std::string(folder != nullptr ? folder : "/tmp") + "/bench_load_" + model.name + "_" +
           std::to_string(getpid()) + ".3ds";
}

// Writes the model in a child process, so that building it in memory does not count towards
// this process's peak resident size.
bool WriteModelApart(const BenchModel& model, const std::string& path) {
    const pid_t child = fork();
    if (child == 0) {
        std::_Exit(WriteLoadModel(model, path) ? 0 : 1);
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

// A figure of this process's /proc status in bytes (Linux): "VmRSS:" now, "VmHWM:" its peak.
double StatusBytes(const char* field) {
    std::ifstream status("/proc/self/status");
    const std::size_t fieldLength = std::strlen(field);
    std::string line;
    while (std::getline(status, line)) {
        if (line.compare(0, fieldLength, field) == 0) {
            return std::atof(line.c_str() + fieldLength) * 1024.0;
        }
    }
    return 0.0;
}

// Starts the peak resident size afresh from the present one: a fork inherits its parent's.
bool ResetPeakResident() {
    std::ofstream clear("/proc/self/clear_refs");
    clear << "5";
    clear.flush();
    return static_cast<bool>(clear);
}

// Loads the model once in a child of this process, whose memory holds nothing else: its
// highest resident size while loading, its resident size with the model loaded, and what
// loading added to it, all in bytes.
struct LoadMemory {
    double peak = 0.0;
    double held = 0.0;
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
        const bool reset = ResetPeakResident();
        const double before = StatusBytes("VmRSS:");
        {
            Scene scene(path.c_str());
            memory.held = StatusBytes("VmRSS:");
            memory.peak = reset ? StatusBytes("VmHWM:") : 0.0;
        }
        memory.growth = memory.held - before;
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

// Writes the model to `path` and reads it once into the page cache; its size, or -1 (the
// benchmark skipped) when it cannot be written.
long PrepareModel(benchmark::State& state, const BenchModel& model, const std::string& path) {
    if (!WriteModelApart(model, path)) {
        state.SkipWithError("cannot write the model");
        return -1;
    }
    WarmPageCache(path);
    return FileSize(path);
}

void LoadModel(benchmark::State& state, const BenchModel& model) {
    const std::string path = ModelPath(model);
    const long size = PrepareModel(state, model, path);
    if (size < 0) {
        return;
    }
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
    state.counters["held_per_file"] = memory.held / static_cast<double>(size);
    state.counters["model_per_file"] = memory.growth / static_cast<double>(size);
}

// The same file read whole with one fread into one buffer: the ceiling a reader can approach.
void ReadFileBare(benchmark::State& state, const BenchModel& model) {
    const std::string path = ModelPath(model);
    const long size = PrepareModel(state, model, path);
    if (size < 0) {
        return;
    }
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

// The reference: a straight-line reader of the chunks the walk-through reads from these models
// (the containers, master scale, mesh names, vertex and face lists, material groups, material
// names and colours), written to be as fast as one thread can be. The file is mapped once and
// read in place: the vertices and faces are where the mapping has them; the buffers it makes are
// written once (the normals computed straight into theirs, each face's material as a 16-bit
// index into zeroed memory); no call per chunk, no check: it trusts every length, count and
// index, which only a file made here may be given. Its normals are the walk-through's to the
// bit. Loading is measured against it.
struct ReferenceMaterial {
    const char* name = "";  // in the mapping
    float color[3] = {1.0f, 1.0f, 1.0f};
};

struct ReferenceMesh {
    const char* name = "";  // in the mapping
    std::uint32_t vertexCount = 0;
    const unsigned char* vertices = nullptr;  // x, y, z per vertex, in the mapping
    std::uint32_t faceCount = 0;
    const unsigned char* faces = nullptr;  // a, b, c and the flags per face, in the mapping
    float* normals = nullptr;
    std::uint16_t* faceMaterials = nullptr;  // 0: none, else 1 + the material's index
    const ReferenceMaterial* material = nullptr;
};

struct ReferenceModel {
    float scale = 1.0f;
    std::vector<ReferenceMaterial> materials;
    std::vector<ReferenceMesh> meshes;
    void* mapping = nullptr;  // the file, which the meshes point into
    std::size_t mappingBytes = 0;

    ReferenceModel() = default;
    ReferenceModel(const ReferenceModel&) = delete;
    ReferenceModel& operator=(const ReferenceModel&) = delete;
    ~ReferenceModel() {
        for (ReferenceMesh& mesh : meshes) {
            std::free(mesh.normals);
            std::free(mesh.faceMaterials);
        }
        if (mapping != nullptr) {
            munmap(mapping, mappingBytes);
        }
    }
};

// Fresh memory for a buffer about to be written whole, mapped at once in large pages, as the
// walk-through's reader maps its big buffers.
void* FreshBuffer(std::size_t bytes) {
    void* buffer = std::malloc(bytes);
    if (bytes >= 64 * 1024 && buffer != nullptr) {
        const auto page = static_cast<std::uintptr_t>(sysconf(_SC_PAGESIZE));
        const auto at = reinterpret_cast<std::uintptr_t>(buffer);
        const std::uintptr_t begin = at / page * page;
        const std::uintptr_t end = (at + bytes + page - 1) / page * page;
        madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);
        madvise(reinterpret_cast<void*>(begin), end - begin, MADV_POPULATE_WRITE);
    }
    return buffer;
}

template <class T>
T Take(const unsigned char* at) {
    T value;
    std::memcpy(&value, at, sizeof value);
    return value;
}

// The normals of faces [0, count), each rounded to float at the walk-through's steps.
void ReferenceNormals(const unsigned char* vertices, const unsigned char* faces,
                      std::uint32_t count, float* normals) {
    for (std::uint32_t i = 0; i < count; ++i) {
        float p[3][3];
        for (int k = 0; k < 3; ++k) {
            const std::uint16_t index = Take<std::uint16_t>(faces + 8 * std::size_t{i} + 2 * k);
            std::memcpy(p[k], vertices + 12 * std::size_t{index}, sizeof p[k]);
        }
        const double ux = static_cast<float>(static_cast<double>(p[1][0]) - p[0][0]);
        const double uy = static_cast<float>(static_cast<double>(p[1][1]) - p[0][1]);
        const double uz = static_cast<float>(static_cast<double>(p[1][2]) - p[0][2]);
        const double vx = static_cast<float>(static_cast<double>(p[2][0]) - p[1][0]);
        const double vy = static_cast<float>(static_cast<double>(p[2][1]) - p[1][1]);
        const double vz = static_cast<float>(static_cast<double>(p[2][2]) - p[1][2]);
        const double nx = static_cast<float>(uy * vz - uz * vy);
        const double ny = static_cast<float>(uz * vx - ux * vz);
        const double nz = static_cast<float>(ux * vy - uy * vx);
        const double squares = static_cast<float>(nx * nx + ny * ny + nz * nz);
        double length = static_cast<float>(std::sqrt(squares));
        if (length == 0.0) {
            length = 1.0;
        }
        normals[3 * i] = static_cast<float>(nx / length);
        normals[3 * i + 1] = static_cast<float>(ny / length);
        normals[3 * i + 2] = static_cast<float>(nz / length);
    }
}

class ReferenceReader {
public:
    explicit ReferenceReader(ReferenceModel& model) : model_(model) {}

    // Walks the chunks in [at, end).
    void Walk(const unsigned char* at, const unsigned char* end) {
        while (end - at >= 6) {
            const std::uint16_t id = Take<std::uint16_t>(at);
            const unsigned char* body = at + 6;
            at += Take<std::uint32_t>(at + 2);
            switch (id) {
                case chunk::kMain:
                case chunk::kEditor:
                case chunk::kTriMesh:
                case chunk::kMaterialBlock:
                    Walk(body, at);
                    break;
                case chunk::kMasterScale:
                    model_.scale = Take<float>(body);
                    break;
                case chunk::kNamedObject:
                    model_.meshes.emplace_back();
                    model_.meshes.back().name = reinterpret_cast<const char*>(body);
                    Walk(body + std::strlen(reinterpret_cast<const char*>(body)) + 1, at);
                    break;
                case chunk::kVertexList: {
                    ReferenceMesh& mesh = model_.meshes.back();
                    mesh.vertexCount = Take<std::uint16_t>(body);
                    mesh.vertices = body + 2;
                    break;
                }
                case chunk::kFaceList: {
                    ReferenceMesh& mesh = model_.meshes.back();
                    mesh.faceCount = Take<std::uint16_t>(body);
                    mesh.faces = body + 2;
                    mesh.normals =
                        static_cast<float*>(FreshBuffer(12 * std::size_t{mesh.faceCount}));
                    ReferenceNormals(mesh.vertices, mesh.faces, mesh.faceCount, mesh.normals);
                    Walk(body + 2 + 8 * std::size_t{mesh.faceCount}, at);
                    break;
                }
                case chunk::kMaterialGroup:
                    MaterialGroup(model_.meshes.back(), body);
                    break;
                case chunk::kMaterialName:
                    model_.materials.emplace_back();
                    model_.materials.back().name = reinterpret_cast<const char*>(body);
                    break;
                case chunk::kDiffuseColor:
                    for (int k = 0; k < 3; ++k) {
                        model_.materials.back().color[k] = static_cast<float>(body[6 + k] / 255.0);
                    }
                    break;
                default:
                    break;
            }
        }
    }

private:
    void MaterialGroup(ReferenceMesh& mesh, const unsigned char* body) {
        const char* name = reinterpret_cast<const char*>(body);
        std::uint16_t index = 0;
        for (std::size_t m = model_.materials.size(); m-- > 0;) {
            if (strcasecmp(model_.materials[m].name, name) == 0) {
                index = static_cast<std::uint16_t>(m + 1);
                break;
            }
        }
        if (index == 0) {
            return;
        }
        mesh.material = &model_.materials[index - 1u];
        if (mesh.faceMaterials == nullptr) {
            mesh.faceMaterials = static_cast<std::uint16_t*>(std::calloc(mesh.faceCount, 2));
        }
        const unsigned char* count = body + std::strlen(name) + 1;
        for (std::uint16_t i = 0; i < Take<std::uint16_t>(count); ++i) {
            mesh.faceMaterials[Take<std::uint16_t>(count + 2 + 2 * i)] = index;
        }
    }

    ReferenceModel& model_;
};

// Reads `path` into `model`; false when it cannot be mapped.
bool ReferenceRead(const std::string& path, ReferenceModel& model) {
    const int descriptor = open(path.c_str(), O_RDONLY);
    if (descriptor < 0) {
        return false;
    }
    struct stat status {};
    fstat(descriptor, &status);
    const auto size = static_cast<std::size_t>(status.st_size);
    void* mapped = mmap(nullptr, size, PROT_READ, MAP_PRIVATE | MAP_POPULATE, descriptor, 0);
    close(descriptor);
    if (mapped == MAP_FAILED) {
        return false;
    }
    model.mapping = mapped;
    model.mappingBytes = size;
    const auto* bytes = static_cast<const unsigned char*>(mapped);
    ReferenceReader(model).Walk(bytes, bytes + size);
    return true;
}

void Reference(benchmark::State& state, const BenchModel& model) {
    const std::string path = ModelPath(model);
    const long size = PrepareModel(state, model, path);
    if (size < 0) {
        return;
    }
    for (auto _ : state) {
        auto read = std::make_unique<ReferenceModel>();
        const bool mapped = ReferenceRead(path, *read);
        benchmark::DoNotOptimize(read->meshes.data());
        state.PauseTiming();
        const bool whole =
            mapped && read->meshes.size() == static_cast<std::size_t>(model.meshCount);
        read.reset();
        malloc_trim(0);
        state.ResumeTiming();
        if (!whole) {
            state.SkipWithError("the model was not read whole");
            break;
        }
    }
    std::remove(path.c_str());
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * size);
}

// The console table, and after it the ratio of Load's time to Reference's per model: of
// their medians when repetitions give one, else of their single runs.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    RatioReporter() : ConsoleReporter(isatty(STDOUT_FILENO) ? OO_ColorTabular : OO_Tabular) {}

    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
            if (!run.error_occurred && (median || run.run_type == Run::RT_Iteration)) {
                times_[run.run_name.function_name] = run.GetAdjustedRealTime();
            }
        }
    }

    void PrintRatios() const {
        for (const BenchModel& model : kModels) {
            const auto load = times_.find(std::string("Load/") + model.name);
            const auto plain = times_.find(std::string("Reference/") + model.name);
            if (load != times_.end() && plain != times_.end() && plain->second > 0.0) {
                std::printf("Load / Reference %s: %.3f\n", model.name,
                            load->second / plain->second);
            }
        }
    }

private:
    std::map<std::string, double> times_;
};

}  // namespace

// Whether the walk-through's reader and the reference read the same faces and normals, to the
// bit, from the model at `path`.
bool SameAsReference(const std::string& path) {
    ReferenceModel reference;
    Scene scene(path.c_str());
    if (!ReferenceRead(path, reference) || scene.loaded != 1) {
        return false;
    }
    std::size_t index = 0;
    for (const Mesh* mesh = g_meshHead->next; mesh != nullptr; mesh = mesh->next, ++index) {
        if (index == reference.meshes.size()) {
            return false;
        }
        const ReferenceMesh& plain = reference.meshes[index];
        const std::size_t faces = plain.faceCount;
        if (static_cast<std::size_t>(FaceCount(*mesh)) != faces ||
            static_cast<std::uint32_t>(mesh->vertexCount) != plain.vertexCount ||
            std::memcmp(mesh->vertices, plain.vertices, 12 * std::size_t{plain.vertexCount}) != 0 ||
            std::memcmp(FaceRecord(*mesh, 0), plain.faces, 8 * faces) != 0 ||
            (faces > 0 && std::memcmp(mesh->normals, plain.normals, 12 * faces) != 0)) {
            return false;
        }
    }
    return index == reference.meshes.size();
}

// The two readers in whole processes of their own, for timing from outside (the process's start,
// its loading and its release): bench_load --load FILE reads as model-info does, less its
// printing; bench_load --reference FILE reads with the reference; bench_load --check FILE says
// whether both read the same faces and normals.
int RunOnce(const std::string& mode, const std::string& path) {
    if (mode == "--load") {
        Scene scene(path.c_str());
        return scene.loaded == 1 ? 0 : 1;
    }
    if (mode == "--reference") {
        ReferenceModel model;
        return ReferenceRead(path, model) ? 0 : 1;
    }
    const bool same = SameAsReference(path);
    std::printf("%s\n", same ? "the same faces and normals" : "different");
    return same ? 0 : 1;
}

int main(int argc, char** argv) {
    if (argc == 3 && (std::string(argv[1]) == "--load" || std::string(argv[1]) == "--reference" ||
                      std::string(argv[1]) == "--check")) {
        return RunOnce(argv[1], argv[2]);
    }
    for (const BenchModel& model : kModels) {
        benchmark::RegisterBenchmark((std::string("Load/") + model.name).c_str(), LoadModel, model)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
    }
    for (const BenchModel& model : kModels) {
        benchmark::RegisterBenchmark((std::string("Reference/") + model.name).c_str(), Reference,
                                     model)
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
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintRatios();
    benchmark::Shutdown();
    return 0;
}
