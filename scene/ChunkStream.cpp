// The 3DS chunk stream: the top-level walk and the four stream operations it and the object
// readers share.
//
// bytesRead counts every byte taken from the file. The file is untrusted, so a body length is
// never allowed to reach past the end of the chunk that holds it or of the file (it is cut to
// the bytes left), and a header whose length is below its own 6 bytes, which cannot be stepped
// over, ends the chunk that holds it. With both rules bytesRead never passes the file size,
// every walk ends, and damage inside one chunk costs nothing outside it.
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include "platform/Platform.h"
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
    fileSize_ = MeasureFileSize(file);
    openChunkEnds_.clear();

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
    unsigned char header[kHeaderBytes];
    const std::size_t delivered = std::fread(header, 1, kHeaderBytes, file);
    if (delivered != kHeaderBytes) {
        return 0;  // the file shrank under us: as at its end
    }
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

void Scene::ReadChunkBody() {
    delete[] chunkData;
    chunkData = nullptr;
    const std::size_t length = chunkLength > 0 ? static_cast<std::size_t>(chunkLength) : 0;
    chunkData = new unsigned char[length];
    platform::PrefaultForWriting(chunkData, length);
    bytesRead += static_cast<std::int32_t>(length);
    const std::size_t delivered = std::fread(chunkData, 1, length, file);
    if (delivered < length) {
        // Only when the file shrank while open; keep the body's content defined.
        std::memset(chunkData + delivered, 0, length - delivered);
    }
}

void Scene::ReadString(char* buffer) {
    std::int32_t taken = 0;
    std::int32_t stored = 0;
    bool ended = false;
    while (taken < BytesLeft()) {
        const int byte = std::fgetc(file);
        if (byte == EOF) {
            break;
        }
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
    std::fseek(file, chunkLength, SEEK_CUR);
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
    std::fseek(file, static_cast<long>(end), SEEK_SET);
    bytesRead = static_cast<std::int32_t>(end);
}

void Scene::Tolerate(ProblemKind kind, const std::string& what) {
    if (problems.size() < kMaxListedProblems) {
        problems.push_back({chunkId, chunkStart_, kind, what});
    } else if (problems.size() == kMaxListedProblems) {
        problems.push_back({chunkId, chunkStart_, ProblemKind::kTooManyProblems,
                            "further problems are not listed"});
    }
}
