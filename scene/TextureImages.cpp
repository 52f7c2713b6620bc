#include "scene/TextureImages.h"

#include <cstdio>
#include <cstring>
#include <memory>

#include "scene/FileOpen.h"

// The one copy of stb_image's code. Files are read here (by UTF-8 path on every system), so
// stb needs no stdio; the formats are the ones 3DS materials name.
#define STB_IMAGE_IMPLEMENTATION
#define STBI_NO_STDIO
#define STBI_ONLY_JPEG
#define STBI_ONLY_PNG
#define STBI_ONLY_BMP
#define STBI_ONLY_TGA
#define STBI_ONLY_GIF
#define STBI_FAILURE_USERMSG
#include <stb/stb_image.h>

namespace {

// No image within the size limit takes more bytes than its pixels uncompressed, 4 a pixel, and
// some headers: a longer file is not read into memory.
constexpr std::size_t kMaxFileBytes =
    4 * std::size_t{kMaxTextureSide} * std::size_t{kMaxTextureSide} + (1u << 20);

// The whole file, or nothing when it cannot be read or is longer than any image it may hold.
std::optional<std::vector<unsigned char>> ReadWholeFile(const std::string& utf8Path) {
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(OpenForReading(utf8Path.c_str()),
                                                         &std::fclose);
    if (!file) {
        return std::nullopt;
    }
    std::vector<unsigned char> bytes;
    unsigned char block[65536];
    std::size_t got = 0;
    while ((got = std::fread(block, 1, sizeof block, file.get())) > 0) {
        if (bytes.size() + got > kMaxFileBytes) {
            return std::nullopt;
        }
        bytes.insert(bytes.end(), block, block + got);
    }
    if (std::ferror(file.get())) {
        return std::nullopt;
    }
    return bytes;
}

std::string Undecodable() {
    const char* reason = stbi_failure_reason();
    return std::string("cannot be decoded (") + (reason != nullptr ? reason : "unknown") + ")";
}

}  // namespace

std::optional<TextureImage> DecodeTextureFile(const std::string& utf8Path, std::string& why) {
    const auto bytes = ReadWholeFile(utf8Path);
    if (!bytes) {
        why = "cannot be read, or is too long for an image of at most " +
              std::to_string(kMaxTextureSide) + " pixels a side";
        return std::nullopt;
    }
    const int length = static_cast<int>(bytes->size());
    int width = 0;
    int height = 0;
    int channels = 0;
    // The size first, so that a huge image is refused before its pixels are allocated.
    if (stbi_info_from_memory(bytes->data(), length, &width, &height, &channels) == 0) {
        why = Undecodable();
        return std::nullopt;
    }
    if (width > kMaxTextureSide || height > kMaxTextureSide) {
        why = "is " + std::to_string(width) + "x" + std::to_string(height) +
              " pixels, larger than " + std::to_string(kMaxTextureSide) + " on a side";
        return std::nullopt;
    }
    std::unique_ptr<stbi_uc, void (*)(void*)> pixels(
        stbi_load_from_memory(bytes->data(), length, &width, &height, &channels, 4),
        &stbi_image_free);
    if (!pixels || width <= 0 || height <= 0 || width > kMaxTextureSide ||
        height > kMaxTextureSide) {
        why = Undecodable();
        return std::nullopt;
    }
    TextureImage image;
    image.width = width;
    image.height = height;
    const std::size_t rowBytes = 4 * static_cast<std::size_t>(width);
    image.rgba.resize(rowBytes * static_cast<std::size_t>(height));
    // stb gives the top row first.
    for (int row = 0; row < height; ++row) {
        std::memcpy(image.rgba.data() + rowBytes * static_cast<std::size_t>(height - 1 - row),
                    pixels.get() + rowBytes * static_cast<std::size_t>(row), rowBytes);
    }
    return image;
}
