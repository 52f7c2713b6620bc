// The geometry under walking, over random inputs: segment-to-triangle distances, swept
// capsules, and the index of faces against a search of every face.
#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <random>
#include <set>

#include "walk/CapsuleSweep.h"
#include "walk/FaceIndex.h"

namespace {

struct Random {
    std::mt19937 engine{20261207};
    double Uniform(double low, double high) {
        return std::uniform_real_distribution<double>(low, high)(engine);
    }
    Vec3 Point(double extent) {
        return {Uniform(-extent, extent), Uniform(-extent, extent), Uniform(-extent, extent)};
    }
    void Triangle(Vec3 tri[3], double extent) {
        for (int i = 0; i < 3; ++i) {
            tri[i] = Point(extent);
        }
    }
};

// The least distance between points sampled over the segment and the triangle.
double SampledDistance(const Vec3& p, const Vec3& q, const Vec3 tri[3]) {
    constexpr int kSteps = 24;
    double best = HUGE_VAL;
    for (int i = 0; i <= kSteps; ++i) {
        const Vec3 s = p + (q - p) * (double(i) / kSteps);
        for (int u = 0; u <= kSteps; ++u) {
            for (int v = 0; u + v <= kSteps; ++v) {
                const Vec3 t = tri[0] + (tri[1] - tri[0]) * (double(u) / kSteps) +
                               (tri[2] - tri[0]) * (double(v) / kSteps);
                best = std::min(best, Length(s - t));
            }
        }
    }
    return best;
}

TEST(CapsuleSweep, SegmentTriangleDistanceIsTheLeastOverBoth) {
    Random random;
    for (int trial = 0; trial < 300; ++trial) {
        Vec3 tri[3];
        random.Triangle(tri, 1.0);
        // Some segments are points; some pass through the triangle.
        const Vec3 p = random.Point(1.5);
        const Vec3 q = trial % 5 == 0 ? p : random.Point(1.5);
        Vec3 onSegment;
        Vec3 onTriangle;
        const double distance = SegmentTriangleDistance(p, q, tri, onSegment, onTriangle);
        EXPECT_NEAR(distance, Length(onSegment - onTriangle), 1e-12);
        EXPECT_NEAR(Length(Cross(onSegment - p, q - p)), 0.0, 1e-9) << "off the segment";
        EXPECT_NEAR(SegmentTriangleDistance(onTriangle, onTriangle, tri, onSegment, onTriangle),
                    0.0, 1e-9)
            << "off the triangle";
        const double sampled = SampledDistance(p, q, tri);
        EXPECT_LE(distance, sampled + 1e-12) << "trial " << trial;
        EXPECT_GE(distance, sampled - 0.15) << "trial " << trial;  // the samples' spacing
    }
}

TEST(CapsuleSweep, StopsAtTheRadiusAndNeverInside) {
    Random random;
    int hits = 0;
    for (int trial = 0; trial < 2000; ++trial) {
        Vec3 tri[3];
        random.Triangle(tri, 1.0);
        const double radius = random.Uniform(0.01, 0.5);
        const Vec3 bottom = random.Point(2.0);
        const Capsule body{bottom, bottom + Vec3{0, 0, random.Uniform(0.0, 1.0)}, radius};
        if (Clearance(body, tri) <= 0.0) {
            continue;
        }
        // Moves from far shorter to far longer than the body and the triangle, every other one
        // towards the triangle.
        const Vec3 towards = (tri[0] + tri[1] + tri[2]) * (1.0 / 3) - bottom;
        const Vec3 move =
            (trial % 2 == 0 ? towards : random.Point(1.0)) * std::pow(10.0, random.Uniform(-2, 2));
        Contact contact;
        SweepCapsule(body, move, tri, contact);
        for (int i = 0; i <= 100; ++i) {
            const double time = contact.time * i / 100;
            ASSERT_GE(Clearance(body.Moved(move * time), tri), -1e-9 * radius)
                << "trial " << trial << " at " << time;
        }
        if (contact.hit) {
            ++hits;
            EXPECT_NEAR(Clearance(body.Moved(move * contact.time), tri), 0.0, 1e-7 * radius);
            EXPECT_LT(Dot(contact.normal, move), 0.0);
            EXPECT_NEAR(Length(contact.faceNormal), 1.0, 1e-12);
        }
    }
    EXPECT_GT(hits, 500);
}

TEST(FaceIndex, VisitsExactlyTheFacesWhoseBoxesMeetTheQuery) {
    Random random;
    std::vector<float> xyz;
    for (int face = 0; face < 3000; ++face) {
        const Vec3 centre = random.Point(50.0);
        const double size = face % 3 == 0 ? 10.0 : 0.5;
        for (int corner = 0; corner < 3; ++corner) {
            const Vec3 p = centre + random.Point(size);
            xyz.insert(xyz.end(), {float(p.x), float(p.y), float(p.z)});
        }
    }
    // Faces that stop nothing: a line, a point twice, and a corner that is not a number.
    xyz.insert(xyz.end(), {0, 0, 0, 1, 1, 1, 2, 2, 2});
    xyz.insert(xyz.end(), {0, 0, 0, 0, 0, 0, 1, 0, 0});
    xyz.insert(xyz.end(), {0, 0, 0, 1, 0, 0, std::numeric_limits<float>::quiet_NaN(), 1, 0});
    WorldFaces faces(2.5, {100, -7, 3});
    faces.AddTriangles(xyz);
    const FaceIndex index(faces);
    ASSERT_EQ(index.IndexedFaces(), 3002u);  // the line and the point are passed over
    for (int query = 0; query < 300; ++query) {
        const Vec3 at = random.Point(150.0) + Vec3{100, -7, 3};
        Box3 box;
        box.Add(at);
        box = box.Grown(random.Uniform(0.0, query % 10 == 0 ? 100.0 : 5.0));
        std::multiset<std::vector<double>> visited;
        index.ForEachFaceNear(box, [&](const Vec3* corners) {
            visited.insert({corners[0].x, corners[0].y, corners[0].z, corners[1].x});
        });
        std::multiset<std::vector<double>> expected;
        faces.ForEachFace(0, faces.FaceCount(), [&](std::uint32_t, const Vec3* corners) {
            Box3 faceBox;
            for (int i = 0; i < 3; ++i) {
                faceBox.Add(corners[i]);
            }
            if (WorldFaces::Walkable(corners) && faceBox.Overlaps(box)) {
                expected.insert({corners[0].x, corners[0].y, corners[0].z, corners[1].x});
            }
        });
        ASSERT_EQ(visited, expected) << "query " << query;
    }
}

}  // namespace
