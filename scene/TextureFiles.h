// Finding a material's texture image beside its model file.
#pragma once

#include <string>

// The UTF-8 path of the image `fileName` (as a 3DS material writes it) in the folder of
// `modelPath` (UTF-8), or empty when there is none. 3DS files carry upper-case 8.3 names
// ("BRICK.JPG") for files that may be named brick.jpg, so the name is matched with ASCII letter
// case not told apart; failing that, the lower-case name is tried. Only the name's last
// component counts: a folder written into the model never leads the search elsewhere.
std::string FindTextureFile(const std::string& modelPath, const std::string& fileName);
