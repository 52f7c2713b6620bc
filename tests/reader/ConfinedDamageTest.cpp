// Damage inside one mesh costs nothing outside it: for every chunk of a mesh, each kind of
// damaged body (cut, miscounted, noise), with every enclosing length made to fit, leaves every
// other mesh, every material and the scale as the undamaged file loads them, and the walk
// still reaches the end of the file.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "tests/reader/ChunkTree.h"
#include "tests/reader/LoadedModel.h"
#include "tests/reader/ModelCases.h"
#include "tests/reader/ModelLists.h"
#include "tools/make-sample/ModelEncoder.h"
#include "tools/make-sample/SceneLayout.h"

namespace {

using test_models::Bytes;

ModelLists Load(const Bytes& bytes) {
    ModelFile file(bytes);
    Scene scene(file.path());
    return model_lists::Of(scene);
}

// Where a chunk's body holds a count, or npos.
std::size_t CountOffset(std::uint16_t id, const Bytes& body) {
    if (id == chunk::kVertexList || id == chunk::kFaceList) {
        return 0;
    }
    if (id == chunk::kMaterialGroup) {
        for (std::size_t i = 0; i < body.size(); ++i) {
            if (body[i] == 0) {
                return i + 1;  // after the name
            }
        }
    }
    return std::string::npos;
}

std::vector<Bytes> DamagedBodies(std::uint16_t id, const Bytes& body, std::uint32_t seed) {
    auto cut = [&](std::size_t size) {
        return Bytes(body.begin(), body.begin() + std::min(size, body.size()));
    };
    std::vector<Bytes> bodies = {{}, cut(1), cut(2), cut(body.size() / 2)};
    const std::size_t at = CountOffset(id, body);
    if (at != std::string::npos && at + 2 <= body.size()) {
        Bytes higher = body;
        const unsigned count = (body[at] | body[at + 1] << 8) + 1u;
        higher[at] = static_cast<unsigned char>(count);
        higher[at + 1] = static_cast<unsigned char>(count >> 8);
        bodies.push_back(higher);
        higher[at] = higher[at + 1] = 0xFF;
        bodies.push_back(higher);
    }
    std::mt19937 noise(seed);
    Bytes random(body.size());
    for (unsigned char& byte : random) {
        byte = static_cast<unsigned char>(noise());
    }
    bodies.push_back(random);
    return bodies;
}

// Damages every chunk of every `stride`th named object (and of the last) in turn.
void ExpectDamageConfined(const Bytes& model, std::size_t stride) {
    const ModelLists whole = Load(model);
    ASSERT_EQ(whole.problems, 0u);  // well-formed: every unknown chunk was skipped whole
    ASSERT_EQ(whole.bytesRead, static_cast<std::int32_t>(model.size()));
    const std::vector<ChunkNode> tree = chunk_tree::Parse(model.data(), model.size());
    ASSERT_EQ(chunk_tree::Bytes(tree), model);
    std::vector<chunk_tree::ObjectChunk> chunks;
    std::size_t objects = 0;
    chunk_tree::CollectObjectChunks(tree, chunks, objects);
    ASSERT_EQ(objects, whole.meshes.size());

    int failures = 0;
    for (const auto& [k, target] : chunks) {
        if ((k % stride != 0 && k + 1 != objects) || failures >= 5) {
            continue;
        }
        const auto bodies = DamagedBodies(target->id, chunk_tree::BodyOf(*target),
                                          static_cast<std::uint32_t>(k * 64 + target->id));
        for (std::size_t d = 0; d < bodies.size(); ++d) {
            const Bytes damaged = chunk_tree::Bytes(tree, target, &bodies[d]);
            if (!model_lists::OutsideUnchanged(whole, Load(damaged), k, damaged.size())) {
                ++failures;
                ADD_FAILURE() << "object " << k << ", chunk 0x" << std::hex << target->id
                              << std::dec << ", damaged body " << d << " of " << bodies[d].size()
                              << " bytes changed what lies outside it";
            }
        }
    }
}

TEST(ConfinedDamage, WellFormedModelsOfTheTable) {
    for (const test_models::ModelCase& model : test_models::ModelCases()) {
        if (std::string(model.name).rfind("well_formed", 0) == 0) {
            SCOPED_TRACE(model.name);
            ExpectDamageConfined(model.bytes, 1);
        }
    }
}

// Every 12th object of the sample scene, with all its materials: every load of the whole
// scene for each damaged body would make this test slow.
TEST(ConfinedDamage, SampleScene) {
    const Bytes whole = EncodeModel(BuildSampleScene(), 1.0f, kStartX, kStartY);
    std::vector<ChunkNode> tree = chunk_tree::Parse(whole.data(), whole.size());
    std::vector<ChunkNode>& editor = chunk_tree::Find(tree, chunk::kEditor)->children;
    std::size_t object = 0;
    editor.erase(std::remove_if(editor.begin(), editor.end(),
                                [&](const ChunkNode& node) {
                                    return node.id == chunk::kNamedObject && object++ % 12 != 0;
                                }),
                 editor.end());
    ASSERT_EQ(object, 190u);
    ExpectDamageConfined(chunk_tree::Bytes(tree), 1);
}

}  // namespace
