// Saving a picture on a desktop system: the folder (the environment's override, else the
// system's pictures folder, created if missing) and a PNG under a free name in it. The system's
// own calls are declared here and defined once per system: PosixPictures.cpp (Linux: XDG,
// libpng, POSIX files) and win32/Win32Pictures.cpp (the Pictures known folder, the Windows
// Imaging Component, Win32 files).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/common/PictureNames.h"

namespace platform::pictures {

// --- The system's calls ---
// An environment variable's value as UTF-8; empty when unset.
std::string EnvironmentValue(const char* name);
// The system's pictures folder, which may not exist yet; empty, with `why`, when there is none.
std::string SystemPicturesFolder(std::string& why);
// Makes `folder` and every missing folder above it; true when it exists after.
bool MakeFolders(const std::string& folder, std::string& why);
// An 8-bit RGB picture (rows from the top, no padding) as the bytes of a PNG file.
bool EncodePicture(const std::uint8_t* rgb, int width, int height, std::vector<std::uint8_t>& png,
                   std::string& why);
// Creates the file at `path` holding `bytes`, unless a file is there already.
NewFile CreateNewFileWith(const std::string& path, const std::vector<std::uint8_t>& bytes,
                          std::string& why);

// --- Over them, the same on every desktop ---
// The override's folder when kPicturesFolderVariable is set, else the system's; created if
// missing. Empty, with `why`, when there is none or it cannot be made.
std::string ChoosePicturesFolder(std::string& why);
// Encodes the picture and creates it under the first free name for `baseName` and `time` (the
// local time) in `folder` (PictureNames.h); returns its path, or empty with `why`.
std::string SavePictureIn(const std::string& folder, const std::string& baseName,
                          const LocalTime& time, const std::uint8_t* rgb, int width, int height,
                          std::string& why);

}  // namespace platform::pictures
