#include "tests/sample/ModelWalk.h"

#include <cstdio>
#include <cstring>
#include <functional>

namespace {

bool SameIgnoringAsciiCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c; };
        if (lower(a[i]) != lower(b[i])) {
            return false;
        }
    }
    return true;
}

class Walker {
public:
    explicit Walker(const std::vector<unsigned char>& bytes) : bytes_(bytes) {}

    WalkedModel Run() {
        Children(0, bytes_.size(), [&](const Chunk& chunk) {
            if (chunk.id == 0x4D4D) {
                Children(chunk.body, chunk.end, [&](const Chunk& child) {
                    if (child.id == 0x3D3D) {
                        Editor(child);
                    }
                });
            } else {
                Problem(chunk, "is not the main chunk");
            }
        });
        return std::move(model_);
    }

private:
    struct Chunk {
        std::uint16_t id;
        std::size_t offset, body, end;
    };

    std::uint16_t U16(std::size_t at) const {
        return static_cast<std::uint16_t>(bytes_[at] | bytes_[at + 1] << 8);
    }
    std::uint32_t U32(std::size_t at) const {
        return static_cast<std::uint32_t>(U16(at)) | static_cast<std::uint32_t>(U16(at + 2)) << 16;
    }

    void Problem(const Chunk& chunk, const std::string& what) {
        char where[48];
        std::snprintf(where, sizeof where, "chunk 0x%04X at %zu: ", chunk.id, chunk.offset);
        model_.problems.push_back(where + what);
    }

    // Visits the chunks that fill [begin, end) back to back; stops at one that does not fit.
    void Children(std::size_t begin, std::size_t end,
                  const std::function<void(const Chunk&)>& visit) {
        for (std::size_t at = begin; at < end;) {
            Chunk chunk = {0, at, at + 6, end};
            if (end - at < 6) {
                Problem(chunk, "header runs past its parent");
                return;
            }
            chunk.id = U16(at);
            const std::uint32_t length = U32(at + 2);
            if (length < 6 || length > end - at) {
                Problem(chunk, "length " + std::to_string(length) + " does not fit its parent");
                return;
            }
            chunk.end = at + length;
            visit(chunk);
            at = chunk.end;
        }
    }

    // A zero-terminated string starting at `at`; `at` moves past the zero.
    bool String(const Chunk& chunk, std::size_t& at, std::string& text) {
        const void* zero = std::memchr(bytes_.data() + at, 0, chunk.end - at);
        if (zero == nullptr) {
            Problem(chunk, "name is not terminated within the chunk");
            return false;
        }
        const std::size_t length = static_cast<const unsigned char*>(zero) - (bytes_.data() + at);
        text.assign(reinterpret_cast<const char*>(bytes_.data() + at), length);
        at += length + 1;
        return true;
    }

    void Editor(const Chunk& editor) {
        Children(editor.body, editor.end, [&](const Chunk& chunk) {
            switch (chunk.id) {
                case 0x0100:
                    if (chunk.end - chunk.body != 4) {
                        Problem(chunk, "master scale body is not one float");
                        return;
                    }
                    std::memcpy(&model_.scale, bytes_.data() + chunk.body, 4);
                    model_.hasScale = true;
                    break;
                case 0xAFFF:
                    Material(chunk);
                    break;
                case 0x4000:
                    Object(chunk);
                    break;
                default:
                    break;
            }
        });
    }

    void Material(const Chunk& block) {
        Children(block.body, block.end, [&](const Chunk& chunk) {
            if (chunk.id == 0xA000) {
                std::size_t at = chunk.body;
                WalkedMaterial material;
                if (String(chunk, at, material.name) && at != chunk.end) {
                    Problem(chunk, "holds more than its name");
                }
                model_.materials.push_back(material);
            } else if (chunk.id == 0xA020) {
                if (model_.materials.empty()) {
                    Problem(chunk, "colours no material");
                    return;
                }
                WalkedMaterial& material = model_.materials.back();
                Children(chunk.body, chunk.end, [&](const Chunk& color) {
                    if (color.id != 0x0011 || color.end - color.body != 3) {
                        Problem(color, "is not a colour of three bytes");
                        return;
                    }
                    material.hasColor = true;
                    material.red = bytes_[color.body];
                    material.green = bytes_[color.body + 1];
                    material.blue = bytes_[color.body + 2];
                });
            }
        });
    }

    void Object(const Chunk& object) {
        std::size_t at = object.body;
        WalkedMesh mesh;
        if (!String(object, at, mesh.name)) {
            return;
        }
        bool first = true;
        Children(at, object.end, [&](const Chunk& chunk) {
            if (first && chunk.id != 0x4100) {
                Problem(chunk, "is the first sub-chunk of an object but not its mesh");
            }
            if (chunk.id == 0x4100) {
                Children(chunk.body, chunk.end, [&](const Chunk& part) { MeshPart(part, mesh); });
            }
            first = false;
        });
        model_.meshes.push_back(std::move(mesh));
    }

    void MeshPart(const Chunk& chunk, WalkedMesh& mesh) {
        const std::size_t size = chunk.end - chunk.body;
        if (chunk.id == 0x4110) {
            const std::size_t count = size >= 2 ? U16(chunk.body) : 0;
            if (size != 2 + 12 * count) {
                Problem(chunk, "body does not hold its " + std::to_string(count) + " vertices");
                return;
            }
            mesh.xyz.resize(3 * count);
            std::memcpy(mesh.xyz.data(), bytes_.data() + chunk.body + 2, 12 * count);
        } else if (chunk.id == 0x4120) {
            const std::size_t count = size >= 2 ? U16(chunk.body) : 0;
            if (size < 2 + 8 * count) {
                Problem(chunk, "body does not hold its " + std::to_string(count) + " faces");
                return;
            }
            const std::size_t vertices = mesh.xyz.size() / 3;
            for (std::size_t i = 0; i < count; ++i) {
                for (std::size_t k = 0; k < 3; ++k) {
                    const std::uint16_t index = U16(chunk.body + 2 + 8 * i + 2 * k);
                    if (index >= vertices) {
                        Problem(chunk, "face " + std::to_string(i) + " names vertex " +
                                           std::to_string(index) + " of " +
                                           std::to_string(vertices));
                    }
                    mesh.corners.push_back(index);
                }
            }
            Children(chunk.body + 2 + 8 * count, chunk.end, [&](const Chunk& group) {
                if (group.id == 0x4130) {
                    Group(group, count, mesh);
                }
            });
        }
    }

    void Group(const Chunk& chunk, std::size_t faceCount, WalkedMesh& mesh) {
        std::size_t at = chunk.body;
        std::string name;
        if (!String(chunk, at, name)) {
            return;
        }
        const std::size_t count = chunk.end - at >= 2 ? U16(at) : 0;
        if (chunk.end - at != 2 + 2 * count) {
            Problem(chunk, "body does not hold its " + std::to_string(count) + " face indices");
            return;
        }
        for (std::size_t i = 0; i < count; ++i) {
            if (U16(at + 2 + 2 * i) >= faceCount) {
                Problem(chunk, "names a face past the face list");
            }
        }
        bool known = false;
        for (const WalkedMaterial& material : model_.materials) {
            known = known || SameIgnoringAsciiCase(material.name, name);
        }
        if (!known) {
            Problem(chunk, "names material " + name + ", not defined before it");
        }
        mesh.groups.push_back(name);
    }

    const std::vector<unsigned char>& bytes_;
    WalkedModel model_;
};

}  // namespace

WalkedModel WalkModel(const std::vector<unsigned char>& bytes) {
    return Walker(bytes).Run();
}
