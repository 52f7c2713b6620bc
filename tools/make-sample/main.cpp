// make-sample DIR: writes the sample model DIR/kelm.3ds and the sample sound DIR/groud.wav
// that the walk-through reads from its working directory.
//
// Exit status: 0 when both files were written, 1 when DIR cannot be created or written,
// 2 for bad usage.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>
#include <vector>

#include "tools/make-sample/AmbientSound.h"
#include "tools/make-sample/ModelEncoder.h"
#include "tools/make-sample/SceneLayout.h"
#include "tools/make-sample/WavEncoder.h"

namespace {

constexpr int kSampleRate = 22050;
constexpr double kSoundSeconds = 20.0;

void PrintUsage(std::FILE* out) {
    std::fputs(
        "Usage: make-sample DIR\n"
        "Writes the sample scene DIR/kelm.3ds and its sound DIR/groud.wav, creating DIR if\n"
        "needed. Run the walk-through from DIR to walk through them.\n"
        "  --help     show this help\n"
        "  --version  show the version\n",
        out);
}

bool WriteBytes(const std::filesystem::path& path, const std::vector<unsigned char>& bytes) {
    errno = 0;
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
        std::fprintf(stderr, "make-sample: cannot write %s: %s\n", path.string().c_str(),
                     errno != 0 ? std::strerror(errno) : "write failed");
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && std::strcmp(argv[1], "--help") == 0) {
        PrintUsage(stdout);
        return 0;
    }
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        std::printf("make-sample %s\n", MAKE_SAMPLE_VERSION);
        return 0;
    }
    if (argc != 2 || argv[1][0] == '-' || argv[1][0] == '\0') {
        PrintUsage(stderr);
        return 2;
    }

    const std::filesystem::path dir = argv[1];
    std::error_code error;
    std::filesystem::create_directories(dir, error);
    if (error) {
        std::fprintf(stderr, "make-sample: cannot create %s: %s\n", dir.string().c_str(),
                     error.message().c_str());
        return 1;
    }

    const SampleScene scene = BuildSampleScene();
    const std::vector<unsigned char> model = EncodeModel(scene, 1.0f, kStartX, kStartY);
    const std::vector<unsigned char> sound =
        EncodeWav(SynthesiseAmbience(kSampleRate, kSoundSeconds), kSampleRate, 1);
    if (!WriteBytes(dir / "kelm.3ds", model) || !WriteBytes(dir / "groud.wav", sound)) {
        return 1;
    }
    std::printf("make-sample: wrote %s (%zu faces, %zu bytes) and %s (%.0f s)\n",
                (dir / "kelm.3ds").string().c_str(), scene.FaceCount(), model.size(),
                (dir / "groud.wav").string().c_str(), kSoundSeconds);
    return 0;
}
