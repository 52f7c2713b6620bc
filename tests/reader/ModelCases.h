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
#pragma once

#include <climits>
#include <functional>
#include <string>
#include <vector>

#include "scene/Scene.h"
#include "tests/reader/ChunkTree.h"
#include "tests/reader/TestModels.h"

namespace test_models {

// A problem the reader lists: its kind, and the identifier and file offset of its chunk.
struct Problem {
    ProblemKind kind;
    std::uint16_t chunkId;
    long offset;
    bool operator==(const Problem& other) const {
        return kind == other.kind && chunkId == other.chunkId && offset == other.offset;
    }
};

struct ModelCase {
    const char* name;
    Bytes bytes;
    std::string dump;
    std::vector<Problem> problems;
};

inline Bytes CutAt(Bytes bytes, std::size_t size) {
    bytes.resize(size);
    return bytes;
}

inline Bytes Written(const std::function<void(ChunkWriter&)>& write) {
    ChunkWriter w;
    write(w);
    return w.bytes();
}

// RedTriangle with its first chunk `id` changed; the enclosing lengths are made to fit.
inline Bytes RedTriangleWith(std::uint16_t id, const std::function<void(ChunkNode&)>& change) {
    const Bytes whole = RedTriangle();
    std::vector<ChunkNode> tree = chunk_tree::Parse(whole.data(), whole.size());
    change(*chunk_tree::Find(tree, id));
    return chunk_tree::Bytes(tree);
}
inline Bytes WithBody(std::uint16_t id, const Bytes& body) {
    return RedTriangleWith(id, [&](ChunkNode& node) {
        node.data = body;
        node.children.clear();
    });
}
inline Bytes WithLength(std::uint16_t id, std::int32_t length) {
    return RedTriangleWith(id, [&](ChunkNode& node) { node.length = length; });
}

// The dump's lines of a mesh holding the unit triangle and its one face.
inline std::string TriangleMesh(int index, const std::string& material, const char* color) {
    return "mesh " + std::to_string(index) + " vertices=3 faces=1 material=" + material +
           " color=" + color + "\n  v 0 0 0\n  v 1 0 0\n  v 0 1 0\n  f 0 1 2 0 n 0 -0 1\n";
}

inline std::string Head(int bytesRead, const char* scale = "1") {
    return std::string("loaded 1\nmodelScale ") + scale + "\nbytesRead " +
           std::to_string(bytesRead) + "\n";
}

inline std::vector<ModelCase> ModelCases() {
    using K = ProblemKind;
    const std::string red = "material 0 name=Red color=1 0 0\n";
    const std::string redMesh = TriangleMesh(0, "Red", "1 0 0");
    const std::string triangle = "  v 0 0 0\n  v 1 0 0\n  v 0 1 0\n";
    const std::string empty = "mesh 0 vertices=0 faces=0 material= color=unset\n";
    const std::string name255(255, 'n');
    const std::vector<float> square = {0, 0, 1, 2, 0, 1, 0, 2, 1, 2, 2, 1};
    return {
        {"well_formed_red_triangle", RedTriangle(), Head(143) + red + redMesh, {}},
        {"well_formed_empty_file", {}, Head(0), {}},
        {"well_formed_walk_acts_on_identifiers_wherever_met",
         Written([](ChunkWriter& w) {
             w.MasterScale(4.0f);  // outside the main chunk
             w.Begin(chunk::kMain);
             w.MeshObject({"Loose", kUnitTriangle, {0, 1, 2}, {}});  // outside the editor
             w.Begin(chunk::kEditor);
             w.Begin(chunk::kNamedObject + 0x0D);  // unknown: skipped whole, object and all
             w.MeshObject({"Inside", kUnitTriangle, {0, 1, 2}, {}});
             w.End();
             w.MasterScale(0.5f);  // the later scale wins
             w.EndModel();
         }),
         Head(195, "0.5") + TriangleMesh(0, "", "unset"),
         {}},
        {"well_formed_objects_without_a_mesh_first_keep_an_empty_node",
         EditorFile([](ChunkWriter& w) {
             w.Begin(chunk::kNamedObject);
             w.String("Late");
             UnknownChunk(w, chunk::kCamera);
             w.Begin(chunk::kTriMesh);  // met by the top-level walk, which skips it
             w.VertexList(kUnitTriangle);
             w.End();
             w.End();
             w.MeshObject({"Box", kUnitTriangle, {0, 1, 2}, {}});
         }),
         Head(159) + empty + TriangleMesh(1, "", "unset"),
         {}},
        // Unknown chunks, and chunks out of their place, are skipped whole. Materials stand newest
        // first; a colour colours the name before it. Groups match materials read before them,
        // letter case not told apart but other bytes; of two same-named materials the later; of two
        // groups the last name and the colour of the last that matched, none when that material has
        // no colour.
        {"well_formed_materials_and_the_groups_that_name_them",
         EditorFile([](ChunkWriter& w) {
             const char* materials[] = {"Brick", "A[\xC4", "Red", "RED"};
             for (int i = 0; i < 4; ++i) {
                 w.Material(materials[i], 0, static_cast<std::uint8_t>(51 * (i + 1)), 0);
             }
             w.Begin(chunk::kMaterialBlock);
             UnknownChunk(w, 0xA010);
             for (const char* name : {"Bare", "Blue"}) {
                 w.Begin(chunk::kMaterialName);
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
             // Unknown chunks in a mesh and in its face list, a vertex list after the face
             // list.
             w.Begin(chunk::kNamedObject);
             w.String("House");
             w.Begin(chunk::kTriMesh);
             UnknownChunk(w, 0x4160);
             w.VertexList(kUnitTriangle);
             w.Begin(chunk::kFaceList);
             w.FaceRecords({0, 1, 2});
             UnknownChunk(w, 0x4150);
             w.MaterialGroup("Blue", {0});
             w.End();
             w.VertexList({9, 9, 9});
             w.End();
             w.MaterialGroup("Brick", {0});  // after the mesh: the top-level walk skips it
             w.End();
         }),
         Head(814) +
             "material 0 name=Blue color=0 0 1\nmaterial 1 name=Bare color=unset\n"
             "material 2 name=RED color=0 0.800000012 0\n"
             "material 3 name=Red color=0 0.600000024 0\n"
             "material 4 name=A[\xC4 color=0 0.400000006 0\n"
             "material 5 name=Brick color=0 0.200000003 0\n" +
             TriangleMesh(0, "BRICK", "0 0.200000003 0") + TriangleMesh(1, "a{\xE4", "unset") +
             TriangleMesh(2, "red", "0 0.800000012 0") +
             TriangleMesh(3, "Nope", "0 0.200000003 0") + TriangleMesh(4, "Bare", "unset") +
             TriangleMesh(5, "Blue", "0 0 1"),
         {}},
        {"well_formed_names_of_255_bytes_are_whole",
         EditorFile([&](ChunkWriter& w) {
             w.Material(name255, 0, 255, 0);
             w.MeshObject({name255, kUnitTriangle, {0, 1, 2}, {name255}});
         }),
         Head(889) + "material 0 name=" + name255 + " color=0 1 0\n" +
             TriangleMesh(0, name255, "0 1 0"),
         {}},
        {"well_formed_vertices_at_odd_offsets_read_exactly",
         EditorFile([](ChunkWriter& w) {
             w.MeshObject({"Odd", {1.5f, -2.25f, 3e38f, 1e-38f, 0.1f, -0.0f}, {}, {}});
         }),
         Head(60) + "mesh 0 vertices=2 faces=0 material= color=unset\n"
                    "  v 1.5 -2.25 3.00000001e+38\n  v 9.99999935e-39 0.100000001 -0\n",
         {}},
        {"a_length_0_ends_the_editor_chunk",
         WithLength(chunk::kMasterScale, 0),
         Head(143),
         {{K::kLengthBelowHeader, chunk::kMasterScale, 12}}},
        {"a_length_3_in_a_mesh_leaves_the_mesh",
         WithLength(chunk::kFaceList, 3),
         Head(143) + red + "mesh 0 vertices=3 faces=0 material= color=unset\n" + triangle,
         {{K::kLengthBelowHeader, chunk::kFaceList, 113}}},
        {"a_lowest_length_in_a_material_block_leaves_the_block",
         WithLength(chunk::kDiffuseColor, INT32_MIN),
         Head(143) + "material 0 name=Red color=unset\n" + TriangleMesh(0, "Red", "unset"),
         {{K::kLengthBelowHeader, chunk::kDiffuseColor, 38}}},
        {"a_length_5_as_first_sub_chunk_leaves_the_named_object",
         WithLength(chunk::kTriMesh, 5),
         Head(143) + red + empty,
         {{K::kLengthBelowHeader, chunk::kTriMesh, 63}}},
        {"a_named_object_ending_inside_a_header",
         WithBody(chunk::kNamedObject, {'B', 0, 1, 2, 3}),
         Head(64) + red + empty,
         {{K::kHeaderCutShort, 0, 61}}},
        {"a_contrast_empty_bodies_are_stepped_over_to_the_last_byte",
         Written([](ChunkWriter& w) {
             w.Header(0x1234, 6);
             w.Material("Red", 255, 0, 0);
             w.Header(0x1235, 6);
         }),
         Head(43) + red,
         {}},
        {"b_file_ends_inside_a_header",
         CutAt(RedTriangle(), 144),
         Head(143) + red + redMesh,
         {{K::kHeaderCutShort, 0, 143}}},
        {"b_name_chunk_past_its_block_is_cut_at_the_block",
         WithLength(chunk::kMaterialName, 1000),
         Head(143) + "material 0 name=Red color=unset\n" + TriangleMesh(0, "Red", "unset"),
         {{K::kLengthPastEnd, chunk::kMaterialName, 28}}},
        {"b_mesh_length_at_the_largest_32_bit_value",
         WithLength(chunk::kTriMesh, INT32_MAX),
         Head(143) + red + redMesh,
         {{K::kLengthPastEnd, chunk::kTriMesh, 63}}},
        {"b_c_file_cut_inside_the_vertex_list",
         CutAt(RedTriangle(), 107),
         Head(107) + red + "mesh 0 vertices=2 faces=0 material= color=unset\n" +
             triangle.substr(0, 20),
         {{K::kLengthPastEnd, chunk::kMain, 0},
          {K::kLengthPastEnd, chunk::kEditor, 6},
          {K::kLengthPastEnd, chunk::kNamedObject, 53},
          {K::kLengthPastEnd, chunk::kTriMesh, 63},
          {K::kLengthPastEnd, chunk::kVertexList, 69},
          {K::kVerticesMissing, chunk::kVertexList, 69}}},
        {"c_d_vertex_count_larger_than_the_body",
         WithBody(chunk::kVertexList, Written([](ChunkWriter& w) {
                      w.U16(5);
                      for (float value : {0.0f, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f}) {
                          w.Float(value);
                      }
                      w.Bytes({1, 2, 3, 4, 5});
                  })),
         Head(136) + red + "mesh 0 vertices=2 faces=1 material=Red color=1 0 0\n" +
             triangle.substr(0, 20) + "  f 0 1 2 0 n 0 0 0\n",
         {{K::kVerticesMissing, chunk::kVertexList, 69},
          {K::kFacesNotDrawable, chunk::kFaceList, 106}}},
        {"c_face_count_larger_than_the_body",
         WithBody(chunk::kFaceList, Written([](ChunkWriter& w) {
                      for (std::uint16_t word : {4, 0, 1, 2, 0, 2, 1, 0, 0}) {
                          w.U16(word);  // count 4, but two records and 4 stray bytes
                      }
                      w.U32(0xFFFFFFFF);
                  })),
         Head(141) + red + "mesh 0 vertices=3 faces=2 material= color=unset\n" + triangle +
             "  f 0 1 2 0 n 0 -0 1\n  f 2 1 0 0 n -0 -0 -1\n",
         {{K::kFacesMissing, chunk::kFaceList, 113}}},
        {"c_no_face_count",
         WithBody(chunk::kFaceList, {1}),
         Head(120) + red + "mesh 0 vertices=3 faces=0 material= color=unset\n" + triangle,
         {{K::kNoFaceCount, chunk::kFaceList, 113}}},
        {"d_face_indices_past_the_vertex_count_in_each_corner",
         WithBody(chunk::kFaceList, Written([](ChunkWriter& w) {
                      w.FaceRecords({0, 1, 2, 3, 1, 2, 0, 7, 1, 0, 1, 3});
                  })),
         Head(153) + red + "mesh 0 vertices=3 faces=4 material= color=unset\n" + triangle +
             "  f 0 1 2 0 n 0 -0 1\n  f 3 1 2 0 n 0 0 0\n  f 0 7 1 0 n 0 0 0\n"
             "  f 0 1 3 0 n 0 0 0\n",
         {{K::kFacesNotDrawable, chunk::kFaceList, 113}}},
        {"c_no_vertex_count",
         WithBody(chunk::kVertexList, {5}),
         Head(106) + red +
             "mesh 0 vertices=0 faces=1 material=Red color=1 0 0\n"
             "  f 0 1 2 0 n 0 0 0\n",
         {{K::kNoVertexCount, chunk::kVertexList, 69},
          {K::kFacesNotDrawable, chunk::kFaceList, 76}}},
        {"d_faces_of_a_mesh_without_vertices",
         WithBody(chunk::kVertexList, {0, 0}),
         Head(107) + red +
             "mesh 0 vertices=0 faces=1 material=Red color=1 0 0\n"
             "  f 0 1 2 0 n 0 0 0\n",
         {{K::kFacesNotDrawable, chunk::kFaceList, 77}}},
        {"e_names_of_256_bytes_are_cut_and_still_match",
         EditorFile([&](ChunkWriter& w) {
             w.Material(name255 + "x", 0, 255, 0);
             w.MeshObject({"Box", kUnitTriangle, {0, 1, 2}, {name255 + "X"}});
         }),
         Head(639) + "material 0 name=" + name255 + " color=0 1 0\n" +
             TriangleMesh(0, name255, "0 1 0"),
         {{K::kNameTooLong, chunk::kMaterialName, 18},
          {K::kNameTooLong, chunk::kMaterialGroup, 372}}},
        {"e_name_cut_short_by_the_end_of_the_file",
         CutAt(RedTriangle(), 36),
         Head(36) + "material 0 name=Re color=unset\n",
         {{K::kLengthPastEnd, chunk::kMain, 0},
          {K::kLengthPastEnd, chunk::kEditor, 6},
          {K::kLengthPastEnd, chunk::kMaterialBlock, 22},
          {K::kLengthPastEnd, chunk::kMaterialName, 28},
          {K::kNameCutShort, chunk::kMaterialName, 28}}},
        {"e_name_cut_short_by_its_chunk",
         WithBody(chunk::kMaterialName, {'R', 'e', 'd'}),
         Head(142) + red + redMesh,
         {{K::kNameCutShort, chunk::kMaterialName, 28}}},
        {"e_material_group_name_without_its_zero",
         WithBody(chunk::kMaterialGroup, {'R', 'e', 'd'}),
         Head(138) + red + redMesh,
         {{K::kGroupNameUnended, chunk::kMaterialGroup, 129}}},
        {"f_colour_before_the_first_name_colours_nothing",
         EditorFile([](ChunkWriter& w) {
             w.Material("Red", 255, 0, 0);
             w.Begin(chunk::kMaterialBlock);
             w.DiffuseColor(0, 0, 255);
             w.Begin(chunk::kMaterialName);
             w.String("Blue");
             w.End();
             w.End();
         }),
         Head(75) + "material 0 name=Blue color=unset\nmaterial 1 name=Red color=1 0 0\n",
         {{K::kColorBeforeName, chunk::kDiffuseColor, 49}}},
        {"f_colour_body_of_8_bytes_is_ignored",
         WithBody(chunk::kDiffuseColor, Written([](ChunkWriter& w) {
                      w.Header(chunk::kColor24, 9);
                      w.U16(0xFF);
                  })),
         Head(142) + "material 0 name=Red color=unset\n" + TriangleMesh(0, "Red", "unset"),
         {{K::kColorTooShort, chunk::kDiffuseColor, 38}}},
        {"f_master_scale_of_3_bytes_is_ignored",
         WithBody(chunk::kMasterScale, {0, 0, 0}),
         Head(142) + red + redMesh,
         {{K::kScaleTooShort, chunk::kMasterScale, 12}}},
        {"g_second_vertex_list_replaces_the_first",
         RedTriangleWith(chunk::kTriMesh,
                         [&](ChunkNode& mesh) {
                             const Bytes list =
                                 Written([&](ChunkWriter& w) { w.VertexList(square); });
                             mesh.children.insert(mesh.children.begin() + 1,
                                                  chunk_tree::Parse(list.data(), list.size())[0]);
                         }),
         Head(199) + red +
             "mesh 0 vertices=4 faces=1 material=Red color=1 0 0\n"
             "  v 0 0 1\n  v 2 0 1\n  v 0 2 1\n  v 2 2 1\n  f 0 1 2 0 n 0 -0 1\n",
         {{K::kSecondVertexList, chunk::kVertexList, 113}}},
    };
}

}  // namespace test_models
