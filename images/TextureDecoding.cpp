#include "images/TextureDecoding.h"

#include "images/BmpDecoder.h"
#include "images/ImageFormat.h"
#include "images/RowReducer.h"
#include "images/TgaDecoder.h"
#include "platform/Platform.h"

namespace {

bool SystemCodec(ImageFormat format, platform::ImageCodec& codec) {
    switch (format) {
        case ImageFormat::kPng:
            codec = platform::ImageCodec::kPng;
            return true;
        case ImageFormat::kJpeg:
            codec = platform::ImageCodec::kJpeg;
            return true;
        case ImageFormat::kGif:
            codec = platform::ImageCodec::kGif;
            return true;
        default:
            return false;
    }
}

}  // namespace

bool DecodeTexture(const unsigned char* bytes, std::size_t length, const std::string& fileName,
                   ImageBudget& budget, TextureImage& image, std::string& why) {
    const ImageFormat format = SniffImageFormat(bytes, length, fileName);
    if (format == ImageFormat::kUnknown) {
        why = "is not a JPEG, PNG, GIF, BMP or TGA image";
        return false;
    }
    const std::string formatName = ImageFormatName(format);
    platform::ImageCodec codec = platform::ImageCodec::kPng;
    const bool system = SystemCodec(format, codec);
    if (system && !platform::DecodesImageCodec(codec)) {
        why = "is a " + formatName + " image, which this system does not decode";
        return false;
    }
    int width = 0;
    int height = 0;
    std::string problem;
    const bool sized = format == ImageFormat::kBmp
                           ? ReadBmpSize(bytes, length, width, height, problem)
                       : format == ImageFormat::kTga
                           ? ReadTgaSize(bytes, length, width, height, problem)
                           : platform::ReadImageSize(codec, bytes, length, width, height, problem);
    if (!sized) {
        why = system ? "cannot be decoded as " + formatName + " (" + problem + ")" : problem;
        return false;
    }
    AdmittedImage admitted;
    if (!budget.Admit(width, height, admitted, why)) {
        return false;
    }
    RowReducer reducer(admitted);
    const bool decoded =
        format == ImageFormat::kBmp ? DecodeBmp(bytes, length, reducer, problem)
        : format == ImageFormat::kTga
            ? DecodeTga(bytes, length, reducer, problem)
            : platform::DecodeImageRows(codec, bytes, length, budget.Limits().wantedSide, reducer,
                                        problem);
    std::string unfinished;
    const bool finished = reducer.Finish(image, unfinished);
    if (decoded && finished) {
        return true;
    }
    budget.Return(admitted);
    if (problem.empty()) {
        problem = unfinished;  // the sink stopped the decoder, or rows were missing
    }
    why = system ? "cannot be decoded as " + formatName + " (" + problem + ")" : problem;
    image = {};
    return false;
}
