// Runs a program of the build to its end as a test's subject and keeps what it printed, in
// NAME.out and NAME.err in the working directory.
#pragma once

#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

struct ProgramRun {
    int exitStatus;  // -1 when it did not exit normally
    std::string standardOutput, standardError;
};

inline std::string ReadText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// `command`: the program's path and its arguments, as the shell reads them.
inline ProgramRun RunProgram(const std::string& name, const std::string& command) {
    const int status = std::system((command + " >" + name + ".out 2>" + name + ".err").c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadText(name + ".out"),
            ReadText(name + ".err")};
}
