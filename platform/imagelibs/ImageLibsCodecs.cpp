// The seam's image section on Linux: every codec it names, through the reference libraries.
#include "platform/Platform.h"
#include "platform/imagelibs/ImageLibs.h"

namespace platform {

bool DecodesImageCodec(ImageCodec) {
    return true;
}

bool ReadImageSize(ImageCodec codec, const unsigned char* bytes, std::size_t length, int& width,
                   int& height, std::string& why) {
    switch (codec) {
        case ImageCodec::kPng:
            return imagelibs::DecodePng(bytes, length, width, height, nullptr, why);
        case ImageCodec::kJpeg:
            return imagelibs::DecodeJpeg(bytes, length, 1, width, height, nullptr, why);
        case ImageCodec::kGif:
            return imagelibs::DecodeGif(bytes, length, width, height, nullptr, why);
    }
    why = "an unknown codec";
    return false;
}

bool DecodeImageRows(ImageCodec codec, const unsigned char* bytes, std::size_t length,
                     int wantedSide, ImageRowSink& sink, std::string& why) {
    int width = 0;
    int height = 0;
    switch (codec) {
        case ImageCodec::kPng:
            return imagelibs::DecodePng(bytes, length, width, height, &sink, why);
        case ImageCodec::kJpeg:
            return imagelibs::DecodeJpeg(bytes, length, wantedSide, width, height, &sink, why);
        case ImageCodec::kGif:
            return imagelibs::DecodeGif(bytes, length, width, height, &sink, why);
    }
    why = "an unknown codec";
    return false;
}

}  // namespace platform
