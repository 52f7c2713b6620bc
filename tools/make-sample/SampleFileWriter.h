// Puts the sample's files into a folder without replacing what a user keeps there unasked.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

struct SampleFile {
    std::string name;
    std::vector<unsigned char> bytes;
};

// Writes every file into `directory`, made with its parents if needed. Unless `replace`, a file
// that is there already stops everything before anything is written. Returns an empty string
// when all were written, else one line saying which file or folder failed and why.
std::string WriteSampleFiles(const std::filesystem::path& directory,
                             const std::vector<SampleFile>& files, bool replace);
