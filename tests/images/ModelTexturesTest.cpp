// A model's textures from its materials to the uploader: each file found, read and decoded
// once, uploaded as soon as it is decoded, within the model's budget and the uploader's
// largest side; every refusal one line naming the image, its material and the reason.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <list>

#include "images/ModelTextures.h"
#include "tests/support/ImageWriters.h"
#include "tests/support/ModelFile.h"

namespace {

namespace fs = std::filesystem;

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

class ModelTexturesTest : public testing::Test {
protected:
    void SetUp() override {
        folder_ = ScratchPath("model");
        fs::remove_all(folder_);
        fs::create_directories(folder_);
    }
    void TearDown() override { fs::remove_all(folder_); }

    void Write(const char* name, const ImageBytes& bytes) {
        ASSERT_TRUE(WriteImageFile((folder_ / name).string(), bytes));
    }
    const Material& AddMaterial(const char* name, const char* textureFile) {
        Material& material = materials_.emplace_back();
        std::strncpy(material.name, name, sizeof material.name - 1);
        material.textureFile = textureFile;
        return material;
    }
    std::string ModelPath() const { return (folder_ / "model.3ds").u8string(); }

    fs::path folder_;
    std::list<Material> materials_;
};

TEST_F(ModelTexturesTest, EachImageIsDecodedOnceAndUploadedOrRefusedInOneLine) {
    Write("brick.bmp", EncodeBmp(PatternPicture(40, 20, 9, false), {}));
    Write("roof.tga", EncodeTga(PatternPicture(8, 8, 9, false), {}));
    Write("glass.png", EncodePng(PatternPicture(2000, 200, 9, false), {}));
    Write("notes.txt", ImageBytes(64, 'n'));
    Write("empty.bmp", {});
    ImageBytes cut = EncodeBmp(PatternPicture(8, 8, 9, false), {});
    cut.resize(cut.size() - 10);
    Write("cut.bmp", cut);
    const Material& brick = AddMaterial("Brick", "BRICK.BMP");
    const Material& wall = AddMaterial("Wall", "brick.bmp");
    const Material& roof = AddMaterial("Roof", "ROOF.TGA");
    const Material& glass = AddMaterial("Glass", "GLASS.PNG");
    const Material& plain = AddMaterial("Plain", "");
    const Material& lost = AddMaterial("Lost", "LOST.JPG");
    const Material& notes = AddMaterial("Notes", "NOTES.TXT");
    const Material& empty = AddMaterial("Empty", "EMPTY.BMP");
    const Material& damaged = AddMaterial("Cut", "CUT.BMP");

    RecordingUploader uploader(32);
    TextureLimits limits;
    // The brick by 2 and the roof, then room for the damaged one (8x8) but not the glass (by 64).
    limits.maxModelTexels = 20 * 10 + 8 * 8 + 64;
    ModelTextures textures(ModelPath(), limits, uploader);
    testing::internal::CaptureStderr();
    const std::vector<int> indices = {textures.TextureFor(brick),   textures.TextureFor(wall),
                                      textures.TextureFor(roof),    textures.TextureFor(glass),
                                      textures.TextureFor(plain),   textures.TextureFor(lost),
                                      textures.TextureFor(notes),   textures.TextureFor(empty),
                                      textures.TextureFor(damaged), textures.TextureFor(brick)};
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
TEST_F(ModelTexturesTest, AFileLongerThanAnyImageWithinTheLimitsIsNotRead) {
    Write("huge.bmp", ImageBytes(1100000, 'B'));
    const Material& huge = AddMaterial("Huge", "HUGE.BMP");
    RecordingUploader uploader(4096);
    TextureLimits limits;
    limits.maxImagePixels = 16;  // 4 * 16 bytes and a megabyte of headers
    ModelTextures textures(ModelPath(), limits, uploader);
    testing::internal::CaptureStderr();
    EXPECT_EQ(textures.TextureFor(huge), -1);
    EXPECT_NE(testing::internal::GetCapturedStderr().find("is longer than 1048640 bytes"),
              std::string::npos);
}

}  // namespace
