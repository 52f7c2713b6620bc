// Damage inside one mesh costs nothing outside it: for every chunk of a mesh, each kind of
// damaged body (cut, miscounted, noise), with every enclosing length made to fit, leaves every
// other mesh, every material and the scale as the undamaged file loads them, and the walk
// still reaches the end of the file.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

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
    if (id == chunk::kMaterialGroup) {
        const auto zero = std::find(body.begin(), body.end(), 0);
        return zero != body.end() ? zero - body.begin() + 1 : std::string::npos;  // after the name
    }
    return id == chunk::kVertexList || id == chunk::kFaceList ? 0 : std::string::npos;
}

std::vector<Bytes> DamagedBodies(std::uint16_t id, const Bytes& body, std::uint32_t seed) {
    auto cut = [&](std::size_t size) {
        return test_models::CutAt(body, std::min(size, body.size()));
    };
    std::vector<Bytes> bodies = {{}, cut(1), cut(2), cut(body.size() / 2)};
    const std::size_t at = CountOffset(id, body);
    if (at != std::string::npos && at + 2 <= body.size()) {
        Bytes higher = body;  // the count one higher, then the highest
        const unsigned count = (body[at] | body[at + 1] << 8) + 1u;
        higher[at] = static_cast<unsigned char>(count);
        higher[at + 1] = static_cast<unsigned char>(count >> 8);
        bodies.push_back(higher);
        higher[at] = higher[at + 1] = 0xFF;
        bodies.push_back(higher);
    }
    std::mt19937 noise(seed);
    Bytes random(body.size());
    std::generate(random.begin(), random.end(),
                  [&] { return static_cast<unsigned char>(noise()); });
    bodies.push_back(random);
    return bodies;
}

void ExpectDamageConfined(const Bytes& model) {
    const ModelLists whole = Load(model);
    const std::vector<ChunkNode> tree = chunk_tree::Parse(model.data(), model.size());
    ASSERT_EQ(chunk_tree::Bytes(tree), model);
    std::vector<chunk_tree::ObjectChunk> chunks;
    std::size_t objects = 0;
    chunk_tree::CollectObjectChunks(tree, chunks, objects);
    ASSERT_EQ(objects, whole.meshes.size());
    for (const auto& [k, target] : chunks) {
        const auto bodies = DamagedBodies(target->id, chunk_tree::BodyOf(*target),
                                          static_cast<std::uint32_t>(k * 64 + target->id));
        for (std::size_t d = 0; d < bodies.size(); ++d) {
            const Bytes damaged = chunk_tree::Bytes(tree, target, &bodies[d]);
            EXPECT_TRUE(model_lists::OutsideUnchanged(whole, Load(damaged), k, damaged.size()))
                << "object " << k << ", chunk 0x" << std::hex << target->id << std::dec
                << ", damaged body " << d << " of " << bodies[d].size() << " bytes";
        }
    }
}

TEST(ConfinedDamage, WellFormedModelsOfTheTable) {
    for (const test_models::ModelCase& model : test_models::ModelCases()) {
        if (std::string(model.name).rfind("well_formed", 0) == 0) {
            SCOPED_TRACE(model.name);
            ExpectDamageConfined(model.bytes);
        }
    }
}

// Every 12th object of the sample scene with all its materials: loading the whole scene for
// each damaged body would make the test slow.
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
    ExpectDamageConfined(chunk_tree::Bytes(tree));
}

}  // namespace
