// The property of walking: in a closed room of any size, turned and placed anywhere in a world
// of any scale, with blocks on its floor, random keys, turns and frame lengths (slow frames take
// long strides) never take the body out of the room, through a block, or below the floor.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "tests/walk/Solids.h"
#include "walk/Walker.h"

namespace {

struct Room {
    double width, depth, height;  // metres; the inside is centred on the origin, floor at z 0
    std::vector<std::pair<Vec3, Vec3>> blocks;
    Solid solid;
};

Room RandomRoom(std::mt19937& engine) {
    const auto uniform = [&](double low, double high) {
        return std::uniform_real_distribution<double>(low, high)(engine);
    };
    Room room;
    room.width = uniform(0.8, 12);
    room.depth = uniform(0.8, 12);
    room.height = uniform(1.3, 4);  // some only crouching fits in
    const double x = room.width / 2, y = room.depth / 2, z = room.height;
    // Walls, floor and ceiling of zero thickness, each a single face.
    room.solid.Quad({-x, -y, 0}, {x, -y, 0}, {x, y, 0}, {-x, y, 0});
    room.solid.Quad({-x, -y, z}, {x, -y, z}, {x, y, z}, {-x, y, z});
    room.solid.Quad({-x, -y, 0}, {x, -y, 0}, {x, -y, z}, {-x, -y, z});
    room.solid.Quad({-x, y, 0}, {x, y, 0}, {x, y, z}, {-x, y, z});
    room.solid.Quad({-x, -y, 0}, {-x, y, 0}, {-x, y, z}, {-x, -y, z});
    room.solid.Quad({x, -y, 0}, {x, y, 0}, {x, y, z}, {x, -y, z});
    // A face outside, below the floor: the ground plane under the model is a metre down, and
    // only the floor's face holds the body.
    room.solid.Quad({x + 1, 0, -1}, {x + 2, 0, -1}, {x + 2, 1, -1}, {x + 1, 1, -1});
    // Blocks away from the middle, where the walk starts: steps, tables, walls.
    const int blocks = std::uniform_int_distribution<int>(0, 5)(engine);
    for (int i = 0; i < blocks; ++i) {
        const Vec3 lo{uniform(-x, x), uniform(-y, y), 0};
        const double top = i % 2 == 0 ? uniform(0.05, 0.35) : uniform(0.35, z);  // a step or not
        const Vec3 hi{uniform(lo.x, x), uniform(lo.y, y), top};
        if (lo.x < 0.6 && hi.x > -0.6 && lo.y < 0.6 && hi.y > -0.6) {
            continue;
        }
        room.blocks.push_back({lo, hi});
        room.solid.Box(lo, hi);
    }
    return room;
}

TEST(RandomRooms, RandomWalksStayInTheRoomAndOutOfItsBlocks) {
    std::mt19937 engine(7);
    const auto uniform = [&](double low, double high) {
        return std::uniform_real_distribution<double>(low, high)(engine);
    };
    for (int trial = 0; trial < 60; ++trial) {
        const Room room = RandomRoom(engine);
        // The room's metres in the world: turned, scaled and moved.
        const double turn = uniform(0, 6.3), units = std::pow(10.0, uniform(-1.5, 3));
        const Vec3 offset = Vec3{uniform(-1, 1), uniform(-1, 1), uniform(-1, 1)} * 50 * units;
        const auto toWorld = [&](const Vec3& p) {
            return Vec3{p.x * std::cos(turn) - p.y * std::sin(turn),
                        p.x * std::sin(turn) + p.y * std::cos(turn), p.z} *
                       units +
                   offset;
        };
        const auto toRoom = [&](const Vec3& w) {
            const Vec3 p = (w - offset) * (1.0 / units);
            return Vec3{p.x * std::cos(turn) + p.y * std::sin(turn),
                        -p.x * std::sin(turn) + p.y * std::cos(turn), p.z};
        };
        // Half in the file's coordinates, half through the faces' own scale and translation.
        const double faceScale = trial % 2 == 0 ? 1.0 : 3.0;
        std::vector<float> xyz = room.solid.Triangles();
        for (std::size_t i = 0; i < xyz.size(); i += 3) {
            const Vec3 w = toWorld({xyz[i], xyz[i + 1], xyz[i + 2]});
            const Vec3 drawn = (w - offset) * (1.0 / faceScale);
            xyz[i] = float(drawn.x), xyz[i + 1] = float(drawn.y), xyz[i + 2] = float(drawn.z);
        }
        WorldFaces faces(faceScale, offset);
        faces.AddTriangles(xyz);
        const FaceIndex index(faces);
        Walker walker(index, units, index.Bounds().min.z);
        walker.PutDown(toWorld({0, 0, std::min(1.6, room.height / 2)}));

        const double tolerance = 1e-4;  // metres: the room's corners are rounded to floats
        const double radius = 0.25 - tolerance;
        double yaw = uniform(0, 6.3);
        int keys = 0;
        bool jump = false;
        for (int frame = 0; frame < 400; ++frame) {
            if (frame % 10 == 0) {  // keys held for ten frames
                keys = std::uniform_int_distribution<int>(0, 63)(engine);
                jump = uniform(0, 1) < 0.05;
            }
            yaw += uniform(-0.1, 0.1);
            if (frame % 7 == 0) {  // a slow frame: a long stride
                const Vec3 stride{std::sin(yaw), std::cos(yaw), 0};
                walker.Move(stride * (uniform(0, 5) * units), false, keys & 2);
            } else {
                walker.Step(
                    {keys % 3 - 1, (keys / 3) % 3 - 1, bool(keys & 16), jump, (keys & 12) == 12},
                    yaw - turn);
            }
            const Vec3 feet = toRoom(walker.Feet());
            const Vec3 eye = toRoom(walker.Eye());
            ASSERT_LE(std::abs(feet.x), room.width / 2 - radius) << trial << " " << frame;
            ASSERT_LE(std::abs(feet.y), room.depth / 2 - radius) << trial << " " << frame;
            ASSERT_GE(feet.z, -tolerance) << trial << " " << frame;
            ASSERT_LT(eye.z, room.height) << trial << " " << frame;
            for (const auto& [lo, hi] : room.blocks) {
                // Over a block the body stands on it, never in it.
                const bool over = feet.x > lo.x && feet.x < hi.x && feet.y > lo.y && feet.y < hi.y;
                ASSERT_FALSE(over && feet.z < hi.z - tolerance) << trial << " " << frame;
            }
        }
    }
}

}  // namespace
