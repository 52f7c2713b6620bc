// EncodeJpeg (ImageWriters.h) by stb_image_write's encoder, its functions private to this file.
// The encoder shifts negative values left, which UBSan reports: this file alone is built
// without that check (it writes test data; the program never runs it).
#include "tools/imagewriter/ImageWriters.h"

#define STB_IMAGE_WRITE_STATIC
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb_image_write.h>

ImageBytes EncodeJpeg(const Picture& picture, int quality) {
    ImageBytes out;
    stbi_write_jpg_to_func(
        [](void* context, void* data, int size) {
            auto* bytes = static_cast<ImageBytes*>(context);
            bytes->insert(bytes->end(), static_cast<unsigned char*>(data),
                          static_cast<unsigned char*>(data) + size);
        },
        &out, picture.width, picture.height, 4, picture.rgba.data(), quality);
    return out;
}
