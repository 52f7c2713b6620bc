#include "placement/UpAxis.h"

#include <cmath>
#include <cstring>

namespace {

// (x, y, z) to (x, -z, y), for `count` points of three floats at `at` (which may be unaligned).
void TurnPoints(unsigned char* at, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i, at += 12) {
        float xyz[3];
        std::memcpy(xyz, at, sizeof xyz);
        const float turned[3] = {xyz[0], -xyz[2], xyz[1]};
        std::memcpy(at, turned, sizeof turned);
    }
}

}  // namespace

void StandUpright(Scene& scene) {
    for (Mesh* mesh = g_meshHead->next; mesh != nullptr; mesh = mesh->next) {
        if (mesh->vertices != nullptr) {
            TurnPoints(mesh->vertices, static_cast<std::size_t>(mesh->vertexCount));
        }
        if (mesh->normals != nullptr) {
            TurnPoints(reinterpret_cast<unsigned char*>(mesh->normals),
                       static_cast<std::size_t>(FaceCount(*mesh)));
        }
    }
    StandCamerasUpright(scene);
}

void StandCamerasUpright(Scene& scene) {
    for (ModelCamera& camera : scene.cameras) {
        TurnPoints(reinterpret_cast<unsigned char*>(camera.position), 1);
        TurnPoints(reinterpret_cast<unsigned char*>(camera.target), 1);
    }
}

bool LooksYUp(const Mesh* meshHead) {
    constexpr double kFacing = 0.9;  // cos 25 degrees
    // A big model is judged by a sample of its faces, evenly spread: the hint costs no time.
    constexpr long kFacesJudged = 100000;
    long faces = 0;
    for (const Mesh* mesh = meshHead->next; mesh != nullptr; mesh = mesh->next) {
        faces += FaceCount(*mesh);
    }
    const int step = static_cast<int>(faces / kFacesJudged + 1);
    double total = 0.0;
    double facing[3] = {0.0, 0.0, 0.0};
    for (const Mesh* mesh = meshHead->next; mesh != nullptr; mesh = mesh->next) {
        for (int face = 0; face < FaceCount(*mesh); face += step) {
            if (!IsDrawable(*mesh, face)) {
                continue;
            }
            const std::uint16_t* record = FaceRecord(*mesh, face);
            float p[3][3];
            for (int corner = 0; corner < 3; ++corner) {
                ReadVertex(*mesh, record[corner], p[corner]);
            }
            double u[3], v[3];
            for (int axis = 0; axis < 3; ++axis) {
                u[axis] = static_cast<double>(p[1][axis]) - p[0][axis];
                v[axis] = static_cast<double>(p[2][axis]) - p[1][axis];
            }
            const double n[3] = {u[1] * v[2] - u[2] * v[1], u[2] * v[0] - u[0] * v[2],
                                 u[0] * v[1] - u[1] * v[0]};
            const double twiceArea = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
            if (!(twiceArea > 0.0) || !std::isfinite(twiceArea)) {
                continue;
            }
            total += twiceArea;
            for (int axis = 0; axis < 3; ++axis) {
                if (std::fabs(n[axis]) >= kFacing * twiceArea) {
                    facing[axis] += twiceArea;
                }
            }
        }
    }
    // A wall, or a row of walls, faces along y too, and along nothing else.
    const bool moreThanAWall = facing[0] + facing[2] >= total / 20.0;
    return total > 0.0 && facing[1] >= 1.5 * facing[2] && facing[1] >= total / 6.0 && moreThanAWall;
}
