#include "walk/CapsuleSweep.h"

namespace {

double Clamp01(double v) {
    return std::min(std::max(v, 0.0), 1.0);
}

// The point of triangle abc nearest p, by the region of the triangle's plane that p falls in
// (a corner, an edge, or the inside).
Vec3 NearestOnTriangle(const Vec3& p, const Vec3& a, const Vec3& b, const Vec3& c) {
    const Vec3 ab = b - a;
    const Vec3 ac = c - a;
    const Vec3 ap = p - a;
    const double d1 = Dot(ab, ap);
    const double d2 = Dot(ac, ap);
    if (d1 <= 0.0 && d2 <= 0.0) {
        return a;
    }
    const Vec3 bp = p - b;
    const double d3 = Dot(ab, bp);
    const double d4 = Dot(ac, bp);
    if (d3 >= 0.0 && d4 <= d3) {
        return b;
    }
    const double vc = d1 * d4 - d3 * d2;
    if (vc <= 0.0 && d1 >= 0.0 && d3 <= 0.0) {
        return a + ab * (d1 / (d1 - d3));
    }
    const Vec3 cp = p - c;
    const double d5 = Dot(ab, cp);
    const double d6 = Dot(ac, cp);
    if (d6 >= 0.0 && d5 <= d6) {
        return c;
    }
    const double vb = d5 * d2 - d1 * d6;
    if (vb <= 0.0 && d2 >= 0.0 && d6 <= 0.0) {
        return a + ac * (d2 / (d2 - d6));
    }
    const double va = d3 * d6 - d5 * d4;
    if (va <= 0.0 && d4 - d3 >= 0.0 && d5 - d6 >= 0.0) {
        return b + (c - b) * ((d4 - d3) / ((d4 - d3) + (d5 - d6)));
    }
    const double scale = 1.0 / (va + vb + vc);
    return a + ab * (vb * scale) + ac * (vc * scale);
}

// The nearest points of segments p1q1 and p2q2.
void NearestBetweenSegments(const Vec3& p1, const Vec3& q1, const Vec3& p2, const Vec3& q2,
                            Vec3& on1, Vec3& on2) {
    const Vec3 d1 = q1 - p1;
    const Vec3 d2 = q2 - p2;
    const Vec3 r = p1 - p2;
    const double a = Dot(d1, d1);
    const double e = Dot(d2, d2);
    const double f = Dot(d2, r);
    double s = 0.0;
    double t = 0.0;
    if (a <= 0.0 && e <= 0.0) {
        // both are points
    } else if (a <= 0.0) {
        t = Clamp01(f / e);
    } else {
        const double c = Dot(d1, r);
        if (e <= 0.0) {
            s = Clamp01(-c / a);
        } else {
            const double b = Dot(d1, d2);
            const double denominator = a * e - b * b;  // 0 when parallel: any s will do
            s = denominator > 0.0 ? Clamp01((b * f - c * e) / denominator) : 0.0;
            t = (b * s + f) / e;
            if (t < 0.0) {
                t = 0.0;
                s = Clamp01(-c / a);
            } else if (t > 1.0) {
                t = 1.0;
                s = Clamp01((b - c) / a);
            }
        }
    }
    on1 = p1 + d1 * s;
    on2 = p2 + d2 * t;
}

// Where segment pq passes through the triangle, if it does.
bool Crossing(const Vec3& p, const Vec3& q, const Vec3 tri[3], Vec3& at) {
    const Vec3 normal = Cross(tri[1] - tri[0], tri[2] - tri[0]);
    const double sideP = Dot(normal, p - tri[0]);
    const double sideQ = Dot(normal, q - tri[0]);
    if ((sideP > 0.0 && sideQ > 0.0) || (sideP < 0.0 && sideQ < 0.0) || sideP == sideQ) {
        return false;
    }
    at = p + (q - p) * (sideP / (sideP - sideQ));
    for (int edge = 0; edge < 3; ++edge) {
        const Vec3& from = tri[edge];
        const Vec3& to = tri[(edge + 1) % 3];
        if (Dot(Cross(to - from, at - from), normal) < 0.0) {
            return false;
        }
    }
    return true;
}

// A face's plane lies no nearer a point than the face: a body wholly on one side of the plane,
// farther than `reach` from it, cannot touch the face.
bool BeyondPlane(const Capsule& capsule, const Vec3& move, const Vec3 tri[3], const Vec3& normal,
                 double reach) {
    const Vec3 points[4] = {capsule.bottom, capsule.top, capsule.bottom + move, capsule.top + move};
    double low = HUGE_VAL;
    double high = -HUGE_VAL;
    for (const Vec3& point : points) {
        const double side = Dot(normal, point - tri[0]);
        low = std::min(low, side);
        high = std::max(high, side);
    }
    return low > reach || high < -reach;
}

constexpr int kMaxSteps = 24;
constexpr double kTouching = 1e-9;     // of the radius: nearer than this is touching
constexpr double kApproaching = 1e-9;  // of the move: a slower approach is moving along
constexpr double kSameTime = 1e-9;     // of the move: contacts this close come together

void Keep(Contact& first, double time, const Vec3& normal, Vec3 faceNormal) {
    if (Dot(faceNormal, normal) < 0.0) {
        faceNormal = faceNormal * -1.0;
    }
    if (time < first.time - kSameTime ||
        (time <= first.time + kSameTime && (!first.hit || faceNormal.z > first.faceNormal.z))) {
        first = {std::min(time, first.time), true, normal, faceNormal};
    }
}

}  // namespace

