// The readers of named objects and triangle meshes, which turn those chunks into the Mesh list:
// vertices, faces and their normals, the materials of the faces, mapping coordinates and
// smoothing groups. (Material blocks are read in MaterialReader.cpp.)
//
// Counts in the file are never trusted over the bytes that hold them: a mesh keeps the whole
// vertices, faces and coordinates its bodies really hold, a face that names a vertex the mesh
// does not have gets the zero normal instead of reading one, and a material group's index of a
// face the mesh does not have is left out.
#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "platform/Platform.h"
#include "scene/BackgroundJobs.h"
#include "scene/ChunkIds.h"
#include "scene/Scene.h"

namespace {

constexpr int kVertexBytes = 12;
constexpr int kFaceBytes = 8;
constexpr int kCoordBytes = 8;  // u, v

// Rounds to the float in which a value is stored.
inline float Stored(double value) {
    return static_cast<float>(value);
}

// The faces of [0, faceCount) that name a vertex the mesh does not have, counted; the box of the
// vertices the others name measured into mesh.boxAsRead (as placement/ measures it: a vertex
// with a coordinate that is not finite left out, the first of equal values kept).
int CheckAndMeasure(Mesh& mesh, int faceCount) {
    std::vector<unsigned char> named(static_cast<std::size_t>(mesh.vertexCount), 0);
    int undrawable = 0;
    for (int face = 0; face < faceCount; ++face) {
        if (!IsDrawable(mesh, face)) {
            ++undrawable;
            continue;
        }
        const std::uint16_t* record = FaceRecord(mesh, face);
        named[record[0]] = named[record[1]] = named[record[2]] = 1;
    }
    MeshBoxAsRead box;
    for (int vertex = 0; vertex < mesh.vertexCount; ++vertex) {
        if (named[static_cast<std::size_t>(vertex)] == 0) {
            continue;
        }
        float xyz[3];
        ReadVertex(mesh, vertex, xyz);
        if (!std::isfinite(xyz[0]) || !std::isfinite(xyz[1]) || !std::isfinite(xyz[2])) {
            continue;
        }
        for (int axis = 0; axis < 3; ++axis) {
            box.low[axis] = box.empty || xyz[axis] < box.low[axis] ? xyz[axis] : box.low[axis];
            box.high[axis] = box.empty || box.high[axis] < xyz[axis] ? xyz[axis] : box.high[axis];
        }
        box.empty = false;
    }
    box.measured = true;
    mesh.boxAsRead = box;
    return undrawable;
}

// Below this many faces a mesh's normals are computed at once: handing them over costs more.
constexpr int kFacesWorthHandingOver = 4096;

}  // namespace

namespace {

// Every stored value (edge components, cross-product components, the sum of squares, the
// length, the quotients) is rounded to float; the products and sums between are formed in
// double.
inline bool FaceNormal(const Mesh& mesh, int face, float* normal) noexcept {
    if (!IsDrawable(mesh, face)) {
        normal[0] = normal[1] = normal[2] = 0.0f;
        return false;
    }
    const std::uint16_t* record = FaceRecord(mesh, face);
    float p1[3], p2[3], p3[3];
    ReadVertex(mesh, record[0], p1);
    ReadVertex(mesh, record[1], p2);
    ReadVertex(mesh, record[2], p3);
    const double ux = Stored(static_cast<double>(p2[0]) - p1[0]);
    const double uy = Stored(static_cast<double>(p2[1]) - p1[1]);
    const double uz = Stored(static_cast<double>(p2[2]) - p1[2]);
    const double vx = Stored(static_cast<double>(p3[0]) - p2[0]);
    const double vy = Stored(static_cast<double>(p3[1]) - p2[1]);
    const double vz = Stored(static_cast<double>(p3[2]) - p2[2]);
    const double nx = Stored(uy * vz - uz * vy);
    const double ny = Stored(uz * vx - ux * vz);
    const double nz = Stored(ux * vy - uy * vx);
    const double squares = Stored(nx * nx + ny * ny + nz * nz);
    double length = Stored(std::sqrt(squares));
    if (length == 0.0) {
        length = 1.0;
    }
    normal[0] = Stored(nx / length);
    normal[1] = Stored(ny / length);
    normal[2] = Stored(nz / length);
    return true;
}

}  // namespace

int ComputeFaceNormals(const Mesh& mesh, int first, int end, float* normals) noexcept {
    int unusable = 0;
    for (int face = first; face < end; ++face) {
        unusable += FaceNormal(mesh, face, normals + 3 * static_cast<std::size_t>(face)) ? 0 : 1;
    }
    return unusable;
}

bool ComputeFaceNormal(const Mesh& mesh, int face, float normal[3]) noexcept {
    return FaceNormal(mesh, face, normal);
}

