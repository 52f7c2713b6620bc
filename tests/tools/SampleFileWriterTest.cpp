// make-sample's files land in their folder, and what is there already stays unless replaced.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "tests/support/ModelFile.h"
#include "tools/make-sample/SampleFileWriter.h"

namespace {

namespace fs = std::filesystem;

std::string Contents(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(SampleFileWriter, WritesIntoNewFoldersAndReplacesOnlyWhenAsked) {
    const fs::path scratch = ScratchPath("folder");
    fs::remove_all(scratch);
    const std::vector<SampleFile> files = {{"kelm.3ds", {'M', 'M'}}, {"groud.wav", {'R', 'I'}}};

    EXPECT_EQ(WriteSampleFiles(scratch / "new", files, false), "");
    EXPECT_EQ(Contents(scratch / "new" / "kelm.3ds"), "MM");
    EXPECT_EQ(Contents(scratch / "new" / "groud.wav"), "RI");

    // A user's own model stops everything, so nothing of the sample is half there.
    fs::create_directories(scratch / "mine");
    std::ofstream(scratch / "mine" / "kelm.3ds") << "mine";
    const std::string refused = WriteSampleFiles(scratch / "mine", files, false);
    EXPECT_EQ(refused,
              (scratch / "mine" / "kelm.3ds").string() + " is already there; --force replaces it");
    EXPECT_EQ(Contents(scratch / "mine" / "kelm.3ds"), "mine");
    EXPECT_FALSE(fs::exists(scratch / "mine" / "groud.wav"));
    EXPECT_EQ(WriteSampleFiles(scratch / "mine", files, true), "");
    EXPECT_EQ(Contents(scratch / "mine" / "kelm.3ds"), "MM");

    // No folder can be made under a file.
    const std::string underAFile =
        WriteSampleFiles(scratch / "new" / "kelm.3ds" / "sub", files, true);
    EXPECT_EQ(underAFile.rfind("cannot create ", 0), 0u) << underAFile;
    fs::remove_all(scratch);
}

}  // namespace
