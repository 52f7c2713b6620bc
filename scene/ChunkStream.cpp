// The 3DS chunk stream: the top-level walk and the four stream operations it and the object
// readers share.
//
// The file's bytes are held whole (mapped where the system can) and read in place; bytesRead
// counts every byte taken from them. The file is untrusted, so a body length is
// never allowed to reach past the end of the chunk that holds it or of the file (it is cut to
// the bytes left), and a header whose length is below its own 6 bytes, which cannot be stepped
// over, ends the chunk that holds it. With both rules bytesRead never passes the file size,
// every walk ends, and damage inside one chunk costs nothing outside it.
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>

#include "platform/Platform.h"
#include "scene/BackgroundJobs.h"
#include "scene/ChunkIds.h"
#include "scene/FileOpen.h"
#include "scene/Scene.h"

static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__,
              "the model reader takes little-endian values straight from the file");

namespace {

constexpr int kHeaderBytes = 6;
constexpr std::size_t kMaxListedProblems = 200;

// The size of an open file, or 0 when it cannot be told. Offsets are held in 32 bits, so a
// larger file is read as far as they reach.
long MeasureFileSize(std::FILE* file) {
    if (std::fseek(file, 0, SEEK_END) != 0) {
        return 0;
    }
    const long size = std::ftell(file);
    std::rewind(file);
    if (size < 0) {
        return 0;
    }
    return size > INT32_MAX ? INT32_MAX : size;
}

}  // namespace

int Scene::LoadModel() {
    loaded = 0;
    file = OpenForReading(modelPath_.c_str());
    if (file == nullptr) {
        return 0;
    }
    // The file's bytes are held whole and read in place: the meshes' vertices and faces stay
    // where the file has them.
    platform::DropFileBytes(bytes_);
    bytes_ = platform::HoldFileBytes(file, static_cast<std::size_t>(MeasureFileSize(file)));
    fileSize_ = static_cast<long>(bytes_.size);
    openChunkEnds_.clear();
    problemsMet_ = problems.size();
    // Finished before the meshes are used or released, however the walk ends.
    BackgroundJobs normalJobs;
    normalJobs_ = &normalJobs;

    bool givenUp = false;
    for (;;) {
        CloseEndedChunks();
        if (readingProgress && !readingProgress(bytesRead, fileSize_)) {
            givenUp = true;
            break;
        }
        if (!ReadChunkHeader() || chunkLength < 0) {
            if (openChunkEnds_.empty()) {
                break;  // the model ends here, as at the end of the file
            }
            PassOverRestOfChunk();
            continue;
        }
        switch (chunkId) {
            case chunk::kMain:
            case chunk::kEditor:
                EnterChunk();  // containers: the walk goes on with their first sub-chunk
                break;
            case chunk::kMasterScale:
                ReadChunkBody();
                if (chunkLength >= 4) {
                    std::memcpy(&modelScale, chunkData, sizeof modelScale);
                } else {
                    Tolerate(ProblemKind::kScaleTooShort, "master scale body holds " +
                                                              std::to_string(chunkLength) +
                                                              " of 4 bytes; scale left as it was");
                }
                break;
            case chunk::kNamedObject:
                // The object's sub-chunks after its first are met by this walk, inside it.
                EnterChunk();
                ReadNamedObject();
                break;
            case chunk::kMaterialBlock:
                ReadMaterial();
                break;
            default:
                SkipChunk();
                break;
        }
    }

    normalJobs.Finish();
    normalJobs_ = nullptr;
    ListDeferredProblems();
    std::fclose(file);
    file = nullptr;
    loaded = givenUp ? 0 : 1;
    return loaded;
}

int Scene::ReadChunkHeader() {
    if (BytesLeft() < kHeaderBytes) {
        if (BytesLeft() > 0) {
            chunkId = 0;
            chunkStart_ = bytesRead;
            Tolerate(ProblemKind::kHeaderCutShort,
                     std::string(Limit() == fileSize_ ? "the file" : "the chunk") + " ends " +
                         std::to_string(BytesLeft()) + " bytes into a header");
        }
        return 0;
    }
    const unsigned char* header = bytes_.data + bytesRead;
    std::int32_t length;
    std::memcpy(&chunkId, header, sizeof chunkId);
    std::memcpy(&length, header + 2, sizeof length);
    chunkStart_ = bytesRead;
    bytesRead += kHeaderBytes;

    const std::int64_t body = static_cast<std::int64_t>(length) - kHeaderBytes;
    if (body < 0) {
        chunkLength = -1;
        Tolerate(ProblemKind::kLengthBelowHeader,
                 "length " + std::to_string(length) +
                     " is below the 6 header bytes; the chunk cannot be stepped over");
    } else if (body > BytesLeft()) {
        chunkLength = static_cast<std::int32_t>(BytesLeft());
        Tolerate(ProblemKind::kLengthPastEnd,
                 "length " + std::to_string(length) + " runs past the end of " + LimitName() +
                     "; " + std::to_string(chunkLength) + " body bytes taken");
    } else {
        chunkLength = static_cast<std::int32_t>(body);
    }
    return 1;
}

