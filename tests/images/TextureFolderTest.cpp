// Finding texture files beside the model: the rules of the lookup, and the folder listed once
// however many materials look in it.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "images/TextureFolder.h"
#include "tests/support/ModelFile.h"

namespace {

namespace fs = std::filesystem;

// Windows (and Wine) tell no letter case apart in file names: two names differing only in case
// are one file there.
#ifdef _WIN32
constexpr bool kCaseSensitiveFiles = false;
#else
constexpr bool kCaseSensitiveFiles = true;
#endif

class TextureFolderTest : public testing::Test {
protected:
    void SetUp() override {
        folder_ = ScratchPath("folder");
        fs::remove_all(folder_);
        fs::create_directories(folder_ / "Sub.png");  // a folder is no image
        for (const char* name : {"brick.jpg", "Wood.PNG", "wood.png", "ROOF.tga"}) {
            if (kCaseSensitiveFiles || std::string(name) != "wood.png") {
                std::ofstream(folder_ / name) << name;
            }
        }
        model_ = (folder_ / "house.3ds").u8string();
    }
    void TearDown() override { fs::remove_all(folder_); }
    std::string In(const char* name) const { return (folder_ / name).u8string(); }

    fs::path folder_;
    std::string model_;
};

TEST_F(TextureFolderTest, FindsTheExactNameFirstThenTheFoldersSpellingOfItsCase) {
    TextureFolder folder(model_);
    const std::pair<const char*, std::string> lookups[] = {
        {"BRICK.JPG", In("brick.jpg")},
        {"wood.png", In(kCaseSensitiveFiles ? "wood.png" : "Wood.PNG")},  // exactly first
        {"Wood.PNG", In("Wood.PNG")},
        {"C:\\MAPS\\roof.TGA", In("ROOF.tga")},  // the last component only
        {"../images/brick.jpg", In("brick.jpg")},
        {"sub.png", ""},  // a folder
        {"missing.bmp", ""},
        {"..", ""},
        {"", ""},
    };
    for (const auto& [name, found] : lookups) {
        EXPECT_EQ(folder.Find(name), found) << name;
    }
}

// A folder that cannot be listed may still let a name be opened: as written, then lower case.
TEST_F(TextureFolderTest, AnUnlistableFolderTriesTheNameAsWrittenThenInLowerCase) {
    TextureFolder folder(model_, [](const std::string&) { return std::nullopt; });
    EXPECT_EQ(folder.Find("Wood.PNG"), In("Wood.PNG"));
    if (kCaseSensitiveFiles) {
        EXPECT_EQ(folder.Find("BRICK.JPG"), In("brick.jpg"));
        EXPECT_EQ(folder.Find("Roof.tga"), "");
    }
}

// Two thousand materials in a folder of twenty thousand names: one listing.
TEST_F(TextureFolderTest, ManyMaterialsListTheFolderOnce) {
    int listings = 0;
    TextureFolder folder(model_, [&](const std::string& path) {
        ++listings;
        std::optional<std::vector<std::string>> names = ListFolder(path);
        for (int i = 0; names && i < 20000; ++i) {
            names->push_back("download-" + std::to_string(i) + ".txt");
        }
        return names;
    });
    for (int material = 0; material < 2000; ++material) {
        folder.Find(material % 2 == 0 ? "BRICK.JPG" : "T" + std::to_string(material) + ".PNG");
    }
    EXPECT_EQ(folder.Find("brick.JPG"), In("brick.jpg"));
    EXPECT_EQ(listings, 1);
}

}  // namespace