// Only the name and the first sub-chunk belong to this reader; the object's further
// sub-chunks are met by the top-level walk, which has opened the object.
void Scene::ReadNamedObject() {
    Mesh* mesh = NewEmptyMesh();
    g_meshCursor->next = mesh;
    g_meshCursor = mesh;

    char objectName[kNameCapacity];
    ReadString(objectName);
    if (!ReadChunkHeader() || chunkLength < 0) {
        PassOverRestOfChunk();
        return;
    }
    if (chunkId == chunk::kTriMesh) {
        ReadTriMesh();
    } else if (chunkId == chunk::kCamera) {
        ReadCamera(objectName);
    } else {
        SkipChunk();
    }
}

// The body starts with the position and the target, three floats each; the bank angle, the
// lens and the camera's sub-chunks after them are not used.
void Scene::ReadCamera(const char* objectName) {
    constexpr int kPositionAndTargetBytes = 24;
    ReadChunkBody();
    if (chunkLength < kPositionAndTargetBytes) {
        Tolerate(ProblemKind::kCameraTooShort,
                 "camera body holds " + std::to_string(chunkLength) + " of " +
                     std::to_string(kPositionAndTargetBytes) +
                     " bytes of position and target; camera left out");
        return;
    }
    ModelCamera camera;
    camera.name = objectName;
    std::memcpy(camera.position, chunkData, sizeof camera.position);
    std::memcpy(camera.target, chunkData + sizeof camera.position, sizeof camera.target);
    cameras.push_back(camera);
}

// The face list's material groups run on to the end of the mesh, not of the face list: the
// mesh's sub-chunks after its face list, a vertex list among them, are passed over there. The
// groups inside the face list are read within it first, so a face count that overstates its
// records cannot lead the walk astray beyond the face list.
void Scene::ReadTriMesh() {
    EnterChunk();
    Mesh& mesh = *g_meshCursor;
    ForEachSubChunk([this, &mesh] {
        switch (chunkId) {
            case chunk::kVertexList:
                ReadVertexList(mesh);
                break;
            case chunk::kMappingCoords:
                ReadMappingCoords(mesh);
                break;
            case chunk::kFaceList:
                EnterChunk();
                ReadFaceList(mesh);
                ReadFaceListParts(mesh, true);
                LeaveChunk();
                ReadFaceListParts(mesh, false);
                break;
            default:
                SkipChunk();
                break;
        }
    });
    LeaveChunk();
}

std::int32_t Scene::CountedRecords(int recordBytes, ProblemKind noCount, ProblemKind missing,
                                   const char* countName, const char* recordsName) {
    if (chunkLength < 2) {
        Tolerate(noCount, "body of " + std::to_string(chunkLength) + " bytes holds no " +
                              countName + " count");
        return -1;
    }
    std::uint16_t count;
    std::memcpy(&count, chunkData, sizeof count);
    const std::int32_t held = (chunkLength - 2) / recordBytes;
    if (count > held) {
        Tolerate(missing, "body holds " + std::to_string(held) + " of " + std::to_string(count) +
                              " " + recordsName);
        return held;
    }
    return count;
}

// The vertices stay in the file's bytes: `vertices` points just past the body's 16-bit count.
void Scene::ReadVertexList(Mesh& mesh) {
    ReadChunkBody();
    if (mesh.vertices != nullptr) {
        Tolerate(ProblemKind::kSecondVertexList, "a second vertex list replaces the first");
        mesh.vertices = nullptr;
        mesh.vertexCount = 0;
    }
    const std::int32_t held = CountedRecords(kVertexBytes, ProblemKind::kNoVertexCount,
                                             ProblemKind::kVerticesMissing, "vertex", "vertices");
    if (held < 0) {
        return;
    }
    mesh.vertexCount = held;
    mesh.vertices = chunkData + 2;
    if (!mesh.textureCoords.empty()) {
        CheckMappingCount(mesh);
    }
}

// Kept as the file holds them, as many as the body holds; drawing decides whether they cover
// the vertices.
void Scene::ReadMappingCoords(Mesh& mesh) {
    ReadChunkBody();
    mesh.textureCoords.clear();
    const std::int32_t kept =
        CountedRecords(kCoordBytes, ProblemKind::kMappingCoordsMissing,
                       ProblemKind::kMappingCoordsMissing, "coordinate", "mapping coordinates");
    if (kept < 0) {
        return;
    }
    mesh.textureCoords.resize(2 * static_cast<std::size_t>(kept));
    if (kept > 0) {
        std::memcpy(mesh.textureCoords.data(), chunkData + 2,
                    kCoordBytes * static_cast<std::size_t>(kept));
    }
    if (mesh.vertices != nullptr) {
        CheckMappingCount(mesh);
    }
}

