// Where a saved picture goes and what it is called, the same on every system: a file name
// from the model's name and the local time that no file system refuses, the first such name
// not yet taken in the folder, and the Linux desktop's pictures folder (the XDG rules).
// Pure rules: the system calls they need are handed in.
#pragma once

#include <functional>
#include <string>

namespace platform::pictures {

// Every desktop backend saves into the folder this environment variable names, when it is set,
// before the system's pictures folder: tests set it.
constexpr const char* kPicturesFolderVariable = "WALKTHROUGH_PICTURES_DIR";

struct LocalTime {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
};
LocalTime LocalTimeNow();

// `name` made fit to begin a file name on Linux, Windows and macOS: characters they refuse
// (control characters, / \ : * ? " < > |) become '_', spaces and dots at its ends go, it is cut
// to at most kMaxStemBytes (at a UTF-8 character's start); "picture" when nothing is left.
constexpr std::size_t kMaxStemBytes = 100;
std::string FileNameStem(const std::string& name);

// The name of the model a picture shows, from its path: the last component without its
// extension ("/home/ann/house.3ds" gives "house").
std::string ModelNameOf(const std::string& modelPath);

// "STEM 2026-12-07 21-04-05.png" for attempt 1, "STEM 2026-12-07 21-04-05 (2).png" for attempt
// 2, and so on. The time has no ':' (Windows refuses it) and sorts as it reads.
std::string PictureFileName(const std::string& stem, const LocalTime& time, int attempt);

// `folder` and `name` joined with the system's separator.
std::string JoinPath(const std::string& folder, const std::string& name);

enum class NewFile { kCreated, kExists, kFailed };
// Creates the file at the path, which must not exist yet; kFailed with `why` for any other
// failure than its existing.
using CreateNewFile = std::function<NewFile(const std::string& path, std::string& why)>;

// Creates the first free one of PictureFileName(FileNameStem(baseName), time, 1, 2, ...) in
// `folder` (up to kMaxAttempts) and returns its path; empty, with `why`, when none could be
// created. An existing file is never replaced.
constexpr int kMaxAttempts = 1000;
std::string CreateUnderFreeName(const std::string& folder, const std::string& baseName,
                                const LocalTime& time, const CreateNewFile& create,
                                std::string& why);

// The Linux desktop's pictures folder: $XDG_PICTURES_DIR, else the XDG_PICTURES_DIR line of
// user-dirs.dirs in $XDG_CONFIG_HOME (or ~/.config), else ~/Pictures. `environment` gives a
// variable's value (empty when unset) and `readFile` a file's text (empty when unreadable).
// Empty when there is no home folder to go by.
std::string XdgPicturesFolder(const std::function<std::string(const char*)>& environment,
                              const std::function<std::string(const std::string&)>& readFile);

}  // namespace platform::pictures
