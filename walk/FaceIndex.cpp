#include "walk/FaceIndex.h"

#include <algorithm>
#include <cmath>

#include "scene/SecondThread.h"

namespace {

constexpr double kGridSteps = 65535.0;

// The runs of faces are ordered along a Z-order curve through their centres, on a grid of 1024
// cells a side over the model: runs close in that order lie close together, so halving the
// order halves the model into compact parts.
constexpr int kCellBits = 10;

std::uint32_t SpreadBits(std::uint32_t v) {  // bit i moves to bit 3i
    v = (v | (v << 16)) & 0x030000FFu;
    v = (v | (v << 8)) & 0x0300F00Fu;
    v = (v | (v << 4)) & 0x030C30C3u;
    v = (v | (v << 2)) & 0x09249249u;
    return v;
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

struct Run {
    DrawnBox box;
    std::uint32_t first;
    std::uint32_t count;
};

// Runs of faces first .. end - 1 that follow one another and lie close together: their box
// spans no more than their faces' boxes laid end to end (each box's width, depth and height
// added up).
std::vector<Run> FindRuns(const WorldFaces& faces, std::uint32_t first, std::uint32_t end) {
    std::vector<Run> runs;
    runs.reserve((end - first) / 8 + 1);  // grows for files of scattered faces
    Run run{};
    float runLength = 0.0f;
    faces.ForEachDrawnBox(first, end, [&](std::uint32_t id, const DrawnBox& face) {
        const float length = face.Span();
        if (run.count > 0 && run.count < FaceIndex::kLeafFaces && id == run.first + run.count) {
            DrawnBox joined = run.box;
            joined.Add(face);
            if (joined.Span() <= runLength + length) {
                run.box = joined;
                runLength += length;
                ++run.count;
                return;
            }
        }
        if (run.count > 0) {
            runs.push_back(run);
        }
        run = {face, id, 1};
        runLength = length;
    });
    if (run.count > 0) {
        runs.push_back(run);
    }
    return runs;
}

}  // namespace

FaceIndex::FaceIndex(const WorldFaces& faces) : faces_(faces) {
    // The faces' first and second halves, side by side.
    std::vector<Run> halves[2];
    const std::uint32_t middle = faces.FaceCount() / 2;
    ShareWithSecondThread([&](int half) {
        halves[half] =
            half == 0 ? FindRuns(faces, 0, middle) : FindRuns(faces, middle, faces.FaceCount());
    });
    std::vector<Run>& runs = halves[0];
    runs.insert(runs.end(), halves[1].begin(), halves[1].end());
    halves[1] = {};
    if (runs.empty()) {
        return;
    }

    for (const Run& each : runs) {
        bounds_.Add(faces.ToWorld(each.box));
        indexedFaces_ += each.count;
    }
    // A little over 1/65535 of the extent, so that the top step reaches past the box.
    const auto stepOf = [](double side) { return side > 0.0 ? side / kGridSteps * 1.000001 : 1.0; };
    gridStep_ = {stepOf(bounds_.max.x - bounds_.min.x), stepOf(bounds_.max.y - bounds_.min.y),
                 stepOf(bounds_.max.z - bounds_.min.z)};

    // The runs as leaves, in the order of a curve through their centres, then halved over and
    // over.
    std::vector<Node> leaves(runs.size());
    std::vector<std::uint64_t> keys(runs.size());
    for (std::size_t i = 0; i < runs.size(); ++i) {
        Node& leaf = leaves[i];
        Quantise(faces.ToWorld(runs[i].box), leaf.low, leaf.high);
        leaf.link = runs[i].count << kPlaceBits | runs[i].first;
        std::uint32_t code = 0;
        for (int axis = 0; axis < 3; ++axis) {
            const std::uint32_t centre = (leaf.low[axis] + leaf.high[axis]) / 2u;
            code |= SpreadBits(centre >> (16 - kCellBits)) << axis;
        }
        keys[i] = std::uint64_t{code} << 32 | i;
    }
    runs = {};
    SortByCurve(keys);
    for (std::uint64_t& key : keys) {
        key &= 0xFFFFFFFFu;  // the leaf's place
    }
    nodes_.reserve(2 * leaves.size() - 1);
    Build(leaves, keys, 0, keys.size());
}

void FaceIndex::Build(const std::vector<Node>& leaves, const std::vector<std::uint64_t>& order,
                      std::size_t begin, std::size_t end) {
    const std::size_t at = nodes_.size();
    if (end - begin == 1) {
        nodes_.push_back(leaves[order[begin]]);
        return;
    }
    nodes_.push_back({});
    const std::size_t middle = begin + (end - begin) / 2;
    Build(leaves, order, begin, middle);
    nodes_[at].link = static_cast<std::uint32_t>(nodes_.size());
    Build(leaves, order, middle, end);
    const Node& one = nodes_[at + 1];
    const Node& other = nodes_[nodes_[at].link];
    for (int axis = 0; axis < 3; ++axis) {
        nodes_[at].low[axis] = std::min(one.low[axis], other.low[axis]);
        nodes_[at].high[axis] = std::max(one.high[axis], other.high[axis]);
    }
}

void FaceIndex::Quantise(const Box3& box, std::uint16_t low[3], std::uint16_t high[3]) const {
    const Vec3 lows = box.min - bounds_.min;
    const Vec3 highs = box.max - bounds_.min;
    const double from[3] = {lows.x / gridStep_.x, lows.y / gridStep_.y, lows.z / gridStep_.z};
    const double to[3] = {highs.x / gridStep_.x, highs.y / gridStep_.y, highs.z / gridStep_.z};
    const auto step = [](double at) {
        return static_cast<std::uint16_t>(std::min(std::max(at, 0.0), kGridSteps));
    };
    for (int axis = 0; axis < 3; ++axis) {
        low[axis] = step(std::floor(from[axis]));
        high[axis] = step(std::ceil(to[axis]));
    }
}
