#include "platform/common/DesktopPictures.h"

namespace platform::pictures {

std::string ChoosePicturesFolder(std::string& why) {
    std::string folder = EnvironmentValue(kPicturesFolderVariable);
    if (folder.empty()) {
        folder = SystemPicturesFolder(why);
        if (folder.empty()) {
            return {};
        }
    }
    if (!MakeFolders(folder, why)) {
        return {};
    }
    return folder;
}

std::string SavePictureIn(const std::string& folder, const std::string& baseName,
                          const LocalTime& time, const std::uint8_t* rgb, int width, int height,
                          std::string& why) {
    std::vector<std::uint8_t> png;
    if (!EncodePicture(rgb, width, height, png, why)) {
        why = "cannot encode the picture: " + why;
        return {};
    }
    return CreateUnderFreeName(
        folder, baseName, time,
        [&png](const std::string& path, std::string& failure) {
            return CreateNewFileWith(path, png, failure);
        },
        why);
}

}  // namespace platform::pictures
