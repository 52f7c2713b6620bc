// Where a screenshot goes and what it is called: names no file system refuses, made from the
// model's name and the time, never a file replaced; the Linux pictures folder by the XDG rules;
// the folder a test names through the environment, made if missing, and real PNG files in it.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>

#include "platform/common/DesktopPictures.h"
#include "platform/fake/FakePlatform.h"
#include "tests/support/ModelFile.h"

namespace {

using namespace platform::pictures;

TEST(PictureNames, StemsKeepWhatFileSystemsAcceptAndReplaceTheRest) {
    const std::string longName(150, 'x');
    const std::string longAccents = std::string(99, 'a') + "\xC3\xA9\xC3\xA9";  // é cut in half
    const std::pair<std::string, std::string> cases[] = {
        {"house", "house"},
        {"Haus Müller", "Haus Müller"},
        {"a/b\\c:d*e?f\"g<h>i|j", "a_b_c_d_e_f_g_h_i_j"},
        {"tab\there\x7F", "tab_here_"},
        {" . dots and spaces . ", "dots and spaces"},
        {"...", "picture"},
        {"", "picture"},
        {longName, std::string(kMaxStemBytes, 'x')},
        {longAccents, std::string(99, 'a')},
    };
    for (const auto& [name, stem] : cases) {
        EXPECT_EQ(FileNameStem(name), stem) << name;
    }
}

TEST(PictureNames, TheModelsNameAndTheTimeNameThePictureAndANumberKeepsItNew) {
    EXPECT_EQ(ModelNameOf("/home/ann/models/house.3ds"), "house");
    EXPECT_EQ(ModelNameOf("C:\\Models\\Kelm.final.3DS"), "Kelm.final");
    EXPECT_EQ(ModelNameOf("plain"), "plain");
    const LocalTime time{2026, 12, 7, 9, 4, 5};
    EXPECT_EQ(PictureFileName("house", time, 1), "house 2026-12-07 09-04-05.png");
    EXPECT_EQ(PictureFileName("house", time, 2), "house 2026-12-07 09-04-05 (2).png");

    std::set<std::string> taken = {JoinPath("pics", "house 2026-12-07 09-04-05.png"),
                                   JoinPath("pics", "house 2026-12-07 09-04-05 (2).png")};
    std::string why;
    const auto create = [&taken](const std::string& path, std::string&) {
        return taken.insert(path).second ? NewFile::kCreated : NewFile::kExists;
    };
    EXPECT_EQ(CreateUnderFreeName("pics", "house", time, create, why),
              JoinPath("pics", "house 2026-12-07 09-04-05 (3).png"));
    EXPECT_EQ(CreateUnderFreeName("pics", "a:b", time, create, why),
              JoinPath("pics", "a_b 2026-12-07 09-04-05.png"));

    int attempts = 0;
    const auto full = [&attempts](const std::string&, std::string&) {
        ++attempts;
        return NewFile::kExists;
    };
    EXPECT_EQ(CreateUnderFreeName("pics", "house", time, full, why), "");
    EXPECT_EQ(attempts, kMaxAttempts);
    EXPECT_NE(why.find("taken"), std::string::npos);
    const auto refused = [](const std::string&, std::string& failure) {
        failure = "read-only";
        return NewFile::kFailed;
    };
    EXPECT_EQ(CreateUnderFreeName("pics", "house", time, refused, why), "");
    EXPECT_EQ(why, "read-only");
}

TEST(PictureNames, TheLinuxPicturesFolderFollowsTheXdgRules) {
    const std::string userDirs =
        "# written by xdg-user-dirs-update\n"
        "XDG_DESKTOP_DIR=\"$HOME/Desktop\"\n"
        "XDG_PICTURES_DIR=\"$HOME/Bilder\"\n";
    const struct {
        std::map<std::string, std::string> environment;
        std::map<std::string, std::string> files;
        std::string folder;
    } cases[] = {
        {{{"XDG_PICTURES_DIR", "/data/shots"}, {"HOME", "/home/ann"}}, {}, "/data/shots"},
        {{{"HOME", "/home/ann"}},
         {{"/home/ann/.config/user-dirs.dirs", userDirs}},
         "/home/ann/Bilder"},
        {{{"HOME", "/home/ann"}, {"XDG_CONFIG_HOME", "/etc/ann"}},
         {{"/etc/ann/user-dirs.dirs", "  XDG_PICTURES_DIR=\"/srv/pictures\"\n"}},
         "/srv/pictures"},
        // A relative XDG_CONFIG_HOME is ignored, as are values neither absolute nor in $HOME.
        {{{"HOME", "/home/ann"}, {"XDG_CONFIG_HOME", "conf"}},
         {{"conf/user-dirs.dirs", "XDG_PICTURES_DIR=\"/x\"\n"}},
         "/home/ann/Pictures"},
        {{{"HOME", "/home/ann"}},
         {{"/home/ann/.config/user-dirs.dirs", "XDG_PICTURES_DIR=\"Pictures\"\n"}},
         "/home/ann/Pictures"},
        {{{"HOME", "/home/ann"}}, {}, "/home/ann/Pictures"},
        {{}, {}, ""},
    };
    for (const auto& c : cases) {
        const auto environment = [&c](const char* name) {
            const auto found = c.environment.find(name);
            return found != c.environment.end() ? found->second : std::string();
        };
        const auto readFile = [&c](const std::string& path) {
            const auto found = c.files.find(path);
            return found != c.files.end() ? found->second : std::string();
        };
        EXPECT_EQ(XdgPicturesFolder(environment, readFile), c.folder);
    }
}

void SetEnvironment(const char* name, const std::string& value) {
#ifdef _WIN32
    _putenv_s(name, value.c_str());
#else
    setenv(name, value.c_str(), 1);
#endif
}

std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The fake platform saves as the desktops do, into the folder the environment names.
TEST(PictureNames, PicturesGoIntoTheFolderTheEnvironmentNamesMadeIfMissingNeverReplaced) {
    fake::Reset();
    std::filesystem::remove_all(ScratchPath("pictures"));  // an earlier run's pictures
    const std::string folder = JoinPath(JoinPath(ScratchPath("pictures"), "new"), "deeper");
    SetEnvironment(kPicturesFolderVariable, folder);
    const unsigned char rgb[2 * 3 * 3] = {255, 0, 0, 0, 255, 0, 0, 0, 255,
                                          1,   2, 3, 4, 5,   6, 7, 8, 9};
    std::string why;
    const std::string saved = platform::SavePicture("house", rgb, 3, 2, why);
    SetEnvironment(kPicturesFolderVariable, "");
    ASSERT_FALSE(saved.empty()) << why;
    EXPECT_EQ(saved.rfind(JoinPath(folder, "house 2"), 0), 0u) << saved;
    const LocalTime time{2026, 12, 7, 21, 4, 5};
    const std::string again = SavePictureIn(folder, "house", time, rgb, 3, 2, why);
    EXPECT_EQ(again, JoinPath(folder, "house 2026-12-07 21-04-05.png"));
    EXPECT_EQ(SavePictureIn(folder, "house", time, rgb, 3, 2, why),
              JoinPath(folder, "house 2026-12-07 21-04-05 (2).png"));
    for (const std::string& path : {saved, again}) {
        const std::string png = ReadBytes(path);
        ASSERT_GT(png.size(), 24u) << path;
        EXPECT_EQ(png.substr(0, 8), "\x89PNG\r\n\x1A\n");
        EXPECT_EQ(png.substr(16, 8), std::string("\0\0\0\x03\0\0\0\x02", 8)) << "3 x 2";
    }
    EXPECT_EQ(platform::SavePicture("house", rgb, 3, 2, why), "");
    EXPECT_FALSE(why.empty()) << "no folder named, nothing saved";
}

}  // namespace
