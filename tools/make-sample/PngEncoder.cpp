// stb_image_write's implementation lives here and nowhere else.
#include "tools/make-sample/PngEncoder.h"

#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STBI_WRITE_NO_STDIO  // everything goes to memory; the caller writes the files
#include <stb_image_write.h>

namespace {

void Append(void* context, void* data, int size) {
    auto* bytes = static_cast<std::vector<unsigned char>*>(context);
    const auto* begin = static_cast<const unsigned char*>(data);
    bytes->insert(bytes->end(), begin, begin + size);
}

}  // namespace

std::vector<unsigned char> EncodePng(const TextureImage& image) {
    std::vector<unsigned char> bytes;
    const std::size_t expected = 3u * static_cast<std::size_t>(image.width) * image.height;
    if (image.width <= 0 || image.height <= 0 || image.rgb.size() != expected ||
        stbi_write_png_to_func(Append, &bytes, image.width, image.height, 3, image.rgb.data(),
                               3 * image.width) == 0) {
        return {};
    }
    return bytes;
}
