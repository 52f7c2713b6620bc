// The seam's pictures for the desktop backends (SDL2, Win32, offscreen): the folder chosen and
// the file written as DesktopPictures.h says.
#include "platform/Platform.h"
#include "platform/common/DesktopPictures.h"

namespace platform {

std::string PicturesFolder(std::string& why) {
    return pictures::ChoosePicturesFolder(why);
}

std::string SavePicture(const std::string& baseName, const unsigned char* rgbRowsTopFirst,
                        int width, int height, std::string& why) {
    const std::string folder = pictures::ChoosePicturesFolder(why);
    if (folder.empty()) {
        return {};
    }
    return pictures::SavePictureIn(folder, baseName, pictures::LocalTimeNow(), rgbRowsTopFirst,
                                   width, height, why);
}

}  // namespace platform
