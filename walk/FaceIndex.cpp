#include "walk/FaceIndex.h"

#include <cmath>

namespace {

constexpr double kGridSteps = 65535.0;

// The faces are ordered along a Z-order curve through their centres, on a grid of 1024 cells a
// side over the model: faces close in that order lie close together, so halving the order
// halves the model into compact parts.
constexpr int kCellBits = 10;

std::uint32_t SpreadBits(std::uint32_t v) {  // bit i moves to bit 3i
    v = (v | (v << 16)) & 0x030000FFu;
    v = (v | (v << 8)) & 0x0300F00Fu;
    v = (v | (v << 4)) & 0x030C30C3u;
    v = (v | (v << 2)) & 0x09249249u;
    return v;
}

std::uint32_t Cell(double value, double low, double extent) {
    const double cells = (1u << kCellBits) - 1;
    const double at = extent > 0.0 ? (value - low) / extent * cells : 0.0;
    return static_cast<std::uint32_t>(std::min(std::max(at, 0.0), cells));
}

// Sorts keys by their bits 32-61 (the curve's position), keeping the order of equal ones.
void SortByCurve(std::vector<std::uint64_t>& keys) {
    std::vector<std::uint64_t> other(keys.size());
    for (int shift = 32; shift < 32 + 3 * kCellBits; shift += 8) {
        std::size_t counts[257] = {};
        for (std::uint64_t key : keys) {
            ++counts[((key >> shift) & 0xFF) + 1];
        }
        for (int digit = 0; digit < 256; ++digit) {
            counts[digit + 1] += counts[digit];
        }
        for (std::uint64_t key : keys) {
            other[counts[(key >> shift) & 0xFF]++] = key;
        }
        keys.swap(other);
    }
}

}  // namespace

FaceIndex::FaceIndex(const WorldFaces& faces) : faces_(faces) {
    std::vector<std::uint64_t> keys;
    keys.reserve(faces.FaceCount());
    Vec3 corners[3];
    for (std::uint32_t id = 0; id < faces.FaceCount(); ++id) {
        if (faces.Corners(id, corners) && WorldFaces::Walkable(corners)) {
            for (const Vec3& corner : corners) {
                bounds_.Add(corner);
            }
            keys.push_back(id);
        }
    }
    if (keys.empty()) {
        return;
    }
    const Vec3 extent = bounds_.max - bounds_.min;
    // A little over 1/65535 of the extent, so that the top step reaches past the box.
    const auto stepOf = [](double side) { return side > 0.0 ? side / kGridSteps * 1.000001 : 1.0; };
    step_ = {stepOf(extent.x), stepOf(extent.y), stepOf(extent.z)};

    for (std::uint64_t& key : keys) {
        faces.Corners(static_cast<std::uint32_t>(key), corners);
        const Vec3 centre = (corners[0] + corners[1] + corners[2]) * (1.0 / 3.0);
        const std::uint32_t code = SpreadBits(Cell(centre.x, bounds_.min.x, extent.x)) |
                                   SpreadBits(Cell(centre.y, bounds_.min.y, extent.y)) << 1 |
                                   SpreadBits(Cell(centre.z, bounds_.min.z, extent.z)) << 2;
        key |= std::uint64_t{code} << 32;
    }
    SortByCurve(keys);
    faceIds_.resize(keys.size());
    for (std::size_t i = 0; i < keys.size(); ++i) {
        faceIds_[i] = static_cast<std::uint32_t>(keys[i]);
    }
    keys = {};

    nodes_.reserve(2 * (faceIds_.size() / kLeafFaces + 1));
    Build(0, faceIds_.size());
}

Box3 FaceIndex::Build(std::size_t begin, std::size_t end) {
    const std::size_t at = nodes_.size();
    nodes_.push_back({});
    Box3 box;
    const std::size_t count = end - begin;
    if (count <= kLeafFaces) {
        Vec3 corners[3];
        for (std::size_t i = begin; i < end; ++i) {
            faces_.Corners(faceIds_[i], corners);
            for (const Vec3& corner : corners) {
                box.Add(corner);
            }
        }
        nodes_[at].link = static_cast<std::uint32_t>(count << kPlaceBits | begin);
    } else {
        // Full leaves on the left: every leaf but the last holds kLeafFaces faces.
        const std::size_t leaves = (count + kLeafFaces - 1) / kLeafFaces;
        const std::size_t middle = begin + leaves / 2 * kLeafFaces;
        box = Build(begin, middle);
        nodes_[at].link = static_cast<std::uint32_t>(nodes_.size());
        box.Add(Build(middle, end));
    }
    Quantise(box, nodes_[at].low, nodes_[at].high);
    return box;
}

void FaceIndex::Quantise(const Box3& box, std::uint16_t low[3], std::uint16_t high[3]) const {
    const double lows[3] = {(box.min.x - bounds_.min.x) / step_.x,
                            (box.min.y - bounds_.min.y) / step_.y,
                            (box.min.z - bounds_.min.z) / step_.z};
    const double highs[3] = {(box.max.x - bounds_.min.x) / step_.x,
                             (box.max.y - bounds_.min.y) / step_.y,
                             (box.max.z - bounds_.min.z) / step_.z};
    for (int axis = 0; axis < 3; ++axis) {
        low[axis] =
            static_cast<std::uint16_t>(std::min(std::max(std::floor(lows[axis]), 0.0), kGridSteps));
        high[axis] =
            static_cast<std::uint16_t>(std::min(std::max(std::ceil(highs[axis]), 0.0), kGridSteps));
    }
}

std::size_t FaceIndex::Bytes() const {
    return sizeof(*this) + nodes_.capacity() * sizeof(Node) +
           faceIds_.capacity() * sizeof(std::uint32_t);
}
