// The material of each face of a mesh, kept small: a 16-bit index per face into the mesh's own
// table of the materials its groups matched (index 0: none). A mesh whose groups match more
// than 65,535 distinct materials, which only a made-up file has, widens to 32 bits. Reads as a
// sequence of `const Material*`, one per face.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <memory>
#include <new>
#include <unordered_map>
#include <vector>

struct Material;

class FaceMaterials {
public:
    // No face has a material until Assign: size() is 0.
    std::size_t size() const { return faceCount_; }
    bool empty() const { return faceCount_ == 0; }
    const Material* operator[](std::size_t face) const {
        return table_[narrow_ ? narrow_[face] : wide_[face]];
    }

    // `faceCount` faces, none with a material yet. The indices start as zeroed memory, which a
    // big mesh gets from the system untouched.
    void Assign(std::size_t faceCount) {
        table_.assign(1, nullptr);
        indexOf_ = {{nullptr, 0}};
        wide_.clear();
        narrow_.reset(static_cast<std::uint16_t*>(std::calloc(faceCount, sizeof(std::uint16_t))));
        if (narrow_ == nullptr && faceCount > 0) {
            throw std::bad_alloc();
        }
        faceCount_ = faceCount;
        lastMaterial_ = nullptr;
        lastIndex_ = 0;
    }

    // Gives `face` (below size()) `material`, which must outlive this.
    void Set(std::size_t face, const Material* material) {
        const std::uint32_t index = IndexOf(material);
        if (narrow_) {
            narrow_[face] = static_cast<std::uint16_t>(index);
        } else {
            wide_[face] = index;
        }
    }

    // Gives the faces whose numbers `indices` lists (`count` 16-bit values, as a file holds them,
    // unaligned) `material`, which must outlive this; numbers past size() are left out and
    // counted.
    std::size_t SetListed(const unsigned char* indices, std::size_t count,
                          const Material* material) {
        const std::uint32_t index = IndexOf(material);
        std::size_t pastEnd = 0;
        for (std::size_t i = 0; i < count; ++i) {
            std::uint16_t face;
            std::memcpy(&face, indices + 2 * i, sizeof face);
            if (face >= faceCount_) {
                ++pastEnd;
            } else if (narrow_) {
                narrow_[face] = static_cast<std::uint16_t>(index);
            } else {
                wide_[face] = index;
            }
        }
        return pastEnd;
    }

    // Forward iteration over the faces' materials, for range-for and the algorithms.
    class const_iterator {
    public:
        using iterator_category = std::forward_iterator_tag;
        using value_type = const Material*;
        using difference_type = std::ptrdiff_t;
        using pointer = const value_type*;
        using reference = value_type;

        const_iterator(const FaceMaterials* owner, std::size_t face) : owner_(owner), face_(face) {}
        value_type operator*() const { return (*owner_)[face_]; }
        const_iterator& operator++() {
            ++face_;
            return *this;
        }
        const_iterator operator++(int) {
            const_iterator before = *this;
            ++face_;
            return before;
        }
        bool operator==(const const_iterator& other) const { return face_ == other.face_; }
        bool operator!=(const const_iterator& other) const { return face_ != other.face_; }

    private:
        const FaceMaterials* owner_;
        std::size_t face_;
    };
    const_iterator begin() const { return {this, 0}; }
    const_iterator end() const { return {this, faceCount_}; }

private:
    struct Free {
        void operator()(std::uint16_t* indices) const { std::free(indices); }
    };
    static constexpr std::size_t kNarrowMaterials = 65536;  // index 0 and 65,535 materials

    // The material's index in the table, added when new. A group's faces all name the
    // material named last.
    std::uint32_t IndexOf(const Material* material) {
        if (material == lastMaterial_) {
            return lastIndex_;
        }
        const auto [at, added] =
            indexOf_.emplace(material, static_cast<std::uint32_t>(table_.size()));
        if (added) {
            if (narrow_ && table_.size() == kNarrowMaterials) {
                Widen();
            }
            table_.push_back(material);
        }
        lastMaterial_ = material;
        lastIndex_ = at->second;
        return lastIndex_;
    }

    void Widen() {
        wide_.assign(narrow_.get(), narrow_.get() + faceCount_);
        narrow_.reset();
    }

    std::size_t faceCount_ = 0;
    std::vector<const Material*> table_{nullptr};
    std::unordered_map<const Material*, std::uint32_t> indexOf_{{nullptr, 0}};
    std::unique_ptr<std::uint16_t[], Free> narrow_;
    std::vector<std::uint32_t> wide_;  // in place of narrow_ once widened
    const Material* lastMaterial_ = nullptr;
    std::uint32_t lastIndex_ = 0;
};
