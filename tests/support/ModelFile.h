// A model file on disk for the Scene to read, removed again when the test is done; a model of
// several meshes to fill one.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "tools/chunkwriter/ChunkWriter.h"

// A path in the scratch folder that no other test uses, even when ctest runs tests side by side.
inline std::string ScratchPath(const std::string& suffix) {
    const testing::TestInfo* test = testing::UnitTest::GetInstance()->current_test_info();
    std::string name = test != nullptr ? std::string(test->test_suite_name()) + "." + test->name()
                                       : std::string("no_test");
    for (char& c : name) {
        if (c == '/' || c == '\\' || c == ' ') {
            c = '_';
        }
    }
    return testing::TempDir() + name + "_" + suffix;
}

class ModelFile {
public:
    explicit ModelFile(const std::vector<unsigned char>& bytes) {
        static int serial = 0;
        path_ = ScratchPath(std::to_string(++serial) + ".3ds");
        std::ofstream out(path_, std::ios::binary);
        EXPECT_TRUE(out.write(reinterpret_cast<const char*>(bytes.data()), bytes.size())) << path_;
    }
    ~ModelFile() { std::remove(path_.c_str()); }
    ModelFile(const ModelFile&) = delete;
    ModelFile& operator=(const ModelFile&) = delete;

    const char* path() const { return path_.c_str(); }

private:
    std::string path_;
};

// A model of `count` meshes of one triangle each, side by side along x.
inline std::vector<unsigned char> Meshes(int count) {
    ChunkWriter w;
    w.BeginModel();
    for (int m = 0; m < count; ++m) {
        const float x = 2.0f * m;
        w.MeshObject({"M" + std::to_string(m), {x, 0, 0, x + 1, 0, 0, x, 1, 1}, {0, 1, 2}, {}});
    }
    w.EndModel();
    return w.bytes();
}
