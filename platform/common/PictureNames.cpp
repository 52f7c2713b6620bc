#include "platform/common/PictureNames.h"

#include <cstdio>
#include <cstring>
#include <ctime>
#include <sstream>

namespace platform::pictures {

namespace {

#ifdef _WIN32
constexpr char kSeparator = '\\';
#else
constexpr char kSeparator = '/';
#endif

bool IsSeparator(char c) {
    return c == '/' || c == '\\';
}

// The value of an XDG_PICTURES_DIR="..." line of user-dirs.dirs: "$HOME/..." or an absolute
// path; empty for any other line.
std::string UserDirsValue(const std::string& line, const std::string& home) {
    const std::string key = "XDG_PICTURES_DIR=\"";
    const std::size_t start = line.find_first_not_of(" \t");
    if (start == std::string::npos || line.compare(start, key.size(), key) != 0) {
        return {};
    }
    const std::size_t open = start + key.size();
    const std::size_t close = line.find('"', open);
    if (close == std::string::npos) {
        return {};
    }
    const std::string value = line.substr(open, close - open);
    if (value == "$HOME" || value.rfind("$HOME/", 0) == 0) {
        return home.empty() ? std::string() : home + value.substr(5);
    }
    return !value.empty() && value[0] == '/' ? value : std::string();
}

}  // namespace

LocalTime LocalTimeNow() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &now);
#else
    localtime_r(&now, &local);
#endif
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
            local.tm_hour,        local.tm_min,     local.tm_sec};
}

std::string FileNameStem(const std::string& name) {
    std::string stem;
    for (const char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        stem += byte < 0x20 || byte == 0x7F || std::strchr("/\\:*?\"<>|", c) != nullptr ? '_' : c;
    }
    if (stem.size() > kMaxStemBytes) {
        std::size_t cut = kMaxStemBytes;
        while (cut > 0 && (static_cast<unsigned char>(stem[cut]) & 0xC0) == 0x80) {
            --cut;  // not inside a character
        }
        stem.resize(cut);
    }
    const std::size_t first = stem.find_first_not_of(" .");
    const std::size_t last = stem.find_last_not_of(" .");
    return first == std::string::npos ? "picture" : stem.substr(first, last - first + 1);
}

std::string ModelNameOf(const std::string& modelPath) {
    std::size_t start = modelPath.size();
    while (start > 0 && !IsSeparator(modelPath[start - 1])) {
        --start;
    }
    const std::string file = modelPath.substr(start);
    const std::size_t dot = file.rfind('.');
    return dot == std::string::npos || dot == 0 ? file : file.substr(0, dot);
}

std::string PictureFileName(const std::string& stem, const LocalTime& time, int attempt) {
    char stamp[64];
    std::snprintf(stamp, sizeof stamp, " %04d-%02d-%02d %02d-%02d-%02d", time.year, time.month,
                  time.day, time.hour, time.minute, time.second);
    std::string name = stem + stamp;
    if (attempt > 1) {
        name += " (" + std::to_string(attempt) + ")";
    }
    return name + ".png";
}

std::string JoinPath(const std::string& folder, const std::string& name) {
    if (folder.empty() || IsSeparator(folder.back())) {
        return folder + name;
    }
    return folder + kSeparator + name;
}

std::string CreateUnderFreeName(const std::string& folder, const std::string& baseName,
                                const LocalTime& time, const CreateNewFile& create,
                                std::string& why) {
    const std::string stem = FileNameStem(baseName);
    for (int attempt = 1; attempt <= kMaxAttempts; ++attempt) {
        const std::string path = JoinPath(folder, PictureFileName(stem, time, attempt));
        switch (create(path, why)) {
            case NewFile::kCreated:
                return path;
            case NewFile::kFailed:
                return {};
            case NewFile::kExists:
                break;
        }
    }
    why = "every name for the picture in " + folder + " is taken";
    return {};
}

std::string XdgPicturesFolder(const std::function<std::string(const char*)>& environment,
                              const std::function<std::string(const std::string&)>& readFile) {
    const std::string pictures = environment("XDG_PICTURES_DIR");
    if (!pictures.empty()) {
        return pictures;
    }
    const std::string home = environment("HOME");
    std::string config = environment("XDG_CONFIG_HOME");
    if (config.empty() || config[0] != '/') {
        config = home.empty() ? std::string() : home + "/.config";
    }
    if (!config.empty()) {
        std::istringstream lines(readFile(config + "/user-dirs.dirs"));
        std::string found;
        for (std::string line; std::getline(lines, line);) {
            const std::string value = UserDirsValue(line, home);
            found = value.empty() ? found : value;  // the last line wins, as the shell's would
        }
        if (!found.empty()) {
            return found;
        }
    }
    return home.empty() ? std::string() : home + "/Pictures";
}

}  // namespace platform::pictures
