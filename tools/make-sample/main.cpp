// make-sample DIR: writes the sample model DIR/kelm.3ds and the sample sound DIR/groud.wav
// that the walk-through reads from its working directory. See MakeSampleOptions.h.
#include <cstdio>
#include <string>
#include <vector>

#include "tools/make-sample/AmbientSound.h"
#include "tools/make-sample/MakeSampleOptions.h"
#include "tools/make-sample/ModelEncoder.h"
#include "tools/make-sample/SampleFileWriter.h"
#include "tools/make-sample/SceneLayout.h"
#include "tools/make-sample/WavEncoder.h"

namespace {

constexpr int kExitWritten = 0;
constexpr int kExitNotWritten = 1;

constexpr int kSampleRate = 22050;
constexpr double kSoundSeconds = 20.0;

int MakeSample(const MakeSampleOptions& options) {
    const SampleScene scene = BuildSampleScene();
    const std::vector<SampleFile> files = {
        {"kelm.3ds", EncodeModel(scene, 1.0f, kStartX, kStartY)},
        {"groud.wav", EncodeWav(SynthesiseAmbience(kSampleRate, kSoundSeconds), kSampleRate, 1)},
    };
    const std::filesystem::path dir = options.directory;
    const std::string failure = WriteSampleFiles(dir, files, options.force);
    if (!failure.empty()) {
        std::fprintf(stderr, "make-sample: %s\n", failure.c_str());
        return kExitNotWritten;
    }
    std::printf("make-sample: wrote %s (%zu faces, %zu bytes) and %s (%.0f s)\n",
                (dir / files[0].name).string().c_str(), scene.FaceCount(), files[0].bytes.size(),
                (dir / files[1].name).string().c_str(), kSoundSeconds);
    return kExitWritten;
}

}  // namespace

int main(int argc, char** argv) {
    const ParsedCommandLine<MakeSampleOptions> parsed = ParseMakeSampleCommandLine(argc, argv);
    if (parsed.stop) {
        return PrintStop(*parsed.stop);
    }
    return MakeSample(parsed.options);
}
