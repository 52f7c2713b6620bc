// JPEG through libjpeg-turbo, from memory, decoded at 1/2, 1/4 or 1/8 scale where the image
// is to be reduced anyway: the scaled inverse transform costs a fraction of the full one.
// libjpeg reports errors through error_exit, which jumps back into RunJpeg; its state all
// lives in the JpegJob its caller owns, and the jump passes over libjpeg's own frames only.
#include <csetjmp>
#include <cstdio>
#include <vector>

// jpeglib.h wants FILE and size_t declared before it.
#include <jpeglib.h>

#include "platform/common/ImageReduction.h"
#include "platform/imagelibs/ImageLibs.h"

namespace platform::imagelibs {
namespace {

// A progressive file of thousands of tiny scans makes the decoder redo its work for each.
constexpr int kMaxScans = 500;
// Buffered (progressive) decoding keeps every coefficient; beyond this it refuses.
constexpr long kMaxDecoderMemory = 160L << 20;

struct JpegErrors {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

struct JpegJob {
    const unsigned char* bytes = nullptr;
    std::size_t length = 0;
    int wantedSide = 1;
    ImageRowSink* sink = nullptr;
    jpeg_decompress_struct info{};
    JpegErrors errors{};
    jpeg_progress_mgr progress{};
    bool created = false;
    int width = 0;
    int height = 0;
    std::vector<unsigned char> row;
    bool stopped = false;  // by the sink

    ~JpegJob() {
        if (created) {
            jpeg_destroy_decompress(&info);
        }
    }
};

void ExitWithError(j_common_ptr common) {
    JpegErrors* errors = reinterpret_cast<JpegErrors*>(common->err);
    (*common->err->format_message)(common, errors->message);
    std::longjmp(errors->jump, 1);
}

// Warnings (damaged data the decoder passes over) are not printed.
void IgnoreMessage(j_common_ptr) {}

void LimitScans(j_common_ptr common) {
    if (common->is_decompressor) {
        const auto* info = reinterpret_cast<j_decompress_ptr>(common);
        if (info->input_scan_number > kMaxScans) {
            JpegErrors* errors = reinterpret_cast<JpegErrors*>(common->err);
            std::snprintf(errors->message, sizeof errors->message, "more than %d scans", kMaxScans);
            std::longjmp(errors->jump, 1);
        }
    }
}

// Adobe's CMYK files store the inks inverted, as most CMYK JPEG files are.
void CmykToRgba(unsigned char* row, std::size_t pixels, bool inverted) {
    for (std::size_t i = 0; i < pixels; ++i) {
        unsigned char* p = row + 4 * i;
        const unsigned k = inverted ? p[3] : 255u - p[3];
        for (int c = 0; c < 3; ++c) {
            const unsigned ink = inverted ? p[c] : 255u - p[c];
            p[c] = static_cast<unsigned char>((ink * k + 127) / 255);
        }
        p[3] = 255;
    }
}

bool RunJpeg(JpegJob* job) {
    if (setjmp(job->errors.jump) != 0) {
        return false;
    }
    jpeg_create_decompress(&job->info);
    job->created = true;
    job->info.mem->max_memory_to_use = kMaxDecoderMemory;
    job->progress.progress_monitor = &LimitScans;
    job->info.progress = &job->progress;
    jpeg_mem_src(&job->info, job->bytes, static_cast<unsigned long>(job->length));
    jpeg_read_header(&job->info, TRUE);
    job->width = static_cast<int>(job->info.image_width);
    job->height = static_cast<int>(job->info.image_height);
    if (job->sink == nullptr) {
        return true;
    }
    const int factor = ReductionFactor(job->width, job->height, job->wantedSide);
    job->info.scale_num = 1;
    job->info.scale_denom = static_cast<unsigned>(factor >= 8 ? 8 : factor);
    const bool cmyk =
        job->info.jpeg_color_space == JCS_CMYK || job->info.jpeg_color_space == JCS_YCCK;
    job->info.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_RGBA;
    jpeg_start_decompress(&job->info);
    const int width = static_cast<int>(job->info.output_width);
    const int height = static_cast<int>(job->info.output_height);
    if (job->info.output_components != 4) {
        std::snprintf(job->errors.message, sizeof job->errors.message, "%d components a pixel",
                      job->info.output_components);
        return false;
    }
    if (!job->sink->BeginRows(width, height)) {
        job->stopped = true;
        return false;
    }
    job->row.resize(4 * std::size_t(width));
    JSAMPROW rows[1] = {job->row.data()};
    while (job->info.output_scanline < job->info.output_height) {
        if (jpeg_read_scanlines(&job->info, rows, 1) != 1) {
            std::snprintf(job->errors.message, sizeof job->errors.message, "no scanline read");
            return false;
        }
        if (cmyk) {
            CmykToRgba(job->row.data(), std::size_t(width), job->info.saw_Adobe_marker != 0);
        }
        if (!job->sink->TakeRow(job->row.data())) {
            job->stopped = true;
            return false;
        }
    }
    return true;
}

}  // namespace

bool DecodeJpeg(const unsigned char* bytes, std::size_t length, int wantedSide, int& width,
                int& height, ImageRowSink* sink, std::string& why) {
    JpegJob job;
    job.bytes = bytes;
    job.length = length;
    job.wantedSide = wantedSide;
    job.sink = sink;
    job.info.err = jpeg_std_error(&job.errors.manager);
    job.errors.manager.error_exit = &ExitWithError;
    job.errors.manager.output_message = &IgnoreMessage;
    const bool done = RunJpeg(&job);
    width = job.width;
    height = job.height;
    if (!done && !job.stopped) {
        why = std::string("libjpeg: ") + job.errors.message;
    }
    return done;
}

}  // namespace platform::imagelibs
