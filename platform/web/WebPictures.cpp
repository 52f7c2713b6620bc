// Saved pictures in the page: the browser downloads them (a PNG its canvas encodes, through a
// link with the file's name), so the user's browser settings decide where they go. The name is
// the desktops' (PictureNames.h); the browser itself keeps a second download of the same name
// from replacing the first.
#include <emscripten/emscripten.h>

#include "platform/Platform.h"
#include "platform/common/PictureNames.h"

namespace platform {
namespace {

// Encodes RGB rows from the top as a PNG on a canvas of their size and has the browser download
// it as `name`; 0 when the page cannot draw on a canvas.
// JavaScript, which clang-format would spoil.
// clang-format off
EM_JS(int, DownloadRgbAsPng, (const char* name, const unsigned char* rgb, int width, int height), {
    const canvas = document.createElement('canvas');
    canvas.width = width;
    canvas.height = height;
    const context = canvas.getContext('2d');
    if (!context) {
        return 0;
    }
    const image = context.createImageData(width, height);
    const source = HEAPU8.subarray(rgb, rgb + width * height * 3);
    for (let from = 0, to = 0; from < source.length; from += 3, to += 4) {
        image.data[to] = source[from];
        image.data[to + 1] = source[from + 1];
        image.data[to + 2] = source[from + 2];
        image.data[to + 3] = 255;
    }
    context.putImageData(image, 0, 0);
    const fileName = UTF8ToString(name);
    canvas.toBlob((blob) => {
        if (!blob) {
            return;
        }
        const link = document.createElement('a');
        link.href = URL.createObjectURL(blob);
        link.download = fileName;
        document.body.appendChild(link);
        link.click();
        link.remove();
        setTimeout(() => URL.revokeObjectURL(link.href), 60000);
    }, 'image/png');
    return 1;
});
// clang-format on

}  // namespace

std::string PicturesFolder(std::string& why) {
    why = "the browser decides where downloads go";
    return {};
}

std::string SavePicture(const std::string& baseName, const unsigned char* rgbRowsTopFirst,
                        int width, int height, std::string& why) {
    if (rgbRowsTopFirst == nullptr || width <= 0 || height <= 0) {
        why = "no picture to save";
        return {};
    }
    const std::string name =
        pictures::PictureFileName(pictures::FileNameStem(baseName), pictures::LocalTimeNow(), 1);
    if (DownloadRgbAsPng(name.c_str(), rgbRowsTopFirst, width, height) == 0) {
        why = "the page cannot encode pictures";
        return {};
    }
    return name;
}

}  // namespace platform
