// GIF through giflib, from memory: the first image of the file on its logical screen, pixels
// outside that image and of its transparent colour left transparent black. giflib reports
// errors by its return values.
#include <gif_lib.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

#include "platform/imagelibs/ImageLibs.h"

namespace platform::imagelibs {
namespace {

struct GifSource {
    const unsigned char* bytes;
    std::size_t length;
    std::size_t at;
};

int ReadFromMemory(GifFileType* gif, GifByteType* out, int count) {
    GifSource* source = static_cast<GifSource*>(gif->UserData);
    const std::size_t wanted = count > 0 ? std::size_t(count) : 0;
    const std::size_t given = std::min(wanted, source->length - source->at);
    std::memcpy(out, source->bytes + source->at, given);
    source->at += given;
    return static_cast<int>(given);
}

struct CloseGif {
    void operator()(GifFileType* gif) const {
        int ignored = 0;
        DGifCloseFile(gif, &ignored);
    }
};

std::string Reason(int error) {
    const char* text = GifErrorString(error);
    return std::string("giflib: ") + (text != nullptr ? text : "error " + std::to_string(error));
}

// The transparent colour a graphic control extension gives, or -1.
int TransparentIndex(const GifByteType* extension) {
    return extension != nullptr && extension[0] >= 4 && (extension[1] & 1) != 0 ? extension[4] : -1;
}

// The image's colour indices in row order, de-interlaced.
bool ReadIndices(GifFileType* gif, std::vector<GifByteType>& indices, std::string& why) {
    const GifImageDesc& frame = gif->Image;
    const std::size_t width = std::size_t(frame.Width);
    const std::size_t height = std::size_t(frame.Height);
    indices.assign(width * height, 0);
    static const int kStart[] = {0, 4, 2, 1};
    static const int kStep[] = {8, 8, 4, 2};
    const int passes = frame.Interlace ? 4 : 1;
    for (int pass = 0; pass < passes; ++pass) {
        const std::size_t step = frame.Interlace ? std::size_t(kStep[pass]) : 1;
        for (std::size_t row = frame.Interlace ? std::size_t(kStart[pass]) : 0; row < height;
             row += step) {
            if (DGifGetLine(gif, indices.data() + row * width, frame.Width) != GIF_OK) {
                why = Reason(gif->Error);
                return false;
            }
        }
    }
    return true;
}

}  // namespace

bool DecodeGif(const unsigned char* bytes, std::size_t length, int& width, int& height,
               ImageRowSink* sink, std::string& why) {
    GifSource source{bytes, length, 0};
    int error = 0;
    std::unique_ptr<GifFileType, CloseGif> gif(DGifOpen(&source, &ReadFromMemory, &error));
    if (!gif) {
        why = Reason(error);
        return false;
    }
    width = gif->SWidth;
    height = gif->SHeight;
    if (sink == nullptr) {
        return true;
    }
    int transparent = -1;
    while (true) {
        GifRecordType record = UNDEFINED_RECORD_TYPE;
        if (DGifGetRecordType(gif.get(), &record) != GIF_OK) {
            why = Reason(gif->Error);
            return false;
        }
        if (record == TERMINATE_RECORD_TYPE) {
            why = "the file holds no image";
            return false;
        }
        if (record == EXTENSION_RECORD_TYPE) {
            int code = 0;
            GifByteType* extension = nullptr;
            if (DGifGetExtension(gif.get(), &code, &extension) != GIF_OK) {
                why = Reason(gif->Error);
                return false;
            }
            if (code == GRAPHICS_EXT_FUNC_CODE) {
                transparent = TransparentIndex(extension);
            }
            while (extension != nullptr) {
                if (DGifGetExtensionNext(gif.get(), &extension) != GIF_OK) {
                    why = Reason(gif->Error);
                    return false;
                }
            }
            continue;
        }
        if (record == IMAGE_DESC_RECORD_TYPE) {
            break;
        }
    }
    if (DGifGetImageDesc(gif.get()) != GIF_OK) {
        why = Reason(gif->Error);
        return false;
    }
    const GifImageDesc& frame = gif->Image;
    // The budget was reckoned on the screen: an image larger than its screen is not read.
    if (frame.Width <= 0 || frame.Height <= 0 || frame.Width > width || frame.Height > height ||
        frame.Left < 0 || frame.Top < 0) {
        why = "its first image (" + std::to_string(frame.Width) + "x" +
              std::to_string(frame.Height) + ") does not fit its screen";
        return false;
    }
    const ColorMapObject* colours = frame.ColorMap != nullptr ? frame.ColorMap : gif->SColorMap;
    if (colours == nullptr || colours->Colors == nullptr) {
        why = "its first image has no colour map";
        return false;
    }
    std::vector<GifByteType> indices;
    if (!ReadIndices(gif.get(), indices, why)) {
        return false;
    }
    if (!sink->BeginRows(width, height)) {
        return false;
    }
    std::vector<unsigned char> row(4 * std::size_t(width));
    for (int y = 0; y < height; ++y) {
        std::fill(row.begin(), row.end(), 0);
        const int frameRow = y - frame.Top;
        if (frameRow >= 0 && frameRow < frame.Height) {
            const int right = std::min(width, frame.Left + frame.Width);
            for (int x = frame.Left; x < right; ++x) {
                const int index = indices[std::size_t(frameRow) * std::size_t(frame.Width) +
                                          std::size_t(x - frame.Left)];
                if (index == transparent) {
                    continue;
                }
                if (index >= colours->ColorCount) {
                    why = "names colour " + std::to_string(index) + " of a colour map of " +
                          std::to_string(colours->ColorCount);
                    return false;
                }
                const GifColorType& colour = colours->Colors[index];
                unsigned char* out = &row[4 * std::size_t(x)];
                out[0] = colour.Red, out[1] = colour.Green, out[2] = colour.Blue, out[3] = 255;
            }
        }
        if (!sink->TakeRow(row.data())) {
            return false;
        }
    }
    return true;
}

}  // namespace platform::imagelibs
