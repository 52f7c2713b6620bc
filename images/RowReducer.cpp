#include "images/RowReducer.h"

#include <algorithm>
#include <cstring>
#include <utility>

RowReducer::RowReducer(const AdmittedImage& admitted) : admitted_(admitted) {}

bool RowReducer::BeginRows(int width, int height) {
    return Begin(width, height, false);
}

bool RowReducer::BeginRowsBottomUp(int width, int height) {
    return Begin(width, height, true);
}

bool RowReducer::Begin(int width, int height, bool bottomUp) {
    if (begun_) {
        problem_ = "the decoder began twice";
        return false;
    }
    begun_ = true;
    // The decoder's own reduction s must be one the header's size allows, within the factor.
    int decoderFactor = 1;
    while (decoderFactor < admitted_.factor &&
           (ReducedSide(admitted_.width, decoderFactor) != width ||
            ReducedSide(admitted_.height, decoderFactor) != height)) {
        decoderFactor *= 2;
    }
    if (ReducedSide(admitted_.width, decoderFactor) != width ||
        ReducedSide(admitted_.height, decoderFactor) != height) {
        problem_ = "decodes to " + std::to_string(width) + "x" + std::to_string(height) +
                   " pixels, not the " + std::to_string(admitted_.width) + "x" +
                   std::to_string(admitted_.height) + " its header says";
        return false;
    }
    width_ = width;
    height_ = height;
    factor_ = admitted_.factor / decoderFactor;
    bottomUp_ = bottomUp;
    image_.width = admitted_.reducedWidth;
    image_.height = admitted_.reducedHeight;
    image_.rgba.assign(4 * std::size_t(image_.width) * std::size_t(image_.height), 0);
    if (factor_ > 1) {
        sums_.assign(4 * std::size_t(image_.width), 0);
    }
    return true;
}

bool RowReducer::TakeRow(const unsigned char* rgba) {
    if (!begun_ || rowsTaken_ >= height_) {
        problem_ = "the decoder gave more rows than it said";
        return false;
    }
    const int row = bottomUp_ ? height_ - 1 - rowsTaken_ : rowsTaken_;
    ++rowsTaken_;
    const int outputRow = row / factor_;
    const std::size_t rowBytes = 4 * std::size_t(image_.width);
    if (factor_ == 1) {
        std::memcpy(image_.rgba.data() + rowBytes * std::size_t(image_.height - 1 - outputRow),
                    rgba, rowBytes);
        return true;
    }
    for (int column = 0; column < image_.width; ++column) {
        const int first = column * factor_;
        const int last = std::min(first + factor_, width_);
        std::uint64_t* sum = &sums_[4 * std::size_t(column)];
        for (int x = first; x < last; ++x) {
            const unsigned char* pixel = rgba + 4 * std::size_t(x);
            sum[0] += pixel[0], sum[1] += pixel[1], sum[2] += pixel[2], sum[3] += pixel[3];
        }
    }
    ++rowsInBlock_;
    const int blockRows = std::min(factor_, height_ - outputRow * factor_);
    if (rowsInBlock_ == blockRows) {
        WriteOutputRow(outputRow);
        rowsInBlock_ = 0;
    }
    return true;
}

void RowReducer::WriteOutputRow(int outputRow) {
    const int blockRows = std::min(factor_, height_ - outputRow * factor_);
    unsigned char* out = image_.rgba.data() +
                         4 * std::size_t(image_.width) * std::size_t(image_.height - 1 - outputRow);
    for (int column = 0; column < image_.width; ++column) {
        const int blockColumns = std::min(factor_, width_ - column * factor_);
        const std::uint64_t count = std::uint64_t(blockRows) * std::uint64_t(blockColumns);
        std::uint64_t* sum = &sums_[4 * std::size_t(column)];
        for (int channel = 0; channel < 4; ++channel) {
            out[4 * std::size_t(column) + channel] =
                static_cast<unsigned char>((sum[channel] + count / 2) / count);
            sum[channel] = 0;
        }
    }
}

bool RowReducer::Finish(TextureImage& image, std::string& why) {
    if (!problem_.empty() || !begun_ || rowsTaken_ != height_) {
        why = !problem_.empty() ? problem_
              : begun_          ? "ends after " + std::to_string(rowsTaken_) + " of its " +
                             std::to_string(height_) + " rows"
                       : "holds no image";
        return false;
    }
    image = std::move(image_);
    image_ = {};
    return true;
}
