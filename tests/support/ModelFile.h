// Writes a model built with the chunk writer to a file of its own in the tests' scratch folder.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "tools/chunkwriter/ChunkWriter.h"

inline std::string WriteModelFile(const ChunkWriter& writer, const std::string& name) {
    const std::string path = ::testing::TempDir() + name;
    EXPECT_TRUE(writer.WriteFile(path)) << path;
    return path;
}