Box3 Capsule::Bounds() const {
    Box3 box;
    box.Add(bottom);
    box.Add(top);
    return box.Grown(radius);
}

double SegmentTriangleDistance(const Vec3& p, const Vec3& q, const Vec3 tri[3], Vec3& onSegment,
                               Vec3& onTriangle) {
    if (Crossing(p, q, tri, onSegment)) {
        onTriangle = onSegment;
        return 0.0;
    }
    // Otherwise the nearest pair has an end of the segment or a point of an edge in it.
    double best = HUGE_VAL;
    const auto consider = [&](const Vec3& s, const Vec3& t) {
        const double distance = Length(s - t);
        if (distance < best) {
            best = distance;
            onSegment = s;
            onTriangle = t;
        }
    };
    consider(p, NearestOnTriangle(p, tri[0], tri[1], tri[2]));
    consider(q, NearestOnTriangle(q, tri[0], tri[1], tri[2]));
    for (int edge = 0; edge < 3; ++edge) {
        Vec3 s;
        Vec3 t;
        NearestBetweenSegments(p, q, tri[edge], tri[(edge + 1) % 3], s, t);
        consider(s, t);
    }
    return best;
}

double Clearance(const Capsule& capsule, const Vec3 tri[3]) {
    Vec3 s;
    Vec3 t;
    return SegmentTriangleDistance(capsule.bottom, capsule.top, tri, s, t) - capsule.radius;
}

void SweepCapsule(const Capsule& capsule, const Vec3& move, const Vec3 tri[3], Contact& first) {
    Vec3 faceNormal = Cross(tri[1] - tri[0], tri[2] - tri[0]);
    faceNormal = faceNormal * (1.0 / Length(faceNormal));
    const double touching = kTouching * capsule.radius;
    if (BeyondPlane(capsule, move, tri, faceNormal, capsule.radius + touching)) {
        return;
    }
    const double moveLength = Length(move);
    // The distance from the face is a convex function of the time along a straight move, so
    // each step to where its tangent meets the radius stops short of the contact, never past
    // it, and converges on it.
    double time = 0.0;
    for (int step = 0; step < kMaxSteps; ++step) {
        const Capsule at = capsule.Moved(move * time);
        Vec3 onAxis;
        Vec3 onFace;
        const double distance = SegmentTriangleDistance(at.bottom, at.top, tri, onAxis, onFace);
        // Reaching through the face: its own normal, turned against the move.
        const Vec3 normal = distance > touching           ? (onAxis - onFace) * (1.0 / distance)
                            : Dot(faceNormal, move) > 0.0 ? faceNormal * -1.0
                                                          : faceNormal;
        const double rate = Dot(normal, move);  // how fast the distance changes
        const double gap = distance - capsule.radius;
        if (gap <= touching) {
            if (rate < -kApproaching * moveLength) {
                Keep(first, time, normal, faceNormal);
            }
            return;
        }
        if (rate >= 0.0) {
            return;
        }
        time += gap / -rate;
        if (time > first.time + kSameTime) {
            return;
        }
    }
    // Not settled: stop short, where the body is still clear of the face.
    Keep(first, time, move * (-1.0 / moveLength), faceNormal);
}
