// The scene: the first-person camera, the model read from a 3DS file, and its drawing.
// Exactly one exists, as the member `scene` of the SceneRenderer. The scene room calls
// platform/ only; every other room may read its model lists.
#pragma once

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <deque>
#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/Platform.h"
#include "scene/DefaultFiles.h"
#include "scene/Model.h"
#include "scene/StartPose.h"

// The kinds of damage the reader tolerates. Tests and tools match on the kind; the text that
// goes with each problem is for people and may be worded anew.
enum class ProblemKind {
    kHeaderCutShort,     // fewer than 6 bytes left for a header
    kLengthBelowHeader,  // a length below the 6 header bytes: the chunk cannot be stepped over
    kLengthPastEnd,      // a length past the end of the file or of the chunk that holds it
    kNameCutShort,       // a name without its zero before the end of its chunk
    kNameTooLong,        // a name of more than 255 bytes, cut
    kGroupNameUnended,   // a material group's name without its zero
    kScaleTooShort,      // a master scale body of fewer than 4 bytes
    kNoVertexCount,      // a vertex list body of fewer than 2 bytes
    kVerticesMissing,    // a vertex list body holding fewer vertices than its count
    kSecondVertexList,   // a second vertex list in one mesh
    kNoFaceCount,        // a face list body of fewer than 2 bytes
    kFacesMissing,       // a face list body holding fewer faces than its count
    kFacesNotDrawable,   // faces naming a vertex the mesh does not have
    kColorBeforeName,    // a diffuse colour before the block's first name
    kColorTooShort,      // a diffuse colour body of fewer than 9 bytes
    kCameraTooShort,     // a camera body without its position and target
    kTooManyProblems,    // the list is full; further problems are not listed

    // Material groups' faces, mapping coordinates, smoothing groups and material parts.
    kGroupFacesMissing,     // a material group body without its face count, or fewer indices
    kGroupFacePastEnd,      // a material group naming a face the mesh does not have
    kMappingCoordsMissing,  // a mapping coordinate body holding fewer than its count
    kMappingCountDiffers,   // mapping coordinates not one per vertex
    kSmoothingMissing,      // fewer smoothing masks than faces
    kPartBeforeName,        // a transparency, two-sided mark or map before the block's name
    kPercentTooShort,       // a percentage body shorter than its value
    kMapValueTooShort,      // a map scale or offset body of fewer than 4 bytes
};

// Something a damaged model file made the reader tolerate, for the inspector to show.
struct ReadProblem {
    std::uint16_t chunkId;
    long offset;  // file offset of the chunk's header
    ProblemKind kind;
    std::string what;
};

class BackgroundJobs;

class Scene {
public:
    // Sets the start pose, creates the empty lists, loads `modelPath` (nothing when it is null:
    // the model comes later, through OpenModel) and moves the cursor to the screen point
    // (400, 300).
    explicit Scene(const char* modelPath = kDefaultModelFile);
    // Releases the model; issues no GL calls.
    ~Scene();
    Scene(const Scene&) = delete;
    Scene& operator=(const Scene&) = delete;

    // Once per frame: while the window has the focus reads the mouse and keys and re-centres the
    // pointer in the window; moves the camera and multiplies the view onto the model-view
    // matrix. Returns 1.
    int UpdateCamera();
    // The same moves without GL: what UpdateCamera does to the camera, for frames that are
    // advanced but not drawn.
    void MoveCamera();
    // The parts of a frame's move that every way of moving shares. TurnCamera: while the window
    // has the focus the mouse turns and tilts the view and the pointer goes back to its home;
    // Shift and the Left and Right arrows turn. Returns whether the keys are the walk-through's
    // this frame (the window has the focus), with `step` the walking step, Shift's included.
    bool TurnCamera(float& step);
    // Puts the look-at point ahead of the eye along the heading, level with it.
    void LookAhead();
    // Multiplies the view from the eye onto the model-view matrix.
    void MultiplyView() const;
    // Draws the loaded model under the current matrix, light and fog, one colour per mesh and
    // one normal per face; nothing while not loaded.
    void DrawModel();

    // Releases the model and reads `modelPath` in its place, from the start pose, as the
    // constructor does (the pointer stays where it is).
    void OpenModel(const char* modelPath);
    // Puts the camera at `pose`.
    void StandAt(const StartPose& pose);

