// Model files, well-formed and damaged, each with what the reader must make of it: the
// canonical dump of what it loads and the kinds of problem it lists, in order. The reader's
// tests run every case; the fuzzer starts from them. Most damaged files are the smallest
// complete model (RedTriangle) with one chunk changed. The letter of a damaged case is the
// rule it pins:
//   a  a header length below 6 ends the chunk that holds it
//   b  a length past the end of the chunk that holds it, or of the file, is cut to end there
//   c  a body shorter than its count keeps the whole vertices or faces it holds
//   d  a face naming a vertex the mesh does not have gets the zero normal
//   e  names are cut to 255 bytes; a name cut short by its chunk or the file ends there
//   f  colours before a name or shorter than 9 bytes, and short master scales, change nothing
//   g  a second vertex list replaces the first
//   h  a damaged material part, mapping list, smoothing list or group face list costs only itself
#pragma once

#include <climits>
#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include "scene/Scene.h"
#include "tools/chunkwriter/ChunkTree.h"

namespace test_models {

using Bytes = std::vector<unsigned char>;

// A problem the reader lists: its kind, and the identifier and file offset of its chunk.
using Problem = std::tuple<ProblemKind, std::uint16_t, long>;
inline Problem P(ProblemKind kind, std::uint16_t chunkId, long offset) {
    return {kind, chunkId, offset};
}

struct ModelCase {
    const char* name;
    Bytes bytes;
    std::string dump;
    std::vector<Problem> problems;
    std::string materials;  // the material dump, when not empty
};
inline ModelCase Case(const char* name, Bytes bytes, std::string dump,
                      std::vector<Problem> problems = {}, std::string materials = {}) {
    return {name, std::move(bytes), std::move(dump), std::move(problems), std::move(materials)};
}

inline Bytes Written(const std::function<void(ChunkWriter&)>& write) {
    ChunkWriter w;
    write(w);
    return w.bytes();
}
// The main chunk around the editor chunk around whatever `contents` writes.
inline Bytes EditorFile(const std::function<void(ChunkWriter&)>& contents) {
    return Written([&](ChunkWriter& w) {
        w.BeginModel();
        contents(w);
        w.EndModel();
    });
}
inline Bytes CutAt(Bytes bytes, std::size_t size) {
    bytes.resize(size);
    return bytes;
}

const std::vector<float> kUnitTriangle = {0, 0, 0, 1, 0, 0, 0, 1, 0};

// An unknown chunk whose body, were it walked instead of skipped, would be an unreadable
// header: a reader that does not skip it lists a problem.
inline void UnknownChunk(ChunkWriter& w, std::uint16_t id) {
    w.Begin(id);
    w.U32(0xDEADBEEF);
    w.End();
}

// The smallest complete model, 143 bytes: scale 1, a material Red of colour (1, 0, 0), and a
// mesh Box with one triangle whose material group names Red.
inline Bytes RedTriangle() {
    return EditorFile([](ChunkWriter& w) {
        w.MasterScale(1.0f);
        w.Material("Red", 255, 0, 0);
        w.MeshObject({"Box", kUnitTriangle, {0, 1, 2}, {"Red"}});
    });
}

// `whole` with its first chunk `id` changed; the enclosing lengths are made to fit.
inline Bytes Changed(const Bytes& whole, std::uint16_t id,
                     const std::function<void(ChunkNode&)>& change) {
    std::vector<ChunkNode> tree = chunk_tree::Parse(whole.data(), whole.size());
    change(*chunk_tree::Find(tree, id));
    return chunk_tree::Bytes(tree);
}
inline Bytes RedTriangleWith(std::uint16_t id, const std::function<void(ChunkNode&)>& change) {
    return Changed(RedTriangle(), id, change);
}
// RedTriangle with a second vertex list, which `list` writes, after the first.
inline Bytes WithSecondVertexList(const std::function<void(ChunkWriter&)>& list) {
    return RedTriangleWith(chunk::kTriMesh, [&](ChunkNode& mesh) {
        const Bytes bytes = Written(list);
        mesh.children.insert(mesh.children.begin() + 1,
                             chunk_tree::Parse(bytes.data(), bytes.size())[0]);
    });
}
inline Bytes WithBody(std::uint16_t id, const Bytes& body, const Bytes& whole = RedTriangle()) {
    return Changed(whole, id, [&](ChunkNode& node) {
        node.data = body;
        node.children.clear();
    });
}

// Brick (30 %, a map with scale and offset, two-sided) and Glass (150 % as a float), and a quad
// whose faces take one each, with mapping coordinates and smoothing groups `change` may alter.
inline Bytes TexturedQuad(const std::function<void(MeshObjectSpec&)>& change = [](auto&) {}) {
    MeshObjectSpec quad{"Quad", {0, 0, 0, 1, 0, 0, 1, 1, 0, 0, 1, 0}, {0, 1, 2, 0, 2, 3}, {}};
    quad.faceGroups = {{"Brick", {0}}, {"Glass", {1}}};
    quad.uv = {0, 0, 1, 0, 1, 1, 0, 1};
    quad.smoothing = {1, 3};
    change(quad);
    return EditorFile([&](ChunkWriter& w) {
        const auto beginMaterial = [&](const char* name) {
            w.Begin(chunk::kMaterialBlock);
            w.Begin(chunk::kMaterialName);
            w.String(name);
            w.End();
        };
        beginMaterial("Brick");
        w.Transparency(30);
        w.TextureMap("BRICK.JPG", 2, 4, 0.5f, 0.25f);
        w.TwoSided();
        w.End();
        beginMaterial("Glass");
        w.Begin(chunk::kTransparency);
        w.Begin(chunk::kPercentFloat);
        w.Float(150);
        w.End();
        w.End();
        w.End();
        w.MeshObject(quad);
    });
}
inline Bytes WithLength(std::uint16_t id, std::int32_t length) {
    return RedTriangleWith(id, [&](ChunkNode& node) { node.length = length; });
}

// The dump's first lines, and those of mesh 0 before its vertices.
inline std::string Head(int bytesRead, const char* scale = "1") {
    return std::string("loaded 1\nmodelScale ") + scale + "\nbytesRead " +
           std::to_string(bytesRead) + "\n";
}
inline std::string MeshHead(int vertices, int faces, const std::string& material = "",
                            const char* color = "unset") {
    return "mesh 0 vertices=" + std::to_string(vertices) + " faces=" + std::to_string(faces) +
           " material=" + material + " color=" + color + "\n";
}
// The dump's lines of a mesh holding the unit triangle and its one face.
inline std::string TriangleMesh(int index, const std::string& material, const char* color) {
    return "mesh " + std::to_string(index) + " vertices=3 faces=1 material=" + material +
           " color=" + color + "\n  v 0 0 0\n  v 1 0 0\n  v 0 1 0\n  f 0 1 2 0 n 0 -0 1\n";
}

// TexturedQuad's material dump, in parts.
const std::string kGlass =
    "material 0 name=Glass color=unset texture= scale=1 1 offset=0 0 transparency=1 "
    "two-sided=0\n";
const std::string kBrick =
    "material 1 name=Brick color=unset texture=BRICK.JPG scale=2 4 offset=0.5 0.25 "
    "transparency=0.300000012 two-sided=1\n";
const std::string kQuadHead = "mesh 0 coordinates=4 materials=per-face smoothing=per-face\n";
const std::string kUv = "  t 0 0\n  t 1 0\n  t 1 1\n  t 0 1\n";
const std::string kFaces =
    "  f 0 material=Brick smoothing=0x1\n  f 1 material=Glass smoothing=0x3\n";
// A TexturedQuad row: the dump is the undamaged one, and the material dump unless given.
inline ModelCase QuadCase(const char* name, Bytes bytes, std::vector<Problem> problems,
                          std::string materials = kGlass + kBrick + kQuadHead + kUv + kFaces) {
    const std::string dump =
        Head(static_cast<int>(bytes.size())) +
        "material 0 name=Glass color=unset\nmaterial 1 name=Brick color=unset\n"
        "mesh 0 vertices=4 faces=2 material=Glass color=unset\n  v 0 0 0\n  v 1 0 0\n"
        "  v 1 1 0\n  v 0 1 0\n  f 0 1 2 0 n 0 0 1\n  f 0 2 3 0 n 0 -0 1\n";
    return Case(name, std::move(bytes), dump, std::move(problems), std::move(materials));
}

inline std::vector<ModelCase> ModelCases() {
    using K = ProblemKind;
    using namespace chunk;
    const std::string red = "material 0 name=Red color=1 0 0\n";
    const std::string unsetRed =
        "material 0 name=Red color=unset\n" + TriangleMesh(0, "Red", "unset");
    const std::string redMesh = TriangleMesh(0, "Red", "1 0 0");
    const std::string triangle = "  v 0 0 0\n  v 1 0 0\n  v 0 1 0\n";
    const std::string zeroFace = "  f 0 1 2 0 n 0 0 0\n";
    const std::string n255(255, 'n'), m255(255, 'm'), M255(255, 'M');
    return {
        Case("well_formed_red_triangle", RedTriangle(), Head(143) + red + redMesh),
        Case("well_formed_empty_file", {}, Head(0)),
        Case("well_formed_walk_acts_on_identifiers_wherever_met", Written([](ChunkWriter& w) {
                 w.MasterScale(4.0f);  // outside the main chunk
                 w.Begin(kMain);
                 w.MeshObject({"Loose", kUnitTriangle, {0, 1, 2}, {}});  // outside the editor
                 w.Begin(kEditor);
                 w.Begin(kNamedObject + 0x0D);  // unknown: skipped whole, object and all
                 w.MeshObject({"Inside", kUnitTriangle, {0, 1, 2}, {}});
                 w.End();
                 w.Begin(kNamedObject + 0x0E);  // unknown, of one body byte: skipped too
                 w.Bytes({0x4D});
                 w.End();
                 w.MasterScale(0.5f);  // the later scale wins
                 w.EndModel();
             }),
             Head(202, "0.5") + TriangleMesh(0, "", "unset")),
        Case("well_formed_objects_without_a_mesh_first_keep_an_empty_node",
             EditorFile([](ChunkWriter& w) {
                 w.Begin(kNamedObject);
                 w.String("Late");
                 UnknownChunk(w, kLight);
                 w.Begin(kTriMesh);  // met by the top-level walk, which skips it
                 w.VertexList(kUnitTriangle);
                 w.End();
                 w.End();
                 w.MeshObject({"Box", kUnitTriangle, {0, 1, 2}, {}});
             }),
             Head(159) + MeshHead(0, 0) + TriangleMesh(1, "", "unset")),
        // Unknown chunks, and chunks out of their place, are skipped whole. Materials stand newest
        // first; a colour colours the name before it. Groups match materials read before them,
        // letter case not told apart but other bytes; of two same-named materials the later; of two
        // groups the last name and the colour of the last that matched, none when that material has
        // no colour.
        Case("well_formed_materials_and_the_groups_that_name_them", EditorFile([](ChunkWriter& w) {
                 const char* materials[] = {"Brick", "A[\xC4", "Red", "RED"};
                 for (int i = 0; i < 4; ++i) {
                     w.Material(materials[i], 0, static_cast<std::uint8_t>(51 * (i + 1)), 0);
                 }
                 w.Begin(kMaterialBlock);
                 UnknownChunk(w, 0xA010);
                 w.Header(0xA015, 6);  // empty chunks are stepped over in every walk
                 for (const char* name : {"Bare", "Blue"}) {
                     w.Begin(kMaterialName);
                     w.String(name);
                     w.End();
                 }
                 w.DiffuseColor(0, 0, 255);
                 w.End();
                 for (const std::vector<std::string>& groups : {std::vector<std::string>{"BRICK"},
                                                                {"a{\xE4"},
                                                                {"red"},
                                                                {"Brick", "Nope"},
                                                                {"Red", "Bare"}}) {
                     w.MeshObject({"M", kUnitTriangle, {0, 1, 2}, groups});
                 }
                 // Unknown chunks in a mesh and its face list, a vertex list after the face list.
                 w.Begin(kNamedObject);
                 w.String("House");
                 w.Begin(kTriMesh);
                 UnknownChunk(w, 0x4160);
                 w.Header(0x4165, 6);
                 w.VertexList(kUnitTriangle);
                 w.Begin(kFaceList);
                 w.FaceRecords({0, 1, 2});
                 UnknownChunk(w, 0x4154);
                 w.Header(0x4155, 6);
                 w.MaterialGroup("Blue", {0});
                 w.End();
                 w.VertexList({9, 9, 9});
                 w.End();
                 w.MaterialGroup("Brick", {0});  // after the mesh: the top-level walk skips it
                 w.End();
             }),
             Head(832) +
                 "material 0 name=Blue color=0 0 1\nmaterial 1 name=Bare color=unset\n"
                 "material 2 name=RED color=0 0.800000012 0\n"
                 "material 3 name=Red color=0 0.600000024 0\n"
                 "material 4 name=A[\xC4 color=0 0.400000006 0\n"
                 "material 5 name=Brick color=0 0.200000003 0\n" +
                 TriangleMesh(0, "BRICK", "0 0.200000003 0") + TriangleMesh(1, "a{\xE4", "unset") +
                 TriangleMesh(2, "red", "0 0.800000012 0") +
                 TriangleMesh(3, "Nope", "0 0.200000003 0") + TriangleMesh(4, "Bare", "unset") +
                 TriangleMesh(5, "Blue", "0 0 1")),
        Case("a_length_0_ends_the_editor_chunk", WithLength(kMasterScale, 0), Head(143),
             {P(K::kLengthBelowHeader, kMasterScale, 12)}),
        Case("a_length_3_in_a_mesh_leaves_the_mesh", WithLength(kFaceList, 3),
             Head(143) + red + MeshHead(3, 0) + triangle,
             {P(K::kLengthBelowHeader, kFaceList, 113)}),
        Case("a_lowest_length_in_a_material_block_leaves_the_block",
             WithLength(kDiffuseColor, INT32_MIN), Head(143) + unsetRed,
             {P(K::kLengthBelowHeader, kDiffuseColor, 38)}),
        Case("a_length_5_as_first_sub_chunk_leaves_the_named_object", WithLength(kTriMesh, 5),
             Head(143) + red + MeshHead(0, 0), {P(K::kLengthBelowHeader, kTriMesh, 63)}),
        Case("a_named_object_ending_inside_a_header", WithBody(kNamedObject, {'B', 0, 1, 2, 3}),
             Head(64) + red + MeshHead(0, 0), {P(K::kHeaderCutShort, 0, 61)}),
        Case("a_contrast_empty_bodies_are_stepped_over_to_the_last_byte",
             Written([](ChunkWriter& w) {
                 w.Header(0x1234, 6);
                 w.Material("Red", 255, 0, 0);
                 w.Header(0x1235, 6);
             }),
             Head(43) + red),
        Case("b_file_ends_inside_a_header", CutAt(RedTriangle(), 144), Head(143) + red + redMesh,
             {P(K::kHeaderCutShort, 0, 143)}),
        Case("b_name_chunk_past_its_block_is_cut_at_the_block", WithLength(kMaterialName, 1000),
             Head(143) + unsetRed, {P(K::kLengthPastEnd, kMaterialName, 28)}),
        Case("b_mesh_length_at_the_largest_32_bit_value", WithLength(kTriMesh, INT32_MAX),
             Head(143) + red + redMesh, {P(K::kLengthPastEnd, kTriMesh, 63)}),
        Case("b_c_file_cut_inside_the_vertex_list", CutAt(RedTriangle(), 107),
             Head(107) + red + MeshHead(2, 0) + triangle.substr(0, 20),
             {P(K::kLengthPastEnd, kMain, 0), P(K::kLengthPastEnd, kEditor, 6),
              P(K::kLengthPastEnd, kNamedObject, 53), P(K::kLengthPastEnd, kTriMesh, 63),
              P(K::kLengthPastEnd, kVertexList, 69), P(K::kVerticesMissing, kVertexList, 69)}),
        // Count 5, but two vertices and 5 stray bytes.
        Case("c_d_vertex_count_larger_than_the_body",
             RedTriangleWith(kVertexList,
                             [](ChunkNode& node) {
                                 node.data = CutAt(node.data, 31);
                                 node.data[0] = 5;
                             }),
             Head(136) + red + MeshHead(2, 1, "Red", "1 0 0") + triangle.substr(0, 20) + zeroFace,
             {P(K::kVerticesMissing, kVertexList, 69), P(K::kFacesNotDrawable, kFaceList, 106)}),
        // Count 4, but two records and 4 stray bytes.
        Case("c_face_count_larger_than_the_body", WithBody(kFaceList, Written([](ChunkWriter& w) {
                                                               w.FaceRecords({0, 1, 2, 2, 1, 0});
                                                               w.U32(0xFFFFFFFF);
                                                               w.bytes()[0] = 4;
                                                           })),
             Head(141) + red + MeshHead(3, 2) + triangle +
                 "  f 0 1 2 0 n 0 -0 1\n  f 2 1 0 0 n -0 -0 -1\n",
             {P(K::kFacesMissing, kFaceList, 113)}),
        Case("c_no_face_count", WithBody(kFaceList, {1}),
             Head(120) + red + MeshHead(3, 0) + triangle, {P(K::kNoFaceCount, kFaceList, 113)}),
        Case("d_face_indices_past_the_vertex_count_in_each_corner",
             WithBody(kFaceList, Written([](ChunkWriter& w) {
                          w.FaceRecords({0, 1, 2, 3, 1, 2, 0, 7, 1, 0, 1, 3});
                      })),
             Head(153) + red + MeshHead(3, 4) + triangle +
                 "  f 0 1 2 0 n 0 -0 1\n  f 3 1 2 0 n 0 0 0\n  f 0 7 1 0 n 0 0 0\n  f 0 1 3 0 n 0 "
                 "0 0\n",
             {P(K::kFacesNotDrawable, kFaceList, 113)}),
        Case("c_no_vertex_count", WithBody(kVertexList, {5}),
             Head(106) + red + MeshHead(0, 1, "Red", "1 0 0") + zeroFace,
             {P(K::kNoVertexCount, kVertexList, 69), P(K::kFacesNotDrawable, kFaceList, 76)}),
        Case("d_faces_of_a_mesh_without_vertices", WithBody(kVertexList, {0, 0}),
             Head(107) + red + MeshHead(0, 1, "Red", "1 0 0") + zeroFace,
             {P(K::kFacesNotDrawable, kFaceList, 77)}),
        // Names of 255 bytes stay whole; of 256 are cut, and still match.
        Case("e_names_of_256_bytes_are_cut_and_still_match", EditorFile([&](ChunkWriter& w) {
                 w.Material(n255, 0, 255, 0);
                 w.Material(m255 + "x", 0, 0, 255);
                 w.MeshObject({n255, kUnitTriangle, {0, 1, 2}, {n255}});
                 w.MeshObject({"Box", kUnitTriangle, {0, 1, 2}, {M255 + "X"}});
             }),
             Head(1516) + "material 0 name=" + m255 + " color=0 0 1\nmaterial 1 name=" + n255 +
                 " color=0 1 0\n" + TriangleMesh(0, n255, "0 1 0") + TriangleMesh(1, M255, "0 0 1"),
             {P(K::kNameTooLong, kMaterialName, 301), P(K::kNameTooLong, kMaterialGroup, 1249)}),
        Case("e_name_cut_short_by_the_end_of_the_file", CutAt(RedTriangle(), 36),
             Head(36) + "material 0 name=Re color=unset\n",
             {P(K::kLengthPastEnd, kMain, 0), P(K::kLengthPastEnd, kEditor, 6),
              P(K::kLengthPastEnd, kMaterialBlock, 22), P(K::kLengthPastEnd, kMaterialName, 28),
              P(K::kNameCutShort, kMaterialName, 28)}),
        Case("e_name_cut_short_by_its_chunk", WithBody(kMaterialName, {'R', 'e', 'd'}),
             Head(142) + red + redMesh, {P(K::kNameCutShort, kMaterialName, 28)}),
        Case("e_material_group_name_without_its_zero", WithBody(kMaterialGroup, {'R', 'e', 'd'}),
             Head(138) + red + redMesh, {P(K::kGroupNameUnended, kMaterialGroup, 129)}),
        Case("f_colour_before_the_first_name_colours_nothing", EditorFile([](ChunkWriter& w) {
                 w.Material("Red", 255, 0, 0);
                 w.Begin(kMaterialBlock);
                 w.DiffuseColor(0, 0, 255);
                 w.Begin(kMaterialName);
                 w.String("Blue");
                 w.End();
                 w.End();
             }),
             Head(75) + "material 0 name=Blue color=unset\nmaterial 1 name=Red color=1 0 0\n",
             {P(K::kColorBeforeName, kDiffuseColor, 49)}),
        // A colour chunk of 8 bytes, its header's length saying 9.
        Case("f_colour_body_of_8_bytes_is_ignored",
             RedTriangleWith(kDiffuseColor, [](ChunkNode& node) { node.data.pop_back(); }),
             Head(142) + unsetRed, {P(K::kColorTooShort, kDiffuseColor, 38)}),
        Case("f_master_scale_of_3_bytes_is_ignored", WithBody(kMasterScale, {0, 0, 0}),
             Head(142) + red + redMesh, {P(K::kScaleTooShort, kMasterScale, 12)}),
        Case("g_second_vertex_list_replaces_the_first", WithSecondVertexList([](ChunkWriter& w) {
                 w.VertexList({0, 0, 1, 2, 0, 1, 0, 2, 1, 2, 2, 1});
             }),
             Head(199) + red + MeshHead(4, 1, "Red", "1 0 0") +
                 "  v 0 0 1\n  v 2 0 1\n  v 0 2 1\n  v 2 2 1\n  f 0 1 2 0 n 0 -0 1\n",
             {P(K::kSecondVertexList, kVertexList, 113)}),
        // ... also when the second holds no count: the mesh is left with no vertices at all.
        Case("g_second_vertex_list_without_a_count_leaves_none",
             WithSecondVertexList([](ChunkWriter& w) { w.Header(kVertexList, 7), w.U8(3); }),
             Head(150) + red + MeshHead(0, 1, "Red", "1 0 0") + "  f 0 1 2 0 n 0 0 0\n",
             {P(K::kSecondVertexList, kVertexList, 113), P(K::kNoVertexCount, kVertexList, 113),
              P(K::kFacesNotDrawable, kFaceList, 120)}),
        // Per-face materials, texture map, transparency (clamped), two-sided, coordinates and
        // smoothing groups.
        QuadCase("well_formed_textured_quad", TexturedQuad(), {}),
        // A map part the reader does not use (the tiling flags) is stepped over: the scale and
        // offset after it are read.
        QuadCase("well_formed_unknown_map_part_is_stepped_over",
                 Changed(TexturedQuad(), kTextureMap,
                         [](ChunkNode& map) {
                             ChunkNode tiling;
                             tiling.id = 0xA351;
                             tiling.data = {0x10, 0x00};
                             map.children.insert(map.children.begin() + 2, tiling);
                         }),
                 {}),
        QuadCase("h_group_face_past_the_faces_is_left_out", TexturedQuad([](MeshObjectSpec& m) {
                     m.faceGroups[0].second = {0, 2};
                 }),
                 {P(K::kGroupFacePastEnd, kMaterialGroup, 291)}),
        // Count 3 with one index: face 1 is left to the next group.
        QuadCase("h_group_count_past_its_body",
                 WithBody(kMaterialGroup, {'B', 'r', 'i', 'c', 'k', 0, 3, 0, 0, 0}, TexturedQuad()),
                 {P(K::kGroupFacesMissing, kMaterialGroup, 291)}),
        QuadCase("h_coordinate_count_past_its_body",
                 Changed(TexturedQuad(), kMappingCoords, [](ChunkNode& n) { n.data[0] = 9; }),
                 {P(K::kMappingCoordsMissing, kMappingCoords, 227)}),
        QuadCase("h_coordinates_not_one_per_vertex",
                 TexturedQuad([](MeshObjectSpec& m) { m.uv.resize(6); }),
                 {P(K::kMappingCountDiffers, kMappingCoords, 227)},
                 kGlass + kBrick + "mesh 0 coordinates=3 materials=per-face smoothing=per-face\n" +
                     kUv.substr(0, 24) + kFaces),
        QuadCase("h_fewer_smoothing_masks_than_faces",
                 TexturedQuad([](MeshObjectSpec& m) { m.smoothing.pop_back(); }),
                 {P(K::kSmoothingMissing, kSmoothingGroups, 323)},
                 kGlass + kBrick + "mesh 0 coordinates=4 materials=per-face smoothing=none\n" +
                     kUv + "  f 0 material=Brick\n  f 1 material=Glass\n"),
        QuadCase("h_short_percentage_and_map_scale_change_nothing",
                 Changed(Changed(TexturedQuad(), kPercentInt, [](ChunkNode& n) { n.data = {30}; }),
                         kMapUScale, [](ChunkNode& n) { n.data.resize(3); }),
                 {P(K::kPercentTooShort, kPercentInt, 36), P(K::kMapValueTooShort, kMapUScale, 73)},
                 kGlass + "material 1 name=Brick color=unset texture=BRICK.JPG scale=1 4 " +
                     "offset=0.5 0.25 transparency=0 two-sided=1\n" + kQuadHead + kUv + kFaces),
        Case("h_parts_before_the_first_name_go_nowhere", EditorFile([](ChunkWriter& w) {
                 w.Begin(kMaterialBlock);
                 w.Transparency(50);
                 w.TwoSided();
                 w.TextureMap("A.JPG");
                 w.Begin(kMaterialName);
                 w.String("Late");
                 w.End();
                 w.End();
             }),
             Head(75) + "material 0 name=Late color=unset\n",
             {P(K::kPartBeforeName, kTransparency, 18), P(K::kPartBeforeName, kTwoSided, 32),
              P(K::kPartBeforeName, kTextureMap, 38)}),
    };
}

}  // namespace test_models
