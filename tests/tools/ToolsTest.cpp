// model-info and make-sample: their command lines, a path and a flag in either order; why a
// file cannot be a model, with the line the programs print; and make-sample's files landing in
// their folder, where what is there stays unless replaced.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "scene/ChunkIds.h"
#include "scene/ModelFileCheck.h"
#include "tests/support/ModelFile.h"
#include "tests/tools/CommandLineCheck.h"
#include "tools/chunkwriter/ChunkWriter.h"
#include "tools/make-sample/MakeSampleOptions.h"
#include "tools/make-sample/SampleFileWriter.h"
#include "tools/model-info/ModelInfoOptions.h"

namespace {

namespace fs = std::filesystem;

// clang-format off
TEST(ToolOptions, ModelInfo) {
    ExpectOutcomes(ParseModelInfoCommandLine, "model-info",
        [](const ModelInfoOptions& o) {
            return o.modelPath + (o.dump ? " dump" : "") + (o.dumpMaterials ? " materials" : "");
        },
        {{"p", -1, "p"}, {"--dump p", -1, "p dump"}, {"p --dump", -1, "p dump"},
         {"--dump-materials p", -1, "p materials"}, {"--dump --dump-materials p", 2, "excludes"},
         {"", 2, "FILE"}, {"--dump", 2, "FILE"}, {"--frobnicate m.3ds", 2, "--frobnicate"},
         {"a.3ds b.3ds", 2, "b.3ds"}, {"--help", 0, "Usage: model-info"},
         {"--version", 0, "model-info " PROJECT_VERSION "\n"}});
}

TEST(ToolOptions, MakeSample) {
    ExpectOutcomes(ParseMakeSampleCommandLine, "make-sample",
        [](const MakeSampleOptions& o) { return o.directory + (o.force ? " force" : ""); },
        {{"p", -1, "p"}, {"--force p", -1, "p force"}, {"p --force", -1, "p force"},
         {"", 2, "DIR"}, {"''", 2, "DIR"}, {"a b", 2, "b"}, {"--bogus out", 2, "--bogus"},
         {"--help", 0, "Usage: make-sample"},
         {"--version", 0, "make-sample " PROJECT_VERSION "\n"}});
}
// clang-format on

// The line for `path`, or "" when the file passes.
std::string Check(const std::string& path) {
    const auto problem = CheckModelFile(path);
    return problem ? DescribeModelFileProblem(path, *problem) : "";
}

TEST(ModelFileCheck, NamesTheFileAndWhyItIsNoModel) {
    ChunkWriter mainChunk, editor;
    mainChunk.Begin(chunk::kMain);
    mainChunk.End();
    editor.Begin(chunk::kEditor);
    editor.End();
    const ModelFile model(mainChunk.bytes()), other(editor.bytes()), oneByte({0x4D});
    const std::string folder = ::testing::TempDir(), missing = folder + "no-such-model.3ds";
    const std::string notAModel = " is not a 3DS model: it ";
    EXPECT_EQ(Check(model.path()), "");
    EXPECT_EQ(Check(other.path()),
              other.path() + notAModel + "begins with 0x3D3D, not the main chunk 0x4D4D");
    EXPECT_EQ(Check(oneByte.path()),
              oneByte.path() + notAModel + "is shorter than a chunk identifier");
    EXPECT_EQ(Check(folder), folder + notAModel + "is a directory");
    EXPECT_EQ(Check(missing), "cannot open " + missing + ": " + std::strerror(ENOENT));
}

std::string Contents(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(SampleFileWriter, WritesIntoNewFoldersAndReplacesOnlyWhenAsked) {
    const fs::path dir = fs::path(ScratchPath("folder")) / "new";
    fs::remove_all(dir.parent_path());
    const std::vector<SampleFile> files = {{"kelm.3ds", {'M', 'M'}}, {"groud.wav", {'R', 'I'}}};
    EXPECT_EQ(WriteSampleFiles(dir, files, false), "");
    EXPECT_EQ(Contents(dir / "kelm.3ds") + Contents(dir / "groud.wav"), "MMRI");
    EXPECT_NE(WriteSampleFiles(dir / "kelm.3ds" / "sub", files, true), "");  // under a file
    // A user's own model stops everything, so nothing of the sample is half there.
    std::ofstream(dir / "kelm.3ds") << "mine";
    fs::remove(dir / "groud.wav");
    EXPECT_NE(WriteSampleFiles(dir, files, false), "");
    EXPECT_EQ(Contents(dir / "kelm.3ds") + std::to_string(fs::exists(dir / "groud.wav")), "mine0");
    EXPECT_EQ(WriteSampleFiles(dir, files, true), "");
    EXPECT_EQ(Contents(dir / "kelm.3ds"), "MM");
    fs::remove_all(dir.parent_path());
}

}  // namespace
