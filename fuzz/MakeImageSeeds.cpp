// make-image-seeds DIR: writes the texture fuzzer's seed corpus into DIR: small images of every
// kind the decoders read (tools/imagewriter/ImageWriters.h), each behind the fuzzer's choice byte.
#include <cstdio>
#include <string>
#include <vector>

#include "tools/imagewriter/ImageWriters.h"

namespace {

bool Write(const std::string& path, unsigned char choice, const ImageBytes& image) {
    ImageBytes bytes = {choice};
    bytes.insert(bytes.end(), image.begin(), image.end());
    if (!WriteImageFile(path, bytes)) {
        std::fprintf(stderr, "make-image-seeds: cannot write %s\n", path.c_str());
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: make-image-seeds DIR\n", stderr);
        return 2;
    }
    const std::string folder = std::string(argv[1]) + "/";
    const Picture small = PatternPicture(13, 7, 12, true);
    const Picture many = PatternPicture(21, 9, 200, false);
    // The choice byte: 0x18 reduces to 4096 (nothing), 0x06 to 8; odd bytes name a .tga file.
    bool ok = true;
    int n = 0;
    const auto seed = [&](const char* kind, unsigned char choice, const ImageBytes& image) {
        ok = ok && Write(folder + kind + std::to_string(n++), choice, image);
    };
    for (const BmpKind kind :
         {BmpKind::kIndexed1, BmpKind::kIndexed4, BmpKind::kIndexed8, BmpKind::kRle4,
          BmpKind::kRle8, BmpKind::kRgb555, BmpKind::kRgb555Masks, BmpKind::kRgb24,
          BmpKind::kRgbx32, BmpKind::kRgba32, BmpKind::kCore24}) {
        const Picture& picture = kind == BmpKind::kIndexed1 ? PatternPicture(9, 5, 2, false)
                                 : kind == BmpKind::kIndexed4 || kind == BmpKind::kRle4 ? small
                                                                                        : many;
        seed("bmp", 0x18, EncodeBmp(picture, {kind, false}));
        seed("bmp", 0x06, EncodeBmp(picture, {kind, true}));
    }
    for (const TgaKind kind : {TgaKind::kMapped8, TgaKind::kGrey8, TgaKind::kRgb15, TgaKind::kRgb16,
                               TgaKind::kRgb24, TgaKind::kRgba32}) {
        seed("tga", 0x19, EncodeTga(many, {kind, false, false, false, 3}));
        seed("tga", 0x07, EncodeTga(small, {kind, true, true, true, 0}));
    }
    for (const PngOptions& options :
         {PngOptions{0, 8, false}, {2, 8, false}, {3, 8, true}, {4, 8, false}, {6, 16, true}}) {
        seed("png", 0x18, EncodePng(small, options));
    }
    seed("gif", 0x18, EncodeGif(small, {}));
    seed("gif", 0x06, EncodeGif(small, {30, 20, 7, 5, true, true, true}));
    seed("jpeg", 0x18, EncodeJpeg(many, 80));
    seed("jpeg", 0x04, EncodeJpeg(PatternPicture(40, 24, 256, false), 50));
    return ok ? 0 : 1;
}
