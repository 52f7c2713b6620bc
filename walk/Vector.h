// A point or direction in the walk-through's world (z up), in double precision: a body a few
// centimetres wide walks through models thousands of units across.
#pragma once

#include <algorithm>
#include <cmath>

struct Vec3 {
    double x = 0.0, y = 0.0, z = 0.0;
};

inline Vec3 operator+(const Vec3& a, const Vec3& b) {
    return {a.x + b.x, a.y + b.y, a.z + b.z};
}
inline Vec3 operator-(const Vec3& a, const Vec3& b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}
inline Vec3 operator*(const Vec3& a, double s) {
    return {a.x * s, a.y * s, a.z * s};
}
inline double Dot(const Vec3& a, const Vec3& b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}
inline Vec3 Cross(const Vec3& a, const Vec3& b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
inline double Length(const Vec3& a) {
    return std::sqrt(Dot(a, a));
}

// An axis-aligned box; empty (min above max) until a point is added.
struct Box3 {
    Vec3 min{HUGE_VAL, HUGE_VAL, HUGE_VAL};
    Vec3 max{-HUGE_VAL, -HUGE_VAL, -HUGE_VAL};

    bool Empty() const { return min.x > max.x; }
    void Add(const Vec3& p) {
        min = {std::min(min.x, p.x), std::min(min.y, p.y), std::min(min.z, p.z)};
        max = {std::max(max.x, p.x), std::max(max.y, p.y), std::max(max.z, p.z)};
    }
    void Add(const Box3& b) {
        if (!b.Empty()) {
            Add(b.min);
            Add(b.max);
        }
    }
    Box3 Grown(double margin) const {
        return {min - Vec3{margin, margin, margin}, max + Vec3{margin, margin, margin}};
    }
    bool Overlaps(const Box3& b) const {
        return min.x <= b.max.x && b.min.x <= max.x && min.y <= b.max.y && b.min.y <= max.y &&
               min.z <= b.max.z && b.min.z <= max.z;
    }
};
