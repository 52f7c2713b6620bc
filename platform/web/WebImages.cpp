// The seam's image section in the web page: the browser's own decoders (createImageBitmap)
// decode PNG, JPEG and GIF, reduced by the browser when the image is to be reduced, with no
// colour-space conversion and no premultiplied alpha; the pixels are read back exactly through
// a WebGL context of their own. The size comes from the header first (platform/common).
#include <emscripten/emscripten.h>

#include <cstdlib>
#include <memory>

#include "platform/Platform.h"
#include "platform/common/ImageHeaders.h"
#include "platform/common/ImageReduction.h"

namespace {

// JavaScript, which clang-format would spoil. Writes width x height pixels, the top row first,
// at `out`; 0 when the browser cannot decode the bytes or gives another size.
// clang-format off
EM_ASYNC_JS(int, DecodeInBrowser, (const unsigned char* bytes, int length, const char* type,
                                   int width, int height, int resize, unsigned char* out), {
    try {
        const blob = new Blob([HEAPU8.slice(bytes, bytes + length)], {type: UTF8ToString(type)});
        const options = {colorSpaceConversion: 'none', premultiplyAlpha: 'none'};
        if (resize) {
            options.resizeWidth = width;
            options.resizeHeight = height;
            options.resizeQuality = 'medium';
        }
        const bitmap = await createImageBitmap(blob, options);
        if (bitmap.width !== width || bitmap.height !== height) {
            bitmap.close();
            return 0;
        }
        if (!Module.imageReader) {
            const canvas = new OffscreenCanvas(1, 1);
            Module.imageReader = canvas.getContext('webgl', {premultipliedAlpha: false});
        }
        const gl = Module.imageReader;
        const texture = gl.createTexture();
        gl.bindTexture(gl.TEXTURE_2D, texture);
        gl.texImage2D(gl.TEXTURE_2D, 0, gl.RGBA, gl.RGBA, gl.UNSIGNED_BYTE, bitmap);
        bitmap.close();
        const framebuffer = gl.createFramebuffer();
        gl.bindFramebuffer(gl.FRAMEBUFFER, framebuffer);
        gl.framebufferTexture2D(gl.FRAMEBUFFER, gl.COLOR_ATTACHMENT0, gl.TEXTURE_2D, texture, 0);
        const pixels = new Uint8Array(4 * width * height);
        gl.readPixels(0, 0, width, height, gl.RGBA, gl.UNSIGNED_BYTE, pixels);
        const read = gl.getError() === gl.NO_ERROR;
        gl.bindFramebuffer(gl.FRAMEBUFFER, null);
        gl.deleteFramebuffer(framebuffer);
        gl.deleteTexture(texture);
        if (!read) {
            return 0;
        }
        HEAPU8.set(pixels, out);
        return 1;
    } catch (error) {
        return 0;
    }
});
// clang-format on

const char* MimeType(platform::ImageCodec codec) {
    switch (codec) {
        case platform::ImageCodec::kJpeg:
            return "image/jpeg";
        case platform::ImageCodec::kGif:
            return "image/gif";
        case platform::ImageCodec::kPng:
            break;
    }
    return "image/png";
}

}  // namespace

namespace platform {

bool DecodesImageCodec(ImageCodec) {
    return true;
}

bool ReadImageSize(ImageCodec codec, const unsigned char* bytes, std::size_t length, int& width,
                   int& height, std::string& why) {
    return ReadHeaderSize(codec, bytes, length, width, height, why);
}

bool DecodeImageRows(ImageCodec codec, const unsigned char* bytes, std::size_t length,
                     int wantedSide, ImageRowSink& sink, std::string& why) {
    int width = 0;
    int height = 0;
    if (!ReadHeaderSize(codec, bytes, length, width, height, why)) {
        return false;
    }
    if (length > 0x7FFFFFFF || width <= 0 || height <= 0) {
        why = "the browser cannot take it";
        return false;
    }
    const int factor = ReductionFactor(width, height, wantedSide);
    const int reducedWidth = ReducedSide(width, factor);
    const int reducedHeight = ReducedSide(height, factor);
    const std::size_t rowBytes = 4 * std::size_t(reducedWidth);
    std::unique_ptr<unsigned char, void (*)(void*)> pixels(
        static_cast<unsigned char*>(std::malloc(rowBytes * std::size_t(reducedHeight))),
        &std::free);
    if (!pixels) {
        why = "no memory for its pixels";
        return false;
    }
    if (DecodeInBrowser(bytes, static_cast<int>(length), MimeType(codec), reducedWidth,
                        reducedHeight, factor > 1 ? 1 : 0, pixels.get()) == 0) {
        why = "the browser cannot decode it";
        return false;
    }
    if (!sink.BeginRows(reducedWidth, reducedHeight)) {
        return false;
    }
    for (int row = 0; row < reducedHeight; ++row) {
        if (!sink.TakeRow(pixels.get() + rowBytes * std::size_t(row))) {
            return false;
        }
    }
    return true;
}

}  // namespace platform