void Scene::CheckMappingCount(const Mesh& mesh) {
    const std::size_t coords = mesh.textureCoords.size() / 2;
    if (coords != static_cast<std::size_t>(mesh.vertexCount)) {
        Tolerate(ProblemKind::kMappingCountDiffers,
                 std::to_string(coords) + " mapping coordinates for " +
                     std::to_string(mesh.vertexCount) + " vertices; the mesh is not textured");
    }
}

// The face records stay in the file's bytes where they lie on a 16-bit boundary, the count word
// before them (set to the faces held when the body holds fewer); elsewhere they are copied into
// a buffer of the mesh's own. A count larger than the body keeps the whole faces the body holds,
// and the rest of the body is passed over.
void Scene::ReadFaceList(Mesh& mesh) {
    unsigned char* const body = bytes_.data + bytesRead;
    std::uint16_t count = 0;
    if (chunkLength >= 2) {
        std::memcpy(&count, body, sizeof count);
        bytesRead += 2;
    } else {
        Tolerate(ProblemKind::kNoFaceCount,
                 "body of " + std::to_string(chunkLength) + " bytes holds no face count");
        PassOverRestOfChunk();
    }
    const std::int32_t held = chunkLength >= 2 ? (chunkLength - 2) / kFaceBytes : 0;
    const int faceCount = count > held ? held : count;

    // Null: a mesh reads one face list, its groups run on to its end (and so no normals are
    // being computed into the buffer).
    ReleaseFaces(mesh);
    const std::size_t words = 1 + 4 * static_cast<std::size_t>(faceCount);
    if (chunkLength >= 2 && reinterpret_cast<std::uintptr_t>(body) % alignof(std::uint16_t) == 0) {
        mesh.faces = reinterpret_cast<std::uint16_t*>(body);
    } else {
        // Copied rather than moved in place: each page of a mapping written to would be copied
        // by the system, with a flush of the other thread's view of it.
        mesh.faces = new std::uint16_t[words];
        platform::PrefaultForWriting(mesh.faces, sizeof(std::uint16_t) * words);
        mesh.faces[0] = 0;
        if (faceCount > 0) {
            std::memcpy(mesh.faces + 1, body + 2, sizeof(std::uint16_t) * (words - 1));
            // Nothing reads the records there again.
            const auto at = static_cast<std::size_t>(body + 2 - bytes_.data);
            platform::ReleaseFilePages(bytes_, at, at + sizeof(std::uint16_t) * (words - 1));
        }
    }
    if (mesh.faces[0] != faceCount) {
        mesh.faces[0] = static_cast<std::uint16_t>(faceCount);
    }
    bytesRead += kFaceBytes * faceCount;
    if (faceCount < count) {
        Tolerate(ProblemKind::kFacesMissing, "body holds " + std::to_string(faceCount) + " of " +
                                                 std::to_string(count) + " faces");
        PassOverRestOfChunk();
    }

    if (!faceNormalsWanted) {
        // Counted, and the mesh measured for its placement, on the second thread, as the
        // normals would have been computed.
        if (normalJobs_ != nullptr && faceCount >= kFacesWorthHandingOver) {
            std::atomic<int>* const undrawable = TolerateUndrawableLater(faceCount);
            Mesh* const meshRead = &mesh;
            normalJobs_->Add([meshRead, faceCount, undrawable] {
                undrawable->fetch_add(CheckAndMeasure(*meshRead, faceCount));
            });
        } else if (const int undrawable = CheckAndMeasure(mesh, faceCount); undrawable > 0) {
            Tolerate(ProblemKind::kFacesNotDrawable, UndrawableText(undrawable, faceCount));
        }
        return;
    }
    mesh.normals = new float[3 * static_cast<std::size_t>(faceCount)];
    platform::PrefaultForWriting(mesh.normals,
                                 sizeof(float) * 3 * static_cast<std::size_t>(faceCount));
    // A big mesh's normals are computed on the second thread while the reading goes on: what
    // they read (the vertices and faces) is final once the face list is read.
    // In blocks, so that the reading, once at its end, takes on those not yet begun.
    if (normalJobs_ != nullptr && faceCount >= kFacesWorthHandingOver) {
        std::atomic<int>* const undrawable = TolerateUndrawableLater(faceCount);
        const Mesh* const meshRead = &mesh;
        float* const normals = mesh.normals;
        for (int first = 0; first < faceCount; first += kFacesWorthHandingOver) {
            const int end = std::min(faceCount, first + kFacesWorthHandingOver);
            normalJobs_->Add([meshRead, first, end, normals, undrawable] {
                undrawable->fetch_add(ComputeFaceNormals(*meshRead, first, end, normals));
            });
        }
        return;
    }
    const int undrawable = ComputeFaceNormals(mesh, 0, faceCount, mesh.normals);
    if (undrawable > 0) {
        Tolerate(ProblemKind::kFacesNotDrawable, UndrawableText(undrawable, faceCount));
    }
}

