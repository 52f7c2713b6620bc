// The web page's OpenGL 1.1 subset, natively: the matrices GLU and glTranslate/glScale compose,
// the lighting equation at points computed by hand, flat shading's colour, the power-of-two
// scaling of textures, which GPU copies of client arrays are reused, which triangles are left
// out as covering no pixel, the matrix stacks, the switches glIsEnabled reads, and the packing of
// pixels read back.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

#include "webgl11/ArrayBufferCache.h"
#include "webgl11/GlContext.h"
#include "webgl11/ImmediateShading.h"
#include "webgl11/MatrixState.h"
#include "webgl11/PixelPacking.h"
#include "webgl11/PixelSieve.h"
#include "webgl11/TextureScaling.h"

namespace {

using webgl11::Matrix4;
using webgl11::Vec3;
using webgl11::Vec4;

void ExpectNear(const Vec4& actual, const Vec4& expected, const char* what) {
    for (unsigned i = 0; i < 4; ++i) {
        EXPECT_NEAR(actual[i], expected[i], 1e-5f) << what << ", component " << i;
    }
}

Vec4 Apply(const Matrix4& matrix, const Vec3& point) {
    return webgl11::Transform(matrix, {point[0], point[1], point[2], 1.0f});
}

TEST(GlSubset, MatricesComposeAsGlAndGluDo) {
    webgl11::MatrixState matrices;
    matrices.SetMode(webgl11::MatrixMode::kProjection);
    matrices.MultiplyBy(webgl11::Perspective(90.0, 2.0, 1.0, 3.0));
    matrices.SetMode(webgl11::MatrixMode::kModelView);
    // Eye at (1, 2, 3) looking along +x with z up; then the model moved by (10, 0, 0), scaled 2.
    matrices.MultiplyBy(webgl11::LookAt({1, 2, 3}, {5, 2, 3}, {0, 0, 1}));
    matrices.MultiplyBy(webgl11::Translation(10, 0, 0));
    matrices.MultiplyBy(webgl11::Scaling(2, 2, 2));
    struct Case {
        Vec3 point;
        Vec4 eye;   // after the model-view matrix
        Vec4 clip;  // after the projection too
    };
    const Case cases[] = {
        // Model (-3.5, 1, 1.5) is world (3, 2, 3): 2 ahead of the eye.
        {{-3.5f, 1.0f, 1.5f}, {0.0f, 0.0f, -2.0f, 1.0f}, {0.0f, 0.0f, 1.0f, 2.0f}},
        // Model (-4, 0, 2) is world (2, 0, 4): 1 ahead, 2 to the right, 1 up.
        {{-4.0f, 0.0f, 2.0f}, {2.0f, 1.0f, -1.0f, 1.0f}, {1.0f, 1.0f, -1.0f, 1.0f}},
    };
    for (const Case& c : cases) {
        ExpectNear(Apply(matrices.ModelView(), c.point), c.eye, "eye");
        ExpectNear(Apply(webgl11::Multiply(matrices.Projection(), matrices.ModelView()), c.point),
                   c.clip, "clip");
    }
    // A uniform scale of 2 leaves normals half as long; their direction is kept.
    const Vec3 normal =
        webgl11::TransformNormal(webgl11::NormalMatrix(matrices.ModelView()), {0.0f, 0.0f, 1.0f});
    ExpectNear({normal[0], normal[1], normal[2], 0.0f}, {0.0f, 0.5f, 0.0f, 0.0f}, "normal");
    matrices.LoadIdentity();
    ExpectNear(Apply(matrices.ModelView(), {1, 2, 3}), {1, 2, 3, 1}, "identity");
}

TEST(GlSubset, LightingFollowsTheEquationAtPointsComputedByHand) {
    webgl11::LightState light;
    light.ambient = {0.1f, 0.1f, 0.1f, 1.0f};
    light.diffuse = {0.5f, 0.5f, 0.5f, 1.0f};
    light.modelAmbient = {0.2f, 0.2f, 0.2f, 1.0f};
    light.eyePosition = {0.0f, 0.0f, 10.0f, 1.0f};
    const Vec4 color{0.8f, 0.4f, 1.0f, 0.5f};
    struct Case {
        Vec3 position, normal;
        float factor;  // colour times this: 0.3 of ambients plus 0.5 of N.L
    };
    const float cos45 = std::sqrt(0.5f);
    const Case cases[] = {
        {{0, 0, 0}, {0, 0, 1}, 0.8f},                  // facing the light
        {{0, 0, 0}, {0, 0, -1}, 0.3f},                 // facing away: the ambients alone
        {{10, 0, 0}, {0, 0, 1}, 0.3f + 0.5f * cos45},  // the light 45 degrees off the normal
        {{0, 0, 0}, {0, 0, 3}, 1.8f},                  // an unnormalised normal lights more
    };
    for (const Case& c : cases) {
        const Vec4 lit = webgl11::LitColor(light, c.position, c.normal, color);
        Vec4 expected{};
        for (unsigned i = 0; i < 3; ++i) {
            expected[i] = std::fmin(1.0f, color[i] * c.factor);  // clamped to 1
        }
        expected[3] = color[3];
        ExpectNear(lit, expected, "lit colour");
    }
    // A light with w 0 is a direction: the same wherever the vertex is.
    light.eyePosition = {0.0f, 0.0f, 1.0f, 0.0f};
    ExpectNear(webgl11::LitColor(light, {100, 50, 0}, {0, 0, 1}, color),
               webgl11::LitColor(light, {0, 0, 0}, {0, 0, 1}, color), "directional");
}

TEST(GlSubset, FlatTrianglesTakeTheirLastVertexColourAndPartialOnesAreDropped) {
    webgl11::ShadingInputs inputs;
    inputs.flat = true;
    const std::vector<webgl11::ImmediateVertex> vertices = {
        {{0, 0, 0}, {0, 0, 1}, {1, 0, 0, 1}, {0, 0}},
        {{1, 0, 0}, {0, 0, 1}, {0, 1, 0, 1}, {1, 0}},
        {{0, 1, 0}, {0, 0, 1}, {0, 0, 1, 1}, {0, 1}},
        {{5, 5, 5}, {0, 0, 1}, {1, 1, 1, 1}, {0, 0}},  // no triangle
    };
    const std::vector<float> shaded = webgl11::ShadeTriangles(vertices, inputs);
    ASSERT_EQ(shaded.size(), 3u * webgl11::kShadedFloats);
    for (unsigned v = 0; v < 3; ++v) {
        const float* at = &shaded[v * webgl11::kShadedFloats];
        EXPECT_EQ((std::vector<float>(at + 3, at + 7)), (std::vector<float>{0, 0, 1, 1}));
        EXPECT_EQ(at[0], vertices[v].position[0]);
        EXPECT_EQ(at[8], vertices[v].texCoord[1]);
    }
}

TEST(GlSubset, TexturesAreScaledDownToPowersOfTwoByAveraging) {
    const std::pair<int, int> sizes[] = {{1, 1},     {2, 2},     {3, 2},
                                         {255, 128}, {256, 256}, {5000, 2048}};
    for (const auto& [size, power] : sizes) {
        EXPECT_EQ(webgl11::PowerOfTwoAtMost(size, 2048), power) << size;
    }
    const std::uint8_t image[] = {0, 10, 20, 255, 100, 110, 120, 255, 200, 210, 220, 255};
    EXPECT_EQ(webgl11::ScaleRgba(image, 3, 1, 1, 1),
              (std::vector<std::uint8_t>{100, 110, 120, 255}));
}

// Copies are kept only of arrays the drawing keeps fixed, and dropped when it releases them,
// when they go undrawn for a while, or (copies for one draw) at the end of the frame.
TEST(GlSubset, ArrayCopiesAreKeptOnlyForFixedArraysUntilReleasedOrUnused) {
    webgl11::ArrayBufferCache cache;
    const float points[9] = {};
    const std::uint16_t indices[3] = {0, 1, 2};
    const float elsewhere[9] = {};
    const webgl11::ArraysDrawn arrays{points, nullptr, nullptr, indices, 3};
    EXPECT_FALSE(cache.IsFixed(arrays));
    cache.Fix(points, sizeof points);
    EXPECT_FALSE(cache.IsFixed(arrays)) << "the indices are not fixed";
    cache.Fix(indices, sizeof indices);
    EXPECT_TRUE(cache.IsFixed(arrays));
    EXPECT_TRUE(cache.IsFixed({points + 3, nullptr, nullptr, indices + 1, 2})) << "inside";
    EXPECT_FALSE(cache.IsFixed({points, elsewhere, nullptr, indices, 3})) << "normals elsewhere";

    cache.Add(arrays, {7, 17, 3, 0});
    ASSERT_NE(cache.Find(arrays), nullptr);
    cache.AddForOneDraw({9, 19, 3, 0});
    EXPECT_EQ(cache.EndFrame(), (std::vector<std::uint32_t>{9, 19})) << "drawn once";
    cache.Release(points);
    EXPECT_FALSE(cache.IsFixed(arrays));
    EXPECT_EQ(cache.Find(arrays), nullptr);
    EXPECT_EQ(cache.EndFrame(), (std::vector<std::uint32_t>{7, 17})) << "released";

    cache.Fix(points, sizeof points);
    cache.Add(arrays, {8, 18, 3, 0});
    for (std::uint64_t frame = 1; frame <= webgl11::ArrayBufferCache::kFramesKept; ++frame) {
        EXPECT_TRUE(cache.EndFrame().empty());
    }
    EXPECT_EQ(cache.EndFrame(), (std::vector<std::uint32_t>{8, 18})) << "not drawn for a while";
    EXPECT_EQ(cache.Find(arrays), nullptr);
}

// Many triangles from a pixel's hundredth to many pixels across, some behind the eye: every one
// left out lies, as exactly placed in double precision, more than a renderer's snapping away
// from every pixel centre; many are left out; the rest keep their order.
TEST(GlSubset, OnlyTrianglesThatCoverNoPixelCentreAreLeftOut) {
    const Matrix4 projection = webgl11::Perspective(45.0, 800.0 / 600.0, 0.1, 3000.0);
    const Matrix4 modelView = webgl11::LookAt({0, -30, 3}, {0, 0, 0}, {0, 0, 1});
    const webgl11::Viewport viewport{0.0f, 0.0f, 800.0f, 600.0f};
    std::mt19937 random(7);
    std::uniform_real_distribution<float> place(-20.0f, 20.0f);
    std::uniform_real_distribution<float> sizeExponent(-4.0f, 0.5f);
    std::uniform_real_distribution<float> unit(-1.0f, 1.0f);
    constexpr std::uint16_t kTriangles = 4000;
    std::vector<float> points;
    std::vector<std::uint16_t> indices;
    for (std::uint16_t t = 0; t < kTriangles; ++t) {
        // Every tenth has a corner behind the eye.
        const float centre[3] = {place(random), t % 10 == 0 ? -40.0f : place(random),
                                 place(random) / 4};
        const float size = std::pow(10.0f, sizeExponent(random));
        for (int corner = 0; corner < 3; ++corner) {
            for (int axis = 0; axis < 3; ++axis) {
                points.push_back(corner == 0 ? centre[axis] : centre[axis] + size * unit(random));
            }
            indices.push_back(static_cast<std::uint16_t>(3 * t + corner));
        }
    }
    webgl11::PixelSieve sieve;
    const std::vector<std::uint16_t>& kept = sieve.Keep(
        points.data(), 3, indices.data(), indices.size(), projection, modelView, viewport);
    ASSERT_EQ(kept.size() % 3, 0u);
    std::vector<bool> isKept(kTriangles, false);
    for (std::size_t i = 0; i < kept.size(); i += 3) {
        ASSERT_EQ(kept[i] % 3, 0);
        ASSERT_TRUE(i == 0 || kept[i] > kept[i - 3]) << "the order is kept";
        isKept[kept[i] / 3] = true;
    }
    const Matrix4 clipOf = webgl11::Multiply(projection, modelView);
    int leftOut = 0;
    for (std::uint16_t t = 0; t < kTriangles; ++t) {
        if (isKept[t]) {
            continue;
        }
        ++leftOut;
        EXPECT_NE(t % 10, 0) << "triangle " << t << " reaches behind the eye";
        double low[2] = {1e30, 1e30};
        double high[2] = {-1e30, -1e30};
        for (int corner = 0; corner < 3; ++corner) {
            const float* p = &points[9 * std::size_t{t} + 3 * std::size_t(corner)];
            double clip[4] = {};
            for (int row = 0; row < 4; ++row) {
                for (int k = 0; k < 3; ++k) {
                    clip[row] += double{clipOf.At(row, k)} * p[k];
                }
                clip[row] += clipOf.At(row, 3);
            }
            const double window[2] = {(clip[0] / clip[3] * 0.5 + 0.5) * 800.0,
                                      (clip[1] / clip[3] * 0.5 + 0.5) * 600.0};
            for (int axis = 0; axis < 2; ++axis) {
                low[axis] = std::min(low[axis], window[axis]);
                high[axis] = std::max(high[axis], window[axis]);
            }
        }
        // The nearest pixel centres to the box, snapping included, on either axis.
        const bool holdsX =
            std::floor(high[0] + 1.0 / 32 - 0.5) >= std::ceil(low[0] - 1.0 / 32 - 0.5);
        const bool holdsY =
            std::floor(high[1] + 1.0 / 32 - 0.5) >= std::ceil(low[1] - 1.0 / 32 - 0.5);
        EXPECT_FALSE(holdsX && holdsY) << "triangle " << t << " may cover a pixel centre";
    }
    EXPECT_GT(leftOut, kTriangles / 4);
    EXPECT_LT(leftOut, kTriangles * 9 / 10);
}

// The overlay's way of keeping the frame's matrices: each mode's own stack, as deep as GL 1.1
// promises; a pop with nothing pushed and a push beyond the depth change nothing.
TEST(GlSubset, EachMatrixModePushesAndPopsItsOwnStack) {
    webgl11::MatrixState matrices;
    const Matrix4 perspective = webgl11::Perspective(60.0, 4.0 / 3.0, 0.1, 3000.0);
    const Matrix4 look = webgl11::LookAt({0, 15, 3}, {0, 14, 3}, {0, 0, 1});
    matrices.SetMode(webgl11::MatrixMode::kProjection);
    matrices.MultiplyBy(perspective);
    matrices.Push();
    matrices.LoadIdentity();
    matrices.MultiplyBy(webgl11::Scaling(2, 2, 1));
    matrices.Push();  // beyond the projection stack's two
    matrices.SetMode(webgl11::MatrixMode::kModelView);
    matrices.MultiplyBy(look);
    for (std::size_t i = 0; i < webgl11::MatrixState::kModelViewDepth + 3; ++i) {
        matrices.Push();
        matrices.MultiplyBy(webgl11::Translation(1, 0, 0));
    }
    for (std::size_t i = 0; i < webgl11::MatrixState::kModelViewDepth + 3; ++i) {
        matrices.Pop();
    }
    EXPECT_EQ(matrices.ModelView().m, look.m);
    matrices.SetMode(webgl11::MatrixMode::kProjection);
    EXPECT_EQ(matrices.Projection().m, webgl11::Scaling(2, 2, 1).m);
    matrices.Pop();
    EXPECT_EQ(matrices.Projection().m, perspective.m);
    matrices.Pop();
    EXPECT_EQ(matrices.Projection().m, perspective.m);
    EXPECT_EQ(matrices.ModelView().m, look.m);
}

TEST(GlSubset, EverySwitchTheProgramTurnsHasItsOwnState) {
    webgl11::GlContext gl;
    const GLenum switches[] = {GL_LIGHTING, GL_LIGHT0,     GL_COLOR_MATERIAL, GL_NORMALIZE,
                               GL_FOG,      GL_TEXTURE_2D, GL_DEPTH_TEST,     GL_BLEND};
    std::vector<bool*> states;
    for (const GLenum capability : switches) {
        bool* state = gl.Switch(capability);
        ASSERT_NE(state, nullptr) << capability;
        EXPECT_FALSE(*state) << "GL starts with every switch off";
        EXPECT_EQ(std::count(states.begin(), states.end(), state), 0) << capability;
        states.push_back(state);
    }
    EXPECT_EQ(gl.Switch(GL_CULL_FACE), nullptr);
}

// Rows of 5 pixels: 15 bytes of RGB, padded to 16 at an alignment of 4 and left so at 1.
TEST(GlSubset, PixelsReadBackArePackedAsAskedWithThePaddingLeftAlone) {
    std::vector<std::uint8_t> rgba(5 * 2 * 4);
    for (std::size_t i = 0; i < rgba.size(); ++i) {
        rgba[i] = static_cast<std::uint8_t>(i);
    }
    for (const auto& [channels, alignment, rowBytes] :
         {std::tuple{3, 1, 15}, {3, 4, 16}, {3, 8, 16}, {4, 4, 20}, {4, 8, 24}}) {
        ASSERT_EQ(webgl11::PackedRowBytes(5, channels, alignment), std::size_t(rowBytes));
        std::vector<std::uint8_t> out(2 * rowBytes, 0xEE);
        webgl11::PackPixels(rgba, 5, 2, channels, alignment, out.data());
        for (int row = 0; row < 2; ++row) {
            for (int at = 0; at < rowBytes; ++at) {
                const int pixel = at / channels;
                const int expected = pixel < 5 ? (row * 5 + pixel) * 4 + at % channels : 0xEE;
                EXPECT_EQ(out[std::size_t(row * rowBytes + at)], expected)
                    << channels << " channels, alignment " << alignment;
            }
        }
    }
}

}  // namespace
