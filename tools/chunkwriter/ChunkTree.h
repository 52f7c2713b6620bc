// A model file as a tree of chunks, to change one chunk's body and write the file again with
// every enclosing length made to fit: the fuzzer and the reader's tests damage models with it.
#pragma once

#include <cstdint>
#include <cstring>
#include <optional>
#include <vector>

#include "tools/chunkwriter/ChunkWriter.h"

struct ChunkNode {
    std::uint16_t id = 0;
    std::vector<unsigned char> data;  // the body's bytes before its sub-chunks
    std::vector<ChunkNode> children;
    std::optional<std::int32_t> length;  // a length field to write in place of the true one
};

namespace chunk_tree {

// How many bytes of a body come before its sub-chunks; a body without sub-chunks is all data.
inline std::size_t DataBytes(std::uint16_t id, const unsigned char* body, std::size_t size) {
    if (id == chunk::kNamedObject) {  // the name
        const void* zero = std::memchr(body, 0, size);
        return zero != nullptr ? static_cast<const unsigned char*>(zero) - body + 1 : size;
    }
    if (id == chunk::kFaceList && size >= 2) {  // the count and the face records
        const std::size_t records = 2 + 8 * static_cast<std::size_t>(body[0] | body[1] << 8);
        return records < size ? records : size;
    }
    const bool container = id == chunk::kMain || id == chunk::kEditor || id == chunk::kTriMesh ||
                           id == chunk::kMaterialBlock || id == chunk::kTransparency ||
                           id == chunk::kTextureMap;
    return container ? 0 : size;
}

// The chunks of a well-formed stream.
inline std::vector<ChunkNode> Parse(const unsigned char* at, std::size_t size) {
    std::vector<ChunkNode> nodes;
    while (size >= 6) {
        ChunkNode node;
        std::uint32_t length;
        std::memcpy(&node.id, at, 2);
        std::memcpy(&length, at + 2, 4);
        if (length < 6 || length > size) {
            break;
        }
        const std::size_t dataBytes = DataBytes(node.id, at + 6, length - 6);
        node.data.assign(at + 6, at + 6 + dataBytes);
        node.children = Parse(at + 6 + dataBytes, length - 6 - dataBytes);
        nodes.push_back(std::move(node));
        at += length;
        size -= length;
    }
    return nodes;
}

// Writes the chunks, `replaced` (when given) with `body` in place of its data and sub-chunks.
inline void Write(ChunkWriter& w, const std::vector<ChunkNode>& nodes,
                  const ChunkNode* replaced = nullptr,
                  const std::vector<unsigned char>* body = nullptr) {
    for (const ChunkNode& node : nodes) {
        if (node.length) {
            w.Header(node.id, *node.length);
        } else {
            w.Begin(node.id);
        }
        if (&node == replaced) {
            w.Bytes(*body);
        } else {
            w.Bytes(node.data);
            Write(w, node.children, replaced, body);
        }
        if (!node.length) {
            w.End();
        }
    }
}

inline std::vector<unsigned char> Bytes(const std::vector<ChunkNode>& nodes,
                                        const ChunkNode* replaced = nullptr,
                                        const std::vector<unsigned char>* body = nullptr) {
    ChunkWriter w;
    Write(w, nodes, replaced, body);
    return w.bytes();
}

// The first chunk with `id`, parents before their children, or null.
inline ChunkNode* Find(std::vector<ChunkNode>& nodes, std::uint16_t id) {
    for (ChunkNode& node : nodes) {
        ChunkNode* found = node.id == id ? &node : Find(node.children, id);
        if (found != nullptr) {
            return found;
        }
    }
    return nullptr;
}

inline std::vector<unsigned char> BodyOf(const ChunkNode& node) {
    ChunkWriter w;
    w.Bytes(node.data);
    Write(w, node.children);
    return w.bytes();
}

// A chunk inside a named object (the object itself included), with the object's position
// among the file's named objects.
struct ObjectChunk {
    std::size_t object;
    const ChunkNode* node;
};

// Every chunk inside a named object (the object itself too), in file order, with the object's
// position among the named objects; `objects` counts them.
inline void CollectObjectChunks(const std::vector<ChunkNode>& nodes, std::vector<ObjectChunk>& out,
                                std::size_t& objects, bool inside = false) {
    for (const ChunkNode& node : nodes) {
        const bool object = !inside && node.id == chunk::kNamedObject;
        objects += object ? 1 : 0;
        if (inside || object) {
            out.push_back({objects - 1, &node});
        }
        CollectObjectChunks(node.children, out, objects, inside || object);
    }
}

}  // namespace chunk_tree
