// make-sample DIR: writes the sample model DIR/kelm.3ds and the sample sound DIR/groud.wav
// that the walk-through reads from its working directory; with --textured, the textured sample
// model and its images in their place. See MakeSampleOptions.h.
#include <cstdio>
#include <string>
#include <vector>

#include "scene/DefaultFiles.h"
#include "tools/make-sample/AmbientSound.h"
#include "tools/make-sample/MakeSampleOptions.h"
#include "tools/make-sample/ModelEncoder.h"
#include "tools/make-sample/PngEncoder.h"
#include "tools/make-sample/SampleFileWriter.h"
#include "tools/make-sample/SceneLayout.h"
#include "tools/make-sample/TexturedModelEncoder.h"
#include "tools/make-sample/WavEncoder.h"

namespace {

constexpr int kExitWritten = 0;
constexpr int kExitNotWritten = 1;

constexpr int kSampleRate = 22050;
constexpr double kSoundSeconds = 20.0;

// The model, with its face count, and then the images its materials name, each once.
std::vector<SampleFile> ModelFiles(bool textured, std::size_t& faces) {
    const SampleScene plain = BuildSampleScene();
    if (!textured) {
        faces = plain.FaceCount();
        return {{kDefaultModelFile, EncodeModel(plain, 1.0f, kStartX, kStartY)}};
    }
    const TexturedScene scene = BuildTexturedScene(plain, kStartX, kStartY);
    faces = scene.FaceCount();
    std::vector<SampleFile> files = {{kDefaultModelFile, EncodeTexturedModel(scene, 1.0f)}};
    for (const TexturedMaterial& material : scene.materials) {
        if (material.pattern) {
            files.push_back(
                {MapFileName(material.mapName), EncodePng(PaintPattern(*material.pattern))});
        }
    }
    return files;
}

int MakeSample(const MakeSampleOptions& options) {
    std::size_t faces = 0;
    std::vector<SampleFile> files = ModelFiles(options.textured, faces);
    const std::size_t images = files.size() - 1;
    files.insert(files.begin() + 1,
                 {kDefaultSoundFile,
                  EncodeWav(SynthesiseAmbience(kSampleRate, kSoundSeconds), kSampleRate, 1)});
    const std::filesystem::path dir = options.directory;
    const std::string failure = WriteSampleFiles(dir, files, options.force);
    if (!failure.empty()) {
        std::fprintf(stderr, "make-sample: %s\n", failure.c_str());
        return kExitNotWritten;
    }
    std::printf("make-sample: wrote %s (%zu faces, %zu bytes) and %s (%.0f s)",
                (dir / files[0].name).string().c_str(), faces, files[0].bytes.size(),
                (dir / files[1].name).string().c_str(), kSoundSeconds);
    if (images > 0) {
        std::printf(" and %zu images beside them", images);
    }
    std::printf("\n");
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
