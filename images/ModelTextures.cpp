#include "images/ModelTextures.h"

#include <algorithm>
#include <cstdio>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "images/TextureDecoding.h"
#include "scene/FileOpen.h"

namespace {

// The whole file, or nothing (and why) when it cannot be read or is longer than an image within
// the limits can be: no format stores a pixel in more than four bytes, save for headers.
std::optional<std::vector<unsigned char>> ReadImageFile(const std::string& utf8Path,
                                                        const TextureLimits& limits,
                                                        std::string& why) {
    const std::uint64_t most = 4 * limits.maxImagePixels + (1u << 20);
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(OpenForReading(utf8Path.c_str()),
                                                         &std::fclose);
    if (!file) {
        why = "cannot be opened";
        return std::nullopt;
    }
    std::vector<unsigned char> bytes;
    unsigned char block[65536];
    std::size_t got = 0;
    while ((got = std::fread(block, 1, sizeof block, file.get())) > 0) {
        if (bytes.size() + got > most) {
            why = "is longer than " + std::to_string(most) +
                  " bytes, more than any image within the limits takes";
            return std::nullopt;
        }
        bytes.insert(bytes.end(), block, block + got);
    }
    if (std::ferror(file.get())) {
        why = "cannot be read";
        return std::nullopt;
    }
    return bytes;
}

void Warn(const Material& material, const std::string& why) {
    std::fprintf(stderr, "texture \"%s\" of material \"%s\" %s; its colour is drawn\n",
                 material.textureFile.c_str(), material.name, why.c_str());
}

}  // namespace

TextureLimits LimitsForPicture(int width, int height) {
    TextureLimits limits;
    limits.wantedSide = std::min(limits.wantedSide, TextureSideForPicture(width, height));
    return limits;
}

ModelTextures::ModelTextures(const std::string& modelPath, const TextureLimits& limits,
                             TextureUploader& uploader, FolderLister lister)
    : folder_(modelPath, std::move(lister)), limits_(limits), uploader_(uploader) {}

int ModelTextures::TextureFor(const Material& material) {
    const auto known = textureOfMaterial_.find(&material);
    if (known != textureOfMaterial_.end()) {
        return known->second;
    }
    const int index = material.textureFile.empty() ? -1 : Load(material);
    textureOfMaterial_[&material] = index;
    return index;
}

int ModelTextures::Load(const Material& material) {
    const std::string path = folder_.Find(material.textureFile);
    if (path.empty()) {
        Warn(material, "is not beside the model");
        return -1;
    }
    const auto known = textureOfPath_.find(path);
    if (known != textureOfPath_.end()) {
        return known->second;
    }
    if (!budget_) {
        TextureLimits limits = limits_;
        limits.wantedSide = std::max(1, std::min(limits.wantedSide, uploader_.LargestSide()));
        budget_ = std::make_unique<ImageBudget>(limits);
    }
    std::string why;
    TextureImage image;
    bool decoded = false;
    {
        // The file's bytes are freed before the image is uploaded.
        const std::optional<std::vector<unsigned char>> bytes =
            ReadImageFile(path, budget_->Limits(), why);
        decoded = bytes && DecodeTexture(bytes->data(), bytes->size(), path, *budget_, image, why);
    }
    int index = -1;
    if (decoded) {
        index = uploader_.Upload(image);
    } else {
        Warn(material, why);
    }
    textureOfPath_[path] = index;
    return index;
}
