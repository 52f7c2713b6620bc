// Damaged model files, each with what the reader must make of it: the canonical dump of what
// it loads and the problems it lists ("0x4110 at 28: ..." = chunk identifier and header
// offset). The tests run every case; the fuzzer starts from them. The letter in each name is
// the rule the case pins:
//   a  a header length below 6 ends the chunk that holds it (the model, at the top level)
//   b  a length past the end of the file is taken to end there
//   c  a body shorter than its count keeps the whole vertices or faces it holds
//   d  a face naming a vertex the mesh does not have gets the zero normal, reads no vertex
//   e  names are cut to 255 bytes; a name cut short by the file ends there
//   f  colours before a name or shorter than 9 bytes, and short master scales, change nothing
//   g  a second vertex list replaces the first
//   h  a mesh without a coloured material is drawn white
//   i  vertices at unaligned offsets are read exactly
#pragma once

#include <climits>
#include <string>
#include <vector>

#include "tests/reader/TestModels.h"

namespace test_models {

struct DamagedModel {
    const char* name;
    Bytes bytes;
    std::string dump;
    std::vector<std::string> problems;
};

inline Bytes CutAt(Bytes bytes, std::size_t size) {
    bytes.resize(size);
    return bytes;
}

inline std::vector<DamagedModel> DamagedModels() {
    const std::string unitTriangle = "  v 0 0 0\n  v 1 0 0\n  v 0 1 0\n";
    const std::string upFace = "  f 0 1 2 0 n 0 -0 1\n";
    const std::string longName(300, 'm');

    return {
        {"a_length_zero_at_top_level_ends_the_model",
         EditorFile([](ChunkWriter& w) {
             w.Material("Red", 255, 0, 0);
             w.Header(0x1234, 0);
             MeshObject(w, {"Box", kUnitTriangle, {0, 1, 2}, {"Red"}});
         }),
         "loaded 1\nmodelScale 1\nbytesRead 49\nmaterial 0 name=Red color=1 0 0\n",
         {"0x1234 at 43: length 0 is below the 6 header bytes; the chunk cannot be stepped "
          "over"}},

        {"a_negative_length_at_top_level_ends_the_model",
         EditorFile([](ChunkWriter& w) {
             w.MasterScale(2.5f);
             w.Header(0x4000, INT32_MIN);
             MeshObject(w, {"Box", kUnitTriangle, {0, 1, 2}, {}});
         }),
         "loaded 1\nmodelScale 2.5\nbytesRead 28\n",
         {"0x4000 at 22: length -2147483648 is below the 6 header bytes; the chunk cannot be "
          "stepped over"}},

        {"a_short_length_in_a_mesh_leaves_the_mesh_and_the_next_object_is_read",
         EditorFile([](ChunkWriter& w) {
             w.Material("Red", 255, 0, 0);
             w.Begin(0x4000);
             w.String("Box");
             w.Begin(0x4100);
             w.Header(0x4120, 3);
             w.VertexList(kUnitTriangle);
             w.End();
             w.End();
             MeshObject(w, {"Next", kUnitTriangle, {0, 1, 2}, {"Red"}});
         }),
         "loaded 1\nmodelScale 1\nbytesRead 200\nmaterial 0 name=Red color=1 0 0\n"
         "mesh 0 vertices=0 faces=0 material= color=unset\n"
         "mesh 1 vertices=3 faces=1 material=Red color=1 0 0\n" +
             unitTriangle + upFace,
         {"0x4120 at 59: length 3 is below the 6 header bytes; the chunk cannot be stepped "
          "over"}},

        {"a_length_zero_in_a_material_block_leaves_the_block",
         EditorFile([](ChunkWriter& w) {
             w.Begin(0xAFFF);
             w.Begin(0xA000);
             w.String("Red");
             w.End();
             w.Header(0xA020, 0);
             w.DiffuseColor(0, 255, 0);
             w.End();
             MeshObject(w, {"Box", kUnitTriangle, {0, 1, 2}, {"Red"}});
         }),
         "loaded 1\nmodelScale 1\nbytesRead 139\nmaterial 0 name=Red color=unset\n"
         "mesh 0 vertices=3 faces=1 material=Red color=unset\n" +
             unitTriangle + upFace,
         {"0xA020 at 28: length 0 is below the 6 header bytes; the chunk cannot be stepped "
          "over"}},

        {"a_short_length_as_first_sub_chunk_leaves_the_named_object",
         EditorFile([](ChunkWriter& w) {
             w.Begin(0x4000);
             w.String("Lamp");
             w.Header(0x4600, 2);
             w.Float(0);
             w.Float(0);
             w.Float(100);
             w.End();
             MeshObject(w, {"Box", kUnitTriangle, {0, 1, 2}, {}});
         }),
         "loaded 1\nmodelScale 1\nbytesRead 117\n"
         "mesh 0 vertices=0 faces=0 material= color=unset\n"
         "mesh 1 vertices=3 faces=1 material= color=unset\n" +
             unitTriangle + upFace,
         {"0x4600 at 23: length 2 is below the 6 header bytes; the chunk cannot be stepped "
          "over"}},

        {"a_contrast_empty_bodies_are_stepped_over",
         EditorFile([](ChunkWriter& w) {
             w.Header(0x1234, 6);
             w.Material("Red", 255, 0, 0);
         }),
         "loaded 1\nmodelScale 1\nbytesRead 49\nmaterial 0 name=Red color=1 0 0\n",
         {}},

        {"b_unknown_chunk_past_the_end_of_the_file",
         EditorFile([](ChunkWriter& w) {
             w.Material("Red", 255, 0, 0);
             w.Header(0x1234, 1000000);
             w.U32(1);
             w.U32(2);
         }),
         "loaded 1\nmodelScale 1\nbytesRead 57\nmaterial 0 name=Red color=1 0 0\n",
         {"0x1234 at 43: length 1000000 runs past the end of the file; 8 body bytes taken"}},

        {"b_mesh_length_at_the_largest_32_bit_value",
         EditorFile([](ChunkWriter& w) {
             w.Begin(0x4000);
             w.String("Box");
             w.Header(0x4100, INT32_MAX);
             w.VertexList(kUnitTriangle);
             w.End();
         }),
         "loaded 1\nmodelScale 1\nbytesRead 72\n"
         "mesh 0 vertices=3 faces=0 material= color=unset\n" +
             unitTriangle,
         {"0x4100 at 22: length 2147483647 runs past the end of the file; 44 body bytes "
          "taken"}},

        {"b_c_file_cut_inside_the_vertex_list",
         CutAt(RedTriangle(), 107),
         "loaded 1\nmodelScale 1\nbytesRead 107\nmaterial 0 name=Red color=1 0 0\n"
         "mesh 0 vertices=2 faces=0 material= color=unset\n  v 0 0 0\n  v 1 0 0\n",
         {"0x4D4D at 0: length 143 runs past the end of the file; 101 body bytes taken",
          "0x3D3D at 6: length 137 runs past the end of the file; 95 body bytes taken",
          "0x4000 at 53: length 90 runs past the end of the file; 48 body bytes taken",
          "0x4100 at 63: length 80 runs past the end of the file; 38 body bytes taken",
          "0x4110 at 69: length 44 runs past the end of the file; 32 body bytes taken",
          "0x4110 at 69: body holds 2 of 3 vertices"}},

        {"c_d_vertex_count_larger_than_the_body",
         EditorFile([](ChunkWriter& w) {
             w.Begin(0x4000);
             w.String("Box");
             w.Begin(0x4100);
             w.Begin(0x4110);
             w.U16(5);
             for (float value : {0.0f, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f}) {
                 w.Float(value);
             }
             w.Bytes({1, 2, 3, 4, 5});
             w.End();
             w.Begin(0x4120);
             w.FaceRecords({0, 1, 2});
             w.End();
             w.End();
             w.End();
         }),
         "loaded 1\nmodelScale 1\nbytesRead 81\n"
         "mesh 0 vertices=2 faces=1 material= color=unset\n  v 0 0 0\n  v 1 0 0\n"
         "  f 0 1 2 0 n 0 0 0\n",
         {"0x4110 at 28: body holds 2 of 5 vertices",
          "0x4120 at 65: 1 of 1 faces name a vertex the mesh does not have; they are not "
          "drawn"}},

        {"c_file_cut_inside_the_face_records",
         CutAt(EditorFile([](ChunkWriter& w) {
                   MeshObject(w, {"Box", kUnitTriangle, {0, 1, 2, 0, 2, 1, 1, 2, 0}, {"Red"}});
               }),
               92),
         "loaded 1\nmodelScale 1\nbytesRead 92\n"
         "mesh 0 vertices=3 faces=1 material= color=unset\n" +
             unitTriangle + upFace,
         {"0x4D4D at 0: length 122 runs past the end of the file; 86 body bytes taken",
          "0x3D3D at 6: length 116 runs past the end of the file; 80 body bytes taken",
          "0x4000 at 12: length 110 runs past the end of the file; 74 body bytes taken",
          "0x4100 at 22: length 100 runs past the end of the file; 64 body bytes taken",
          "0x4120 at 72: length 50 runs past the end of the file; 14 body bytes taken",
          "0x4120 at 72: body holds 1 of 3 faces"}},

        {"c_face_count_larger_than_the_body_in_a_file_that_goes_on",
         EditorFile([](ChunkWriter& w) {
             w.Begin(0x4000);
             w.String("Box");
             w.Begin(0x4100);
             w.VertexList(kUnitTriangle);
             w.Begin(0x4120);
             w.U16(4);  // but two records and 4 stray bytes follow
             for (std::uint16_t word : {0, 1, 2, 0, 2, 1, 0, 0}) {
                 w.U16(word);
             }
             w.Bytes({0xFF, 0xFF, 0xFF, 0xFF});
             w.End();
             w.End();
             w.End();
             MeshObject(w, {"Next", kUnitTriangle, {0, 1, 2}, {}});
         }),
         "loaded 1\nmodelScale 1\nbytesRead 177\n"
         "mesh 0 vertices=3 faces=2 material= color=unset\n" +
             unitTriangle + upFace + "  f 2 1 0 0 n -0 -0 -1\n" +
             "mesh 1 vertices=3 faces=1 material= color=unset\n" + unitTriangle + upFace,
         {"0x4120 at 72: body holds 2 of 4 faces"}},

        {"d_face_indices_past_the_vertex_count",
         EditorFile([](ChunkWriter& w) {
             MeshObject(w, {"Box", kUnitTriangle, {0, 1, 2, 0, 1, 3, 7, 0, 1}, {}});
         }),
         "loaded 1\nmodelScale 1\nbytesRead 104\n"
         "mesh 0 vertices=3 faces=3 material= color=unset\n" +
             unitTriangle + upFace + "  f 0 1 3 0 n 0 0 0\n  f 7 0 1 0 n 0 0 0\n",
         {"0x4120 at 72: 2 of 3 faces name a vertex the mesh does not have; they are not "
          "drawn"}},

        {"d_faces_without_a_vertex_list",
         EditorFile([](ChunkWriter& w) {
             MeshObject(w, {"Box", {}, {0, 1, 2}, {}});
         }),
         "loaded 1\nmodelScale 1\nbytesRead 44\n"
         "mesh 0 vertices=0 faces=1 material= color=unset\n  f 0 1 2 0 n 0 0 0\n",
         {"0x4120 at 28: 1 of 1 faces name a vertex the mesh does not have; they are not "
          "drawn"}},

        {"e_names_longer_than_255_bytes_are_cut_and_still_match",
         EditorFile([longName](ChunkWriter& w) {
             w.Material(longName, 0, 255, 0);
             MeshObject(w, {"Box", kUnitTriangle, {0, 1, 2}, {std::string(300, 'M')}});
         }),
         "loaded 1\nmodelScale 1\nbytesRead 727\nmaterial 0 name=" + std::string(255, 'm') +
             " color=0 1 0\nmesh 0 vertices=3 faces=1 material=" + std::string(255, 'M') +
             " color=0 1 0\n" + unitTriangle + upFace,
         {"0xA000 at 18: a name of 300 bytes is cut to 255",
          "0x4130 at 416: a material name of 300 bytes is cut to 255"}},

        {"e_name_cut_short_by_the_end_of_the_file",
         CutAt(EditorFile([](ChunkWriter& w) {
                   w.Begin(0xAFFF);
                   w.Begin(0xA000);
                   w.String("Golden");
                   w.End();
                   w.End();
               }),
               27),
         "loaded 1\nmodelScale 1\nbytesRead 27\nmaterial 0 name=Gol color=unset\n",
         {"0x4D4D at 0: length 31 runs past the end of the file; 21 body bytes taken",
          "0x3D3D at 6: length 25 runs past the end of the file; 15 body bytes taken",
          "0xAFFF at 12: length 19 runs past the end of the file; 9 body bytes taken",
          "0xA000 at 18: length 13 runs past the end of the file; 3 body bytes taken",
          "0xA000 at 18: a name is cut short by the end of the file"}},

        {"e_material_group_name_without_its_zero",
         EditorFile([](ChunkWriter& w) {
             w.Material("Red", 255, 0, 0);
             w.Begin(0x4000);
             w.String("Box");
             w.Begin(0x4100);
             w.VertexList(kUnitTriangle);
             w.Begin(0x4120);
             w.FaceRecords({0, 1, 2});
             w.Begin(0x4130);
             w.Bytes({'R', 'e', 'd'});
             w.End();
             w.End();
             w.End();
             w.End();
         }),
         "loaded 1\nmodelScale 1\nbytesRead 128\nmaterial 0 name=Red color=1 0 0\n"
         "mesh 0 vertices=3 faces=1 material=Red color=1 0 0\n" +
             unitTriangle + upFace,
         {"0x4130 at 119: the material name does not end within the body"}},

        {"f_colour_before_the_first_name_colours_nothing",
         EditorFile([](ChunkWriter& w) {
             w.Material("Red", 255, 0, 0);
             w.Begin(0xAFFF);
             w.DiffuseColor(0, 0, 255);
             w.Begin(0xA000);
             w.String("Blue");
             w.End();
             w.End();
         }),
         "loaded 1\nmodelScale 1\nbytesRead 75\nmaterial 0 name=Blue color=unset\n"
         "material 1 name=Red color=1 0 0\n",
         {"0xA020 at 49: a colour before the block's first name is ignored"}},

        {"f_colour_body_of_8_bytes_keeps_the_colour_before_it",
         EditorFile([](ChunkWriter& w) {
             w.Begin(0xAFFF);
             w.Begin(0xA000);
             w.String("Red");
             w.End();
             w.DiffuseColor(0, 255, 0);
             w.Begin(0xA020);
             w.Header(0x0011, 9);
             w.U8(255);
             w.U8(0);
             w.End();
             w.End();
             w.Begin(0xAFFF);
             w.Begin(0xA000);
             w.String("Pale");
             w.End();
             w.Begin(0xA020);
             w.Header(0x0011, 9);
             w.End();
             w.End();
         }),
         "loaded 1\nmodelScale 1\nbytesRead 86\nmaterial 0 name=Pale color=unset\n"
         "material 1 name=Red color=0 1 0\n",
         {"0xA020 at 43: colour body holds 8 of 9 bytes; colour left as it was",
          "0xA020 at 74: colour body holds 6 of 9 bytes; colour left as it was"}},

        {"f_master_scale_of_2_bytes_keeps_the_scale",
         EditorFile([](ChunkWriter& w) {
             w.MasterScale(2.5f);
             w.Begin(0x0100);
             w.U16(0);
             w.End();
         }),
         "loaded 1\nmodelScale 2.5\nbytesRead 30\n",
         {"0x0100 at 22: master scale body holds 2 of 4 bytes; scale left as it was"}},

        {"g_second_vertex_list_replaces_the_first",
         EditorFile([](ChunkWriter& w) {
             w.Begin(0x4000);
             w.String("Box");
             w.Begin(0x4100);
             w.VertexList(kUnitTriangle);
             w.VertexList({0, 0, 1, 2, 0, 1, 0, 2, 1, 2, 2, 1});
             w.Begin(0x4120);
             w.FaceRecords({0, 1, 2, 1, 3, 2});
             w.End();
             w.End();
             w.End();
         }),
         "loaded 1\nmodelScale 1\nbytesRead 152\n"
         "mesh 0 vertices=4 faces=2 material= color=unset\n"
         "  v 0 0 1\n  v 2 0 1\n  v 0 2 1\n  v 2 2 1\n"
         "  f 0 1 2 0 n 0 -0 1\n  f 1 3 2 0 n 0 -0 1\n",
         {"0x4110 at 72: a second vertex list replaces the first"}},

        {"h_last_matched_material_without_colour_is_drawn_white",
         EditorFile([](ChunkWriter& w) {
             w.Material("Red", 255, 0, 0);
             w.Begin(0xAFFF);
             w.Begin(0xA000);
             w.String("Bare");
             w.End();
             w.End();
             MeshObject(w, {"Box", kUnitTriangle, {0, 1, 2}, {"Red", "Bare"}});
         }),
         "loaded 1\nmodelScale 1\nbytesRead 165\nmaterial 0 name=Bare color=unset\n"
         "material 1 name=Red color=1 0 0\n"
         "mesh 0 vertices=3 faces=1 material=Bare color=unset\n" +
             unitTriangle + upFace,
         {}},

        {"i_unaligned_vertices_read_exactly",
         EditorFile([](ChunkWriter& w) {
             MeshObject(w, {"Odd", {1.5f, -2.25f, 3e38f, 1e-38f, 0.1f, -0.0f}, {}, {}});
         }),
         "loaded 1\nmodelScale 1\nbytesRead 60\n"
         "mesh 0 vertices=2 faces=0 material= color=unset\n"
         "  v 1.5 -2.25 3.00000001e+38\n  v 9.99999935e-39 0.100000001 -0\n",
         {}},
    };
}

}  // namespace test_models
