// Reading and writing PNG files with libpng: walkthrough-shot's pictures, the desktop's
// screenshots on Linux, and the picture tests.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/common/RgbImage.h"

// Writes `image` as an 8-bit RGB PNG; on failure `error` says why.
bool WritePng(const std::string& path, const RgbImage& image, std::string& error);
// `width` x `height` pixels of 8-bit RGB (rows from the top, no padding) as the bytes of an
// 8-bit RGB PNG file; on failure `error` says why.
bool EncodePng(const std::uint8_t* rgb, int width, int height, std::vector<std::uint8_t>& png,
               std::string& error);
// Reads any PNG as 8-bit RGB (alpha dropped against black, 16-bit channels reduced). Pictures
// over kMaxPngPixels are refused before anything is allocated for them.
bool ReadPng(const std::string& path, RgbImage& image, std::string& error);

constexpr long long kMaxPngPixels = 8192LL * 8192LL;
