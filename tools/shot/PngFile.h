// Reading and writing PNG files with libpng.
#pragma once

#include <string>

#include "tools/shot/RgbImage.h"

// Writes `image` as an 8-bit RGB PNG; on failure `error` says why.
bool WritePng(const std::string& path, const RgbImage& image, std::string& error);
// Reads any PNG as 8-bit RGB (alpha dropped against black, 16-bit channels reduced). Pictures
// over kMaxPngPixels are refused before anything is allocated for them.
bool ReadPng(const std::string& path, RgbImage& image, std::string& error);

constexpr long long kMaxPngPixels = 8192LL * 8192LL;
