// Runs a program of the build to its end, as a test's subject, and keeps what it printed.
#pragma once

#include <string>
#include <vector>

struct ProgramRun {
    int exitStatus = -1;  // -1 when it could not be started or did not exit normally
    std::string standardOutput;
    std::string standardError;
};

// `arguments` starts with the program's path; nothing passes through a shell.
ProgramRun RunProgram(const std::vector<std::string>& arguments);

// A fresh directory under the system's temporary one, removed with everything in it.
class ScratchDirectory {
public:
    ScratchDirectory();
    ~ScratchDirectory();
    ScratchDirectory(const ScratchDirectory&) = delete;
    ScratchDirectory& operator=(const ScratchDirectory&) = delete;

    const std::string& Path() const { return path_; }
    std::string File(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};
