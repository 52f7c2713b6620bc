// make-texture-bench: the files of the texture benchmarks (scripts/bench-textures.sh).
//
//   make-texture-bench --one-colour SIDE DIR
//       replaces every .png file in DIR (the textured sample's images) with a SIDE x SIDE
//       image of one colour: a decompression bomb of a few hundred kilobytes.
//   make-texture-bench --many-materials MATERIALS FILES DIR
//       writes DIR/many.3ds, a strip of quads in MATERIALS textured materials, each naming its
//       own image in upper case ("T0001.PNG") for a 2x2 file in lower case (t0001.png), and
//       fills DIR with other small files up to FILES in all: a model in a Downloads folder.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "tools/chunkwriter/ChunkWriter.h"
#include "tools/imagewriter/OneColourImages.h"

namespace {

namespace fs = std::filesystem;

int Usage() {
    std::fputs(
        "usage: make-texture-bench --one-colour SIDE DIR\n"
        "       make-texture-bench --many-materials MATERIALS FILES DIR\n",
        stderr);
    return 2;
}

OneColour ColourNumber(int n) {
    return {static_cast<unsigned char>(40 + 53 * n), static_cast<unsigned char>(200 - 31 * n),
            static_cast<unsigned char>(90 + 17 * n)};
}

int ReplaceImages(int side, const fs::path& folder) {
    int replaced = 0;
    std::vector<fs::path> images;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
        if (entry.path().extension() == ".png") {
            images.push_back(entry.path());
        }
    }
    for (const fs::path& image : images) {
        if (!WriteOneColourPng(image.string(), side, side, ColourNumber(replaced++))) {
            std::fprintf(stderr, "make-texture-bench: cannot write %s\n", image.c_str());
            return 1;
        }
    }
    std::printf("make-texture-bench: %d images of %dx%d in %s\n", replaced, side, side,
                folder.c_str());
    return 0;
}

std::string Numbered(const char* prefix, int n, const char* suffix) {
    char name[64];
    std::snprintf(name, sizeof name, "%s%05d%s", prefix, n, suffix);
    return name;
}

int ManyMaterials(int materials, int files, const fs::path& folder) {
    fs::create_directories(folder);
    ChunkWriter w;
    w.BeginModel();
    MeshObjectSpec strip{"Strip", {}, {}, {}};
    for (int m = 0; m < materials; ++m) {
        const std::string name = Numbered("M", m, "");
        w.Begin(chunk::kMaterialBlock);
        w.Begin(chunk::kMaterialName);
        w.String(name);
        w.End();
        w.DiffuseColor(200, 200, 200);
        w.TextureMap(Numbered("T", m, ".PNG"));
        w.End();
        // One quad a material, side by side; the mesh's 16-bit indices hold 16,383 quads.
        const auto first = static_cast<std::uint16_t>(strip.xyz.size() / 3);
        const float x = static_cast<float>(m);
        strip.xyz.insert(strip.xyz.end(), {x, 0, 0, x + 1, 0, 0, x + 1, 0, 1, x, 0, 1});
        strip.uv.insert(strip.uv.end(), {0, 0, 1, 0, 1, 1, 0, 1});
        strip.abc.insert(strip.abc.end(),
                         {first, std::uint16_t(first + 1), std::uint16_t(first + 2), first,
                          std::uint16_t(first + 2), std::uint16_t(first + 3)});
        strip.faceGroups.push_back({name, {std::uint16_t(2 * m), std::uint16_t(2 * m + 1)}});
    }
    w.MeshObject(strip);
    w.EndModel();
    std::ofstream(folder / "many.3ds", std::ios::binary)
        .write(reinterpret_cast<const char*>(w.bytes().data()),
               static_cast<std::streamsize>(w.bytes().size()));
    for (int m = 0; m < materials; ++m) {
        if (!WriteOneColourPng((folder / Numbered("t", m, ".png")).string(), 2, 2,
                               ColourNumber(m))) {
            return 1;
        }
    }
    for (int n = materials; n < files; ++n) {
        std::ofstream(folder / Numbered("download-", n, ".txt")) << n << '\n';
    }
    std::printf("make-texture-bench: %s with %d materials among %d files\n",
                (folder / "many.3ds").c_str(), materials, files);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() == 3 && args[0] == "--one-colour") {
        const int side = std::atoi(args[1].c_str());
        return side > 0 && side <= 65535 ? ReplaceImages(side, args[2]) : Usage();
    }
    if (args.size() == 4 && args[0] == "--many-materials") {
        const int materials = std::atoi(args[1].c_str());
        const int files = std::atoi(args[2].c_str());
        return materials > 0 && materials <= 16383 && files >= materials
                   ? ManyMaterials(materials, files, args[3])
                   : Usage();
    }
    return Usage();
}
