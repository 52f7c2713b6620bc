// A model's texture files: found beside it by the rules of the lookup, its folder listed once
// however many materials look in it; then from its materials to the uploader, each file found,
// read and decoded once, uploaded as soon as it is decoded, within the model's budget and the
// uploader's largest side, every refusal one line naming the image, its material and the reason.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <list>

#include "images/ModelTextures.h"
#include "images/TextureFolder.h"
#include "tests/support/ModelFile.h"
#include "tools/imagewriter/ImageWriters.h"

namespace {

namespace fs = std::filesystem;

// Windows (and Wine) tell no letter case apart in file names: two names differing only in case
// are one file there.
#ifdef _WIN32
constexpr bool kCaseSensitiveFiles = false;
#else
constexpr bool kCaseSensitiveFiles = true;
#endif

// A model's folder of its own, with the files a test writes.
class BesideTheModel : public testing::Test {
protected:
    void SetUp() override {
        folder_ = ScratchPath("folder");
        fs::remove_all(folder_);
        fs::create_directories(folder_);
    }
    void TearDown() override { fs::remove_all(folder_); }
    void Write(const char* name, const ImageBytes& bytes) {
        ASSERT_TRUE(WriteImageFile((folder_ / name).u8string(), bytes));
    }
    // The folder for the lookups: a folder named like an image, and names in several cases.
    void WriteNames() {
        fs::create_directories(folder_ / "Sub.png");  // a folder is no image
        for (const char* name : {"brick.jpg", "Wood.PNG", "wood.png", "ROOF.tga"}) {
            if (kCaseSensitiveFiles || std::string(name) != "wood.png") {
                std::ofstream(folder_ / name) << name;
            }
        }
    }
    std::string In(const char* name) const { return (folder_ / name).u8string(); }
    std::string ModelPath() const { return In("house.3ds"); }

    fs::path folder_;
};

TEST_F(BesideTheModel, TheExactNameIsFoundFirstThenTheFoldersSpellingOfItsCase) {
    WriteNames();
    TextureFolder folder(ModelPath());
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
TEST_F(BesideTheModel, AnUnlistableFolderTriesTheNameAsWrittenThenInLowerCase) {
    WriteNames();
    TextureFolder folder(ModelPath(), [](const std::string&) { return std::nullopt; });
    EXPECT_EQ(folder.Find("Wood.PNG"), In("Wood.PNG"));
    if (kCaseSensitiveFiles) {
        EXPECT_EQ(folder.Find("BRICK.JPG"), In("brick.jpg"));
        EXPECT_EQ(folder.Find("Roof.tga"), "");
    }
}

// Two thousand materials in a folder of twenty thousand names: one listing.
TEST_F(BesideTheModel, ManyMaterialsListTheFolderOnce) {
    WriteNames();
    int listings = 0;
    TextureFolder folder(ModelPath(), [&](const std::string& path) {
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

class RecordingUploader : public TextureUploader {
public:
    explicit RecordingUploader(int largest) : largest_(largest) {}
    int LargestSide() override {
        ++asked;
        return largest_;
    }
    int Upload(const TextureImage& image) override {
        sizes.emplace_back(image.width, image.height);
        return static_cast<int>(sizes.size()) + 9;  // indices the drawing chose
    }
    int asked = 0;
    std::vector<std::pair<int, int>> sizes;

private:
    int largest_;
};

// The materials of a model, each naming its texture file.
class Materials {
public:
    const Material& Add(const char* name, const char* textureFile) {
        Material& material = list_.emplace_back();
        std::strncpy(material.name, name, sizeof material.name - 1);
        material.textureFile = textureFile;
        return material;
    }

private:
    std::list<Material> list_;
};

TEST_F(BesideTheModel, EachImageIsDecodedOnceAndUploadedOrRefusedInOneLine) {
    Write("brick.bmp", EncodeBmp(PatternPicture(40, 20, 9, false), {}));
    Write("roof.tga", EncodeTga(PatternPicture(8, 8, 9, false), {}));
    Write("glass.png", EncodePng(PatternPicture(2000, 200, 9, false), {}));
    Write("notes.txt", ImageBytes(64, 'n'));
    Write("empty.bmp", {});
    ImageBytes cut = EncodeBmp(PatternPicture(8, 8, 9, false), {});
    cut.resize(cut.size() - 10);
    Write("cut.bmp", cut);
    Materials materials;
    const Material* used[] = {
        &materials.Add("Brick", "BRICK.BMP"), &materials.Add("Wall", "brick.bmp"),
        &materials.Add("Roof", "ROOF.TGA"),   &materials.Add("Glass", "GLASS.PNG"),
        &materials.Add("Plain", ""),          &materials.Add("Lost", "LOST.JPG"),
        &materials.Add("Notes", "NOTES.TXT"), &materials.Add("Empty", "EMPTY.BMP"),
        &materials.Add("Cut", "CUT.BMP")};

    RecordingUploader uploader(32);
    TextureLimits limits;
    // The brick by 2 and the roof, then room for the damaged one (8x8) but not the glass (by 64).
    limits.maxModelTexels = 20 * 10 + 8 * 8 + 64;
    ModelTextures textures(ModelPath(), limits, uploader);
    testing::internal::CaptureStderr();
    std::vector<int> indices;
    for (const Material* material : used) {
        indices.push_back(textures.TextureFor(*material));
    }
    indices.push_back(textures.TextureFor(*used[0]));
    const std::string warnings = testing::internal::GetCapturedStderr();
    EXPECT_EQ(indices, (std::vector<int>{10, 10, 11, -1, -1, -1, -1, -1, -1, 10}));
    // Reduced to the uploader's largest side: 40x20 by 2.
    EXPECT_EQ(uploader.sizes, (std::vector<std::pair<int, int>>{{20, 10}, {8, 8}}));
    EXPECT_EQ(uploader.asked, 1);
    const std::string expected =
        "texture \"GLASS.PNG\" of material \"Glass\" would bring the model's textures past 328 "
        "texels; its colour is drawn\n"
        "texture \"LOST.JPG\" of material \"Lost\" is not beside the model; its colour is drawn\n"
        "texture \"NOTES.TXT\" of material \"Notes\" is not a JPEG, PNG, GIF, BMP or TGA image; "
        "its colour is drawn\n"
        "texture \"EMPTY.BMP\" of material \"Empty\" is not a JPEG, PNG, GIF, BMP or TGA image; "
        "its colour is drawn\n"
        "texture \"CUT.BMP\" of material \"Cut\" holds 182 of the 192 bytes of its BMP pixels; "
        "its colour is drawn\n";
    EXPECT_EQ(warnings, expected);
}

// A file longer than any image within the limits is not read into memory.
TEST_F(BesideTheModel, AFileLongerThanAnyImageWithinTheLimitsIsNotRead) {
    Write("huge.bmp", ImageBytes(1100000, 'B'));
    Materials materials;
    RecordingUploader uploader(4096);
    TextureLimits limits;
    limits.maxImagePixels = 16;  // 4 * 16 bytes and a megabyte of headers
    ModelTextures textures(ModelPath(), limits, uploader);
    testing::internal::CaptureStderr();
    EXPECT_EQ(textures.TextureFor(materials.Add("Huge", "HUGE.BMP")), -1);
    EXPECT_NE(testing::internal::GetCapturedStderr().find("is longer than 1048640 bytes"),
              std::string::npos);
}

}  // namespace
