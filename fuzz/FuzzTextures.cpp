// libFuzzer target: any bytes as a texture image file, through the very call the walk-through
// makes for one (DecodeTexture: the format told by the first bytes, the size read from the
// header, the budget's verdict, the decoding reduced as it goes), so every format is reached:
// PNG, JPEG and GIF through the build's decoders behind the seam, BMP and TGA through the
// program's own. The first byte chooses the file's name (a .tga or not) and the side the image
// is reduced to. Nothing may crash, hang, read outside the bytes or leak, and a decoded image
// must be whole at its size, within the side.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "images/TextureDecoding.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) {
        return 0;
    }
    const std::uint8_t choice = data[0];
    TextureLimits limits;
    // Smaller images than the program lets in keep each run short; the arithmetic is the same.
    limits.maxImagePixels = std::uint64_t{1} << 20;
    limits.wantedSide = 1 << ((choice >> 1) % 12);
    ImageBudget budget(limits);
    TextureImage image;
    std::string why;
    const std::string name = (choice & 1) != 0 ? "TEXTURE.TGA" : "texture";
    if (DecodeTexture(data + 1, size - 1, name, budget, image, why)) {
        const bool whole = image.width >= 1 && image.height >= 1 &&
                           image.width <= limits.wantedSide && image.height <= limits.wantedSide &&
                           image.rgba.size() == 4 * std::size_t(image.width) * image.height;
        if (!whole) {
            std::fprintf(stderr, "a decoded image of %dx%d pixels in %zu bytes\n", image.width,
                         image.height, image.rgba.size());
            std::abort();
        }
    } else if (why.empty()) {
        std::fputs("a refusal without a reason\n", stderr);
        std::abort();
    }
    return 0;
}
