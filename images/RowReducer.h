// Takes an image's rows as a decoder hands them and keeps it reduced to the size it will be
// drawn at: each pixel drawn is the average of a block of factor x factor pixels (fewer at the
// right and bottom edges), so only one row of sums is held beside the result. An image that
// already fits is kept as decoded, byte for byte. Rows are stored the bottom row first.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "images/ImageBudget.h"
#include "images/TextureImage.h"
#include "platform/Platform.h"

class RowReducer : public platform::ImageRowSink {
public:
    // For an image whose header says `admitted.width` x `admitted.height`, to be drawn at
    // `admitted.reducedWidth` x `admitted.reducedHeight`.
    explicit RowReducer(const AdmittedImage& admitted);

    // The rows come top row first; the decoder may have reduced the image already by a power
    // of two (within the admitted factor).
    bool BeginRows(int width, int height) override;
    // The rows come bottom row first (BMP and TGA store them so).
    bool BeginRowsBottomUp(int width, int height);
    bool TakeRow(const unsigned char* rgba) override;

    // The image, once every row has come; else false and why.
    bool Finish(TextureImage& image, std::string& why);

private:
    bool Begin(int width, int height, bool bottomUp);
    void WriteOutputRow(int outputRow);

    AdmittedImage admitted_;
    int width_ = 0;  // of the rows as they come
    int height_ = 0;
    int factor_ = 1;  // what is left to reduce
    bool bottomUp_ = false;
    bool begun_ = false;
    int rowsTaken_ = 0;
    int rowsInBlock_ = 0;
    std::vector<std::uint64_t> sums_;  // red, green, blue, alpha per pixel drawn
    TextureImage image_;
    std::string problem_;
};
