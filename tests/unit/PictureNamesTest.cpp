// Where a screenshot goes and what it is called: names no file system refuses, made from the
// model's name and the time, never a file replaced; the Linux pictures folder by the XDG rules;
// the folder named, made if missing, and real PNG files in it.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
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

// Pictures go into the folder named, made if missing, as PNG files of the pixels' size, never
// replacing one.
TEST(PictureNames, PicturesGoIntoTheFolderNamedMadeIfMissingNeverReplaced) {
    fake::Reset();
    std::filesystem::remove_all(ScratchPath("pictures"));  // an earlier run's pictures
    const std::string folder = JoinPath(JoinPath(ScratchPath("pictures"), "new"), "deeper");
    fake::Fake().picturesFolder = folder;
    const unsigned char rgb[2 * 3 * 3] = {255, 0, 0, 0, 255, 0, 0, 0, 255,
                                          1,   2, 3, 4, 5,   6, 7, 8, 9};
    std::string why;
    const std::string saved = platform::SavePicture("house", rgb, 3, 2, why);
    EXPECT_EQ(saved.rfind(JoinPath(folder, "house 2"), 0), 0u) << saved << why;
    const LocalTime time{2026, 12, 7, 21, 4, 5};
    for (const std::string suffix : {"", " (2)"}) {
        const std::string path = SavePictureIn(folder, "house", time, rgb, 3, 2, why);
        EXPECT_EQ(path, JoinPath(folder, "house 2026-12-07 21-04-05" + suffix + ".png"));
        std::ifstream in(path, std::ios::binary);
        std::string png(24, '\0');
        in.read(png.data(), 24);
        EXPECT_EQ(png.substr(0, 4) + png.substr(16),
                  std::string("\x89PNG\0\0\0\x03\0\0\0\x02", 12));
    }
}

}  // namespace
