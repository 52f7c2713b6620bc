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

// Sorts keys by their bits 32-61 (the curve's position), ten at a time, keeping the order of
// equal ones.
void SortByCurve(std::vector<std::uint64_t>& keys) {
    constexpr std::uint64_t kDigit = (1u << kCellBits) - 1;
    std::vector<std::uint64_t> other(keys.size());
    for (int shift = 32; shift < 32 + 3 * kCellBits; shift += kCellBits) {
        std::vector<std::size_t> counts(kDigit + 2);
        for (std::uint64_t key : keys) {
            ++counts[((key >> shift) & kDigit) + 1];
        }
        for (std::size_t digit = 0; digit <= kDigit; ++digit) {
            counts[digit + 1] += counts[digit];
        }
        for (std::uint64_t key : keys) {
            other[counts[(key >> shift) & kDigit]++] = key;
        }
        keys.swap(other);
    }
}

using Run = FaceIndex::Run;

// Appends the runs of faces first .. end - 1 that follow one another and lie close together:
// a run's box spans no more than its faces' boxes laid end to end (each box's width, depth and
// height added up).
void AddCloseRuns(const WorldFaces& faces, std::uint32_t first, std::uint32_t end,
                  std::vector<Run>& runs) {
    Run run{};
    float runLength = 0.0f;
    faces.ForEachMeshBox(first, end, [&](std::uint32_t id, const MeshBox& face) {
        const float length = face.Span();
        if (run.count > 0 && id == run.first + run.count) {
            MeshBox joined = run.box;
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
}

// The runs of faces first .. end - 1: taken kLeafFaces at a time as they follow one another,
// which is cheap, and only where those lie apart sorted into close runs one face at a time.
std::vector<Run> FindRuns(const WorldFaces& faces, std::uint32_t first, std::uint32_t end) {
    std::vector<Run> runs;
    runs.reserve((end - first) / 8 + 1);  // grows for files of scattered faces
    Run chunk{};
    float length = 0.0f;  // its faces' boxes laid end to end
    const auto close = [&] {
        if (chunk.box.Span() <= length) {
            runs.push_back(chunk);
        } else {
            AddCloseRuns(faces, chunk.first, chunk.first + chunk.count, runs);
        }
        chunk.count = 0;
    };
    faces.ForEachMeshBox(first, end, [&](std::uint32_t id, const MeshBox& face) {
        if (chunk.count == FaceIndex::kLeafFaces ||
            (chunk.count > 0 && id != chunk.first + chunk.count)) {
            close();
        }
        if (chunk.count == 0) {
            chunk = {face, id, 1};
            length = face.Span();
        } else {
            chunk.box.Add(face);
            length += face.Span();
            ++chunk.count;
        }
    });
    if (chunk.count > 0) {
        close();
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

    // The runs in the order of a curve through their centres, then halved over and over.
    std::vector<std::uint64_t> keys(runs.size());
    for (std::size_t i = 0; i < runs.size(); ++i) {
        const Box3 box = faces.ToWorld(runs[i].box);
        const Vec3 centre = (box.min + box.max) * 0.5 - bounds_.min;
        const double cells = 1u << kCellBits;
        const double at[3] = {centre.x / gridStep_.x, centre.y / gridStep_.y,
                              centre.z / gridStep_.z};
        std::uint32_t code = 0;
        for (int axis = 0; axis < 3; ++axis) {
            const double cell = std::min(at[axis] / kGridSteps * cells, cells - 1.0);
            code |= SpreadBits(static_cast<std::uint32_t>(std::max(cell, 0.0))) << axis;
        }
        keys[i] = std::uint64_t{code} << 32 | i;
    }
    SortByCurve(keys);
    nodes_.reserve(2 * runs.size() - 1);
    Build(runs, keys, 0, keys.size());
}

void FaceIndex::Build(const std::vector<Run>& runs, const std::vector<std::uint64_t>& order,
                      std::size_t begin, std::size_t end) {
    const std::size_t at = nodes_.size();
    nodes_.push_back({});
    if (end - begin == 1) {
        const Run& run = runs[static_cast<std::uint32_t>(order[begin])];
        Quantise(faces_.ToWorld(run.box), nodes_[at].low, nodes_[at].high);
        nodes_[at].link = run.count << kPlaceBits | run.first;
        return;
    }
    const std::size_t middle = begin + (end - begin) / 2;
    Build(runs, order, begin, middle);
    nodes_[at].link = static_cast<std::uint32_t>(nodes_.size());
    Build(runs, order, middle, end);
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
