// PNG through libpng, from memory. libpng reports errors by longjmp: the jump lands in
// RunPng, whose state all lives in the PngJob its caller owns, and passes over libpng's own
// frames only.
#include <png.h>

#include <cstring>
#include <vector>

#include "platform/imagelibs/ImageLibs.h"

namespace platform::imagelibs {
namespace {

struct PngJob {
    const unsigned char* bytes = nullptr;
    std::size_t length = 0;
    std::size_t at = 0;
    ImageRowSink* sink = nullptr;
    png_structp png = nullptr;
    png_infop info = nullptr;
    int width = 0;
    int height = 0;
    std::vector<unsigned char> pixels;  // one row, or the whole image when interlaced
    std::string message;
    bool stopped = false;  // by the sink

    ~PngJob() { png_destroy_read_struct(&png, info != nullptr ? &info : nullptr, nullptr); }
};

void ReadFromMemory(png_structp png, png_bytep out, png_size_t count) {
    PngJob* job = static_cast<PngJob*>(png_get_io_ptr(png));
    if (count > job->length - job->at) {
        png_error(png, "the file ends inside the image");
    }
    std::memcpy(out, job->bytes + job->at, count);
    job->at += count;
}

void OnError(png_structp png, png_const_charp message) {
    static_cast<PngJob*>(png_get_error_ptr(png))->message = message != nullptr ? message : "";
    png_longjmp(png, 1);
}

void OnWarning(png_structp, png_const_charp) {}

// Four bytes a pixel whatever the file holds: palettes and grey expanded, transparency to
// alpha, 16-bit samples cut to their high byte, opaque alpha added where there is none.
void AskForRgba(png_structp png, png_infop info) {
    const int colourType = png_get_color_type(png, info);
    const int depth = png_get_bit_depth(png, info);
    png_set_strip_16(png);
    if (colourType == PNG_COLOR_TYPE_PALETTE) {
        png_set_palette_to_rgb(png);
    }
    if ((colourType & PNG_COLOR_MASK_COLOR) == 0 && depth < 8) {
        png_set_expand_gray_1_2_4_to_8(png);
    }
    const bool transparency = png_get_valid(png, info, PNG_INFO_tRNS) != 0;
    if (transparency) {
        png_set_tRNS_to_alpha(png);
    }
    if ((colourType & PNG_COLOR_MASK_COLOR) == 0) {
        png_set_gray_to_rgb(png);
    }
    if ((colourType & PNG_COLOR_MASK_ALPHA) == 0 && !transparency) {
        png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
    }
}

bool RunPng(PngJob* job) {
    if (setjmp(png_jmpbuf(job->png)) != 0) {
        return false;
    }
    png_set_read_fn(job->png, job, &ReadFromMemory);
    png_read_info(job->png, job->info);
    job->width = static_cast<int>(png_get_image_width(job->png, job->info));
    job->height = static_cast<int>(png_get_image_height(job->png, job->info));
    if (job->sink == nullptr) {
        return true;
    }
    AskForRgba(job->png, job->info);
    const int passes = png_set_interlace_handling(job->png);
    png_read_update_info(job->png, job->info);
    const std::size_t rowBytes = png_get_rowbytes(job->png, job->info);
    if (rowBytes != 4 * std::size_t(job->width)) {
        job->message = "the image does not come out at four bytes a pixel";
        return false;
    }
    if (!job->sink->BeginRows(job->width, job->height)) {
        job->stopped = true;
        return false;
    }
    const std::size_t height = std::size_t(job->height);
    if (passes == 1) {
        job->pixels.resize(rowBytes);
        for (std::size_t row = 0; row < height; ++row) {
            png_read_row(job->png, job->pixels.data(), nullptr);
            if (!job->sink->TakeRow(job->pixels.data())) {
                job->stopped = true;
                return false;
            }
        }
        return true;
    }
    // Each pass of an interlaced image fills in pixels of every row: keep them all.
    job->pixels.assign(rowBytes * height, 0);
    for (int pass = 0; pass < passes; ++pass) {
        for (std::size_t row = 0; row < height; ++row) {
            png_read_row(job->png, job->pixels.data() + row * rowBytes, nullptr);
        }
    }
    for (std::size_t row = 0; row < height; ++row) {
        if (!job->sink->TakeRow(job->pixels.data() + row * rowBytes)) {
            job->stopped = true;
            return false;
        }
    }
    return true;
}

}  // namespace

bool DecodePng(const unsigned char* bytes, std::size_t length, int& width, int& height,
               ImageRowSink* sink, std::string& why) {
    PngJob job;
    job.bytes = bytes;
    job.length = length;
    job.sink = sink;
    job.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &job, &OnError, &OnWarning);
    job.info = job.png != nullptr ? png_create_info_struct(job.png) : nullptr;
    if (job.info == nullptr) {
        why = "libpng cannot start";
        return false;
    }
    const bool done = RunPng(&job);
    width = job.width;
    height = job.height;
    if (!done && !job.stopped) {
        why = "libpng: " + job.message;
    }
    return done;
}

}  // namespace platform::imagelibs