// The body is read where the file holds it: chunkData points into the model's bytes, which the
// scene holds until the model is released.
void Scene::ReadChunkBody() {
    const std::int32_t length = chunkLength > 0 ? chunkLength : 0;
    chunkData = bytes_.data + bytesRead;
    bytesRead += length;
}

void Scene::ReadString(char* buffer) {
    std::int32_t taken = 0;
    std::int32_t stored = 0;
    bool ended = false;
    const unsigned char* at = bytes_.data + bytesRead;
    while (taken < BytesLeft()) {
        const unsigned char byte = at[taken];
        ++taken;
        if (byte == 0) {
            ended = true;
            break;
        }
        if (stored < kNameCapacity - 1) {
            buffer[stored++] = static_cast<char>(byte);
        }
    }
    buffer[stored] = '\0';
    chunkLength -= taken;
    bytesRead += taken;

    if (!ended) {
        Tolerate(ProblemKind::kNameCutShort, std::string("a name is cut short by the end of ") +
                                                 (Limit() == fileSize_ ? "the file" : "its chunk"));
    } else if (taken > kNameCapacity) {
        Tolerate(ProblemKind::kNameTooLong, "a name of " + std::to_string(taken - 1) +
                                                " bytes is cut to " +
                                                std::to_string(kNameCapacity - 1));
    }
}

void Scene::SkipChunk() {
    if (chunkLength <= 0) {
        return;
    }
    bytesRead += chunkLength;
}

void Scene::EnterChunk() {
    openChunkEnds_.push_back(static_cast<std::int64_t>(bytesRead) +
                             (chunkLength > 0 ? chunkLength : 0));
}

void Scene::LeaveChunk() {
    PassOverRestOfChunk();
    openChunkEnds_.pop_back();
}

void Scene::CloseEndedChunks() {
    while (!openChunkEnds_.empty() && openChunkEnds_.back() <= bytesRead) {
        openChunkEnds_.pop_back();
    }
}

const char* Scene::LimitName() const {
    return Limit() == fileSize_ ? "the file" : "the chunk that holds it";
}

void Scene::LeaveChunkAt(std::int64_t end) {
    if (end > fileSize_) {
        end = fileSize_;
    }
    if (end <= bytesRead) {
        return;
    }
    bytesRead = static_cast<std::int32_t>(end);
}

void Scene::Tolerate(ProblemKind kind, const std::string& what) {
    ++problemsMet_;
    if (problems.size() < kMaxListedProblems) {
        problems.push_back({chunkId, chunkStart_, kind, what});
    } else if (problems.size() == kMaxListedProblems) {
        problems.push_back({chunkId, chunkStart_, ProblemKind::kTooManyProblems,
                            "further problems are not listed"});
    }
}

std::atomic<int>* Scene::TolerateUndrawableLater(int faceCount) {
    DeferredProblem& deferred = deferredProblems_.emplace_back();
    deferred.problemsBefore = problemsMet_;
    deferred.chunkId = chunkId;
    deferred.offset = chunkStart_;
    deferred.faceCount = faceCount;
    return &deferred.undrawable;
}

// Puts the problems found on the second thread where they were met, as if each had been
// tolerated then: the first kMaxListedProblems of them all are listed, and the mark that more
// were met follows when they were.
void Scene::ListDeferredProblems() {
    std::optional<ReadProblem> firstUnlisted;
    if (!problems.empty() && problems.back().kind == ProblemKind::kTooManyProblems) {
        firstUnlisted = problems.back();
        problems.pop_back();
    }
    std::size_t found = 0;
    for (const DeferredProblem& deferred : deferredProblems_) {
        const int undrawable = deferred.undrawable.load();
        if (undrawable == 0) {
            continue;
        }
        const std::size_t at = deferred.problemsBefore + found;
        ++found;
        if (at <= problems.size() && at < kMaxListedProblems) {
            problems.insert(problems.begin() + static_cast<std::ptrdiff_t>(at),
                            {deferred.chunkId, deferred.offset, ProblemKind::kFacesNotDrawable,
                             UndrawableText(undrawable, deferred.faceCount)});
        }
    }
    deferredProblems_.clear();
    problemsMet_ += found;
    if (problemsMet_ <= kMaxListedProblems) {
        return;
    }
    // The mark names the chunk of the first problem not listed.
    if (problems.size() > kMaxListedProblems) {
        firstUnlisted = problems[kMaxListedProblems];
        problems.resize(kMaxListedProblems);
    }
    problems.push_back({firstUnlisted->chunkId, firstUnlisted->offset,
                        ProblemKind::kTooManyProblems, "further problems are not listed"});
}

std::string Scene::UndrawableText(int undrawable, int faceCount) {
    return std::to_string(undrawable) + " of " + std::to_string(faceCount) +
           " faces name a vertex the mesh does not have; they are not drawn";
}