// Inside the face list its material groups and smoothing groups; after it, up to the end of the
// mesh, material groups and mapping coordinates.
void Scene::ReadFaceListParts(Mesh& mesh, bool inFaceList) {
    ForEachSubChunk([this, &mesh, inFaceList] {
        if (chunkId == chunk::kMaterialGroup) {
            ReadChunkBody();
            MatchMaterialGroup(mesh);
        } else if (chunkId == chunk::kSmoothingGroups && inFaceList) {
            ReadSmoothingGroups(mesh);
        } else if (chunkId == chunk::kMappingCoords && !inFaceList) {
            ReadMappingCoords(mesh);
        } else {
            SkipChunk();
        }
    });
}

// One 32-bit mask per face; fewer than the faces are of no use.
void Scene::ReadSmoothingGroups(Mesh& mesh) {
    ReadChunkBody();
    const std::size_t faces = FaceCount(mesh);
    const std::size_t held = static_cast<std::size_t>(chunkLength) / 4;
    mesh.smoothingGroups.clear();
    if (held < faces) {
        Tolerate(ProblemKind::kSmoothingMissing, "body holds " + std::to_string(held) + " of " +
                                                     std::to_string(faces) +
                                                     " smoothing masks; the mesh is not smoothed");
        return;
    }
    mesh.smoothingGroups.resize(faces);
    if (faces > 0) {
        std::memcpy(mesh.smoothingGroups.data(), chunkData, 4 * faces);
    }
}

// Of several groups the last name stays, and the colour of the last group that matched; each
// face takes the material of the last matching group that names it.
void Scene::MatchMaterialGroup(Mesh& mesh) {
    const std::size_t bodyLength = static_cast<std::size_t>(chunkLength);
    const void* zero = std::memchr(chunkData, 0, bodyLength);
    std::size_t nameLength =
        zero != nullptr ? static_cast<const unsigned char*>(zero) - chunkData : bodyLength;
    if (zero == nullptr) {
        Tolerate(ProblemKind::kGroupNameUnended, "the material name does not end within the body");
    }
    const std::size_t facesAt = nameLength + 1;  // the count after the name's zero
    if (nameLength > kNameCapacity - 1) {
        Tolerate(ProblemKind::kNameTooLong, "a material name of " + std::to_string(nameLength) +
                                                " bytes is cut to " +
                                                std::to_string(kNameCapacity - 1));
        nameLength = kNameCapacity - 1;
    }
    std::memcpy(mesh.materialName, chunkData, nameLength);
    mesh.materialName[nameLength] = '\0';

    const auto found = newestMaterialByName_.find(MaterialKey(mesh.materialName));
    const Material* material = found != newestMaterialByName_.end() ? found->second : nullptr;
    if (material != nullptr) {
        mesh.materialColor = material->hasColor ? material->color : nullptr;
    }
    if (zero != nullptr) {
        AssignGroupFaces(mesh, material, facesAt);
    }
}

// The group's face count and indices from body offset `at` on. Indices past the faces, and a
// count past the body, are listed and left out.
void Scene::AssignGroupFaces(Mesh& mesh, const Material* material, std::size_t at) {
    const std::size_t bodyLength = static_cast<std::size_t>(chunkLength);
    if (bodyLength < at + 2) {
        Tolerate(ProblemKind::kGroupFacesMissing, "the material group holds no face count");
        return;
    }
    std::uint16_t count;
    std::memcpy(&count, chunkData + at, sizeof count);
    const std::size_t held = (bodyLength - at - 2) / 2;
    if (count > held) {
        Tolerate(ProblemKind::kGroupFacesMissing, "the material group holds " +
                                                      std::to_string(held) + " of " +
                                                      std::to_string(count) + " face indices");
    }
    const std::size_t listed = count > held ? held : count;
    const std::size_t faces = FaceCount(mesh);
    if (material != nullptr && mesh.faceMaterials.empty()) {
        mesh.faceMaterials.Assign(faces);
    }
    const unsigned char* const indices = chunkData + at + 2;
    std::size_t pastEnd = 0;
    if (material != nullptr) {
        pastEnd = mesh.faceMaterials.SetListed(indices, listed, material);
    } else {
        for (std::size_t i = 0; i < listed; ++i) {
            std::uint16_t face;
            std::memcpy(&face, indices + 2 * i, sizeof face);
            pastEnd += face >= faces ? 1 : 0;
        }
    }
    if (pastEnd > 0) {
        Tolerate(ProblemKind::kGroupFacePastEnd,
                 std::to_string(pastEnd) + " of the material group's face indices are past the " +
                     std::to_string(faces) + " faces; left out");
    }
}
