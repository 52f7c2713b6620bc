// The reader of material blocks: a material's name, diffuse colour, transparency, two-sided
// mark and diffuse texture map 1 with its file name, scale and offset.
//
// A part of a block that comes before the block's first name has no material to go to and is
// passed over; a part too short for its value leaves the material as it was.
#include <cstdint>
#include <cstring>
#include <string>

#include "scene/AsciiCase.h"
#include "scene/ChunkIds.h"
#include "scene/Scene.h"

namespace {

constexpr int kColorBodyBytes = 9;  // a colour chunk's own header, then red, green, blue

// 0..100 percent to 0..1; anything below 0, and a float that is not a number, is 0.
float Fraction(float percent) {
    if (percent > 100.0f) {
        return 1.0f;
    }
    return percent >= 0.0f ? percent / 100.0f : 0.0f;
}

}  // namespace

// Material names match with the ASCII letters folded to lower case and every other byte as
// it stands.
std::string Scene::MaterialKey(const char* name) {
    return LowerAscii(name);
}

void Scene::ReadMaterial() {
    EnterChunk();
    Material* current = nullptr;
    ForEachSubChunk([this, &current] {
        switch (chunkId) {
            case chunk::kMaterialName:
                current = NewEmptyMaterial();
                current->next = materials->next;
                materials->next = current;
                EnterChunk();
                ReadString(current->name);
                LeaveChunk();
                newestMaterialByName_[MaterialKey(current->name)] = current;
                break;
            case chunk::kDiffuseColor:
                ReadChunkBody();
                TakeColor(current);
                break;
            case chunk::kTransparency:
            case chunk::kTwoSided:
            case chunk::kTextureMap:
                ReadMaterialPart(current);
                break;
            default:
                SkipChunk();
                break;
        }
    });
    LeaveChunk();
}

// The body of a diffuse colour chunk is a colour chunk; its identifier is not examined.
void Scene::TakeColor(Material* material) {
    if (material == nullptr) {
        Tolerate(ProblemKind::kColorBeforeName,
                 "a colour before the block's first name is ignored");
        return;
    }
    if (chunkLength < kColorBodyBytes) {
        Tolerate(ProblemKind::kColorTooShort, "colour body holds " + std::to_string(chunkLength) +
                                                  " of 9 bytes; colour " + "left as it was");
        return;
    }
    for (int k = 0; k < 3; ++k) {
        material->color[k] = static_cast<float>(chunkData[6 + k] / 255.0);
    }
    material->hasColor = true;
}

// Transparency, the two-sided mark (an empty chunk) and texture map 1; whatever their bodies
// hold, the block goes on at their end.
void Scene::ReadMaterialPart(Material* material) {
    if (material == nullptr) {
        Tolerate(ProblemKind::kPartBeforeName,
                 "a material part before the block's first name is ignored");
        SkipChunk();
        return;
    }
    const std::uint16_t part = chunkId;
    if (part == chunk::kTwoSided) {
        material->twoSided = true;
        SkipChunk();
        return;
    }
    EnterChunk();
    ForEachSubChunk([this, material, part] {
        if (part == chunk::kTransparency) {
            ReadPercentage(material->transparency);
        } else if (chunkId == chunk::kMapFileName) {
            char fileName[kNameCapacity];
            EnterChunk();
            ReadString(fileName);
            LeaveChunk();
            material->textureFile = fileName;
        } else if (chunkId == chunk::kMapUScale) {
            ReadMapFloat(material->uScale);
        } else if (chunkId == chunk::kMapVScale) {
            ReadMapFloat(material->vScale);
        } else if (chunkId == chunk::kMapUOffset) {
            ReadMapFloat(material->uOffset);
        } else if (chunkId == chunk::kMapVOffset) {
            ReadMapFloat(material->vOffset);
        } else {
            SkipChunk();
        }
    });
    LeaveChunk();
}

// A percentage chunk, 16-bit integer or float, as a fraction clamped to 0..1; other chunks are
// passed over.
void Scene::ReadPercentage(float& fraction) {
    const bool isInteger = chunkId == chunk::kPercentInt;
    if (!isInteger && chunkId != chunk::kPercentFloat) {
        SkipChunk();
        return;
    }
    ReadChunkBody();
    const int needed = isInteger ? 2 : 4;
    if (chunkLength < needed) {
        Tolerate(ProblemKind::kPercentTooShort, "percentage body holds " +
                                                    std::to_string(chunkLength) + " of " +
                                                    std::to_string(needed) + " bytes; ignored");
        return;
    }
    if (isInteger) {
        std::uint16_t percent;
        std::memcpy(&percent, chunkData, sizeof percent);
        fraction = Fraction(percent);
    } else {
        float percent;
        std::memcpy(&percent, chunkData, sizeof percent);
        fraction = Fraction(percent);
    }
}

void Scene::ReadMapFloat(float& value) {
    ReadChunkBody();
    if (chunkLength < 4) {
        Tolerate(ProblemKind::kMapValueTooShort, "map scale or offset body holds " +
                                                     std::to_string(chunkLength) +
                                                     " of 4 bytes; ignored");
        return;
    }
    std::memcpy(&value, chunkData, sizeof value);
}