    // Whether loading computes the meshes' face normals; a drawing that computes its own reads
    // the model without (the meshes' normals stay null).
    bool faceNormalsWanted = true;

    // Gives back what a loaded mesh holds of the model (its vertices, faces, normals and
    // per-face data), once nothing reads them any more: the mesh stays in the list, empty.
    void ReleaseGeometry(const Mesh& mesh);

    // Told, before each chunk the top-level walk meets, how many of the file's bytes have been
    // read; returning false gives the reading up there (LoadModel returns 0). Unset: read on.
    std::function<bool(long bytesRead, long fileSize)> readingProgress;

    // A model set aside while another is read in the scene's place, so that the reading can be
    // given up and the model shown kept: its lists, what was read with them and the camera.
    struct HeldModel;
    // The scene's model, set aside; the scene holds an empty one from the start pose.
    HeldModel SetModelAside();
    // Releases the scene's model and holds `held` again, with its camera.
    void TakeModelBack(HeldModel held);
    // Releases a model set aside, for good.
    void Release(HeldModel held);

    // Reading. Each returns with the stream just past the last byte it consumed.
    int LoadModel();  // 1 when read to the end, 0 when the file cannot be opened or reading was
                      // given up
    int ReadChunkHeader();  // 1 when all 6 header bytes were read
    void ReadChunkBody();
    void ReadString(char* buffer);  // buffer holds kNameCapacity bytes
    void SkipChunk();
    void ReadNamedObject();
    void ReadTriMesh();
    void ReadMaterial();

    // Reading state.
    std::FILE* file = nullptr;
    unsigned char* chunkData = nullptr;  // body of the last chunk read whole, in the file's bytes
    std::int32_t chunkLength = 0;        // body length of the current chunk, less what was taken
    std::uint16_t chunkId = 0;
    std::int32_t bytesRead = 0;  // file bytes consumed since the file was opened

    Material* materials = nullptr;  // sentinel head of the material list

    // Camera. World: ground in the x-y plane, z up; a heading of 0 looks along +y.
    double eye[3] = {0.0, 0.0, 0.0};
    double target[3] = {0.0, 0.0, 0.0};
    float yaw = 0.0f;         // radians, recomputed from yawDegrees every frame
    float yawDegrees = 0.0f;  // never wrapped
    float pitch = 0.0f;       // height of the look-at point over eye height, -200..200
    float heightOffset = 0.0f;
    // The screen point the camera last put the pointer at, and whether it may still stand there
    // (the window has kept the focus since). Mouse movement is measured from that point.
    int pointerHomeX = 0;
    int pointerHomeY = 0;
    bool pointerPlaced = false;

    int loaded = 0;
    float modelScale = 1.0f;

    // The model file's path, UTF-8: textures are looked for beside it.
    const std::string& ModelPath() const { return modelPath_; }

    // The file's cameras, in file order.
    std::vector<ModelCamera> cameras;

    // What the reader tolerated in a damaged file, in the order met.
    std::vector<ReadProblem> problems;

private:
    // Reading helpers. Every walk ends: each turn of a loop consumes a whole header or leaves.
    void ReadVertexList(Mesh& mesh);
    void ReadFaceList(Mesh& mesh);
    // The records a body read whole holds when it starts with a 16-bit count of records of
    // `recordBytes`: the count, or as many as the body holds when it ends first (tolerated as
    // `missing`); -1 when it is too short for the count (tolerated as `noCount`).
    std::int32_t CountedRecords(int recordBytes, ProblemKind noCount, ProblemKind missing,
                                const char* countName, const char* recordsName);
    void ReadMappingCoords(Mesh& mesh);
    void CheckMappingCount(const Mesh& mesh);
    // The parts of the face list up to the end of the innermost open chunk: inside the face
    // list, or in the mesh after it.
    void ReadFaceListParts(Mesh& mesh, bool inFaceList);
    void ReadSmoothingGroups(Mesh& mesh);
    void MatchMaterialGroup(Mesh& mesh);
    void AssignGroupFaces(Mesh& mesh, const Material* material, std::size_t at);
    void TakeColor(Material* material);
    void ReadMaterialPart(Material* material);
    void ReadPercentage(float& fraction);
    void ReadMapFloat(float& value);
    // The key under which a material is found by name.
    static std::string MaterialKey(const char* name);
    void ReadCamera(const char* objectName);
    void SetStartPose();
    // The empty model of a scene before its file is read: no meshes, no materials, nothing
    // tolerated, unit scale, from the start pose.
    void StartEmptyModel(const char* modelPath);
    void ReleaseModel();
    // Whether `buffer` lies in the file's bytes the scene holds (and so is not a mesh's own).
    bool InFileBytes(const void* buffer) const;
    // Frees a mesh's faces and normals and sets them null.
    void ReleaseFaces(Mesh& mesh);

