// Why a file cannot be a model: each kind of file once, with the line the programs print.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <string>

#include "scene/ChunkIds.h"
#include "scene/ModelFileCheck.h"
#include "tests/support/ModelFile.h"
#include "tools/chunkwriter/ChunkWriter.h"

namespace {

std::vector<unsigned char> EmptyChunk(std::uint16_t id) {
    ChunkWriter w;
    w.Begin(id);
    w.End();
    return w.bytes();
}

// The line for `path`, or "" when the file passes.
std::string Check(const std::string& path) {
    const auto problem = CheckModelFile(path);
    return problem ? DescribeModelFileProblem(path, *problem) : "";
}

TEST(ModelFileCheck, NamesTheFileAndWhyItIsNoModel) {
    const ModelFile model(EmptyChunk(chunk::kMain));
    const ModelFile otherChunk(EmptyChunk(chunk::kEditor));
    const ModelFile oneByte({0x4D});
    const ModelFile empty({});
    const std::string folder = ::testing::TempDir();
    const std::string missing = folder + "no-such-model.3ds";

    EXPECT_EQ(Check(model.path()), "");
    const std::string notAModel = " is not a 3DS model: ";
    EXPECT_EQ(Check(otherChunk.path()),
              otherChunk.path() + notAModel + "it begins with 0x3D3D, not the main chunk 0x4D4D");
    EXPECT_EQ(Check(oneByte.path()),
              oneByte.path() + notAModel + "it is shorter than a chunk identifier");
    EXPECT_EQ(Check(empty.path()),
              empty.path() + notAModel + "it is shorter than a chunk identifier");
    EXPECT_EQ(Check(folder), folder + notAModel + "it is a directory");
    EXPECT_EQ(Check(missing), "cannot open " + missing + ": " + std::strerror(ENOENT));
    EXPECT_EQ(CheckModelFile(missing)->kind, ModelFileProblem::Kind::CannotOpen);
    EXPECT_EQ(CheckModelFile(folder)->kind, ModelFileProblem::Kind::NotA3dsModel);
}

}  // namespace
