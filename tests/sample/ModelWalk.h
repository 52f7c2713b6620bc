// A strict walk of a 3DS chunk tree, for checking model files that this project writes.
//
// Unlike the program's reader, which tolerates damage, this walk reports every way a file
// departs from a well-formed tree of the subset the program reads: each chunk must fill its
// parent exactly, each count must match its body, each index must name something that exists.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct WalkedMaterial {
    std::string name;
    bool hasColor = false;
    std::uint8_t red = 0, green = 0, blue = 0;
};

struct WalkedMesh {
    std::string name;
    std::vector<float> xyz;              // three per vertex
    std::vector<std::uint16_t> corners;  // three per face
    std::vector<std::string> groups;     // material names, in file order
};

struct WalkedModel {
    bool hasScale = false;
    float scale = 0.0f;
    std::vector<WalkedMaterial> materials;  // in file order
    std::vector<WalkedMesh> meshes;
    std::vector<std::string> problems;  // "chunk 0x4110 at 1234: ..."
};

WalkedModel WalkModel(const std::vector<unsigned char>& bytes);