    // Open chunks. A chunk whose header was read last is opened by EnterChunk(); from then on no
    // header, body or name read inside it reaches past its end, and LeaveChunk() continues the
    // stream at its end, whatever was inside. So damage stays within the chunk that holds it.
    void EnterChunk();
    void LeaveChunk();
    // Closes the open chunks that the stream has reached the end of.
    void CloseEndedChunks();
    // Visits the sub-chunks of the innermost open chunk up to its end: `visit` is called with
    // each one's header read and reads or steps over its body. A header that cannot be read or
    // stepped over passes over the rest of the open chunk. Every turn consumes a whole header.
    template <class Visit>
    void ForEachSubChunk(const Visit& visit) {
        while (bytesRead < Limit()) {
            if (!ReadChunkHeader() || chunkLength < 0) {
                PassOverRestOfChunk();
                return;
            }
            visit();
        }
    }
    // Passes over what is left of the innermost open chunk (a header in it cannot be read or
    // stepped over, or a body holds less than its count says).
    void PassOverRestOfChunk() { LeaveChunkAt(Limit()); }
    // Moves the stream forward to `end`; never backwards and never past the end of the file.
    void LeaveChunkAt(std::int64_t end);
    // The end of the innermost open chunk, or of the file.
    std::int64_t Limit() const {
        return openChunkEnds_.empty() ? fileSize_ : openChunkEnds_.back();
    }
    std::int64_t BytesLeft() const { return Limit() - bytesRead; }
    // "the file" or "the chunk that holds it", for the problems' text.
    const char* LimitName() const;
    // Records what the current chunk made the reader tolerate.
    void Tolerate(ProblemKind kind, const std::string& what);
    // The current face list's faces that name a vertex their mesh lacks, counted on the second
    // thread: the count is to be written to the slot returned before loading ends, and the
    // problem, when there is one, is listed where it was met (ListDeferredProblems).
    std::atomic<int>* TolerateUndrawableLater(int faceCount);
    void ListDeferredProblems();
    static std::string UndrawableText(int undrawable, int faceCount);

    std::string modelPath_;
    // The model file's bytes, held whole while the model is: vertices, faces and bodies are read
    // in place.
    platform::FileBytes bytes_;
    long fileSize_ = 0;    // bytes in the open model file; no read or buffer goes past it
    long chunkStart_ = 0;  // file offset of the header read last
    std::vector<std::int64_t> openChunkEnds_;  // innermost last
    // While loading: where big meshes' face normals are computed as the reading goes on, and
    // the problems that computing them will tell of.
    BackgroundJobs* normalJobs_ = nullptr;
    struct DeferredProblem {
        std::size_t problemsBefore = 0;  // problems met before it, listed or not
        std::uint16_t chunkId = 0;
        long offset = 0;
        int faceCount = 0;
        std::atomic<int> undrawable{0};  // added to on the second thread
    };
    std::deque<DeferredProblem> deferredProblems_;
    std::size_t problemsMet_ = 0;  // while loading, listed or not
    // Materials by ASCII-lower-cased name, the newest of each name: a material group finds its
    // material without walking the list, so many groups and materials cannot make loading slow.
    std::unordered_map<std::string, Material*> newestMaterialByName_;
};

struct Scene::HeldModel {
    platform::FileBytes bytes;
    Mesh* meshHead = nullptr;
    Material* materials = nullptr;
    std::vector<ModelCamera> cameras;
    std::vector<ReadProblem> problems;
    float modelScale = 1.0f;
    int loaded = 0;
    std::string modelPath;
    std::unordered_map<std::string, Material*> newestMaterialByName;
    double eye[3] = {0.0, 0.0, 0.0};
    double target[3] = {0.0, 0.0, 0.0};
    float yaw = 0.0f, yawDegrees = 0.0f, pitch = 0.0f, heightOffset = 0.0f;
};
