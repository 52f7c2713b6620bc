#include "webgl11/ImmediateShading.h"

namespace webgl11 {

namespace {

class VertexLighter {
public:
    explicit VertexLighter(const ShadingInputs& inputs)
        : inputs_(inputs), normalMatrix_(NormalMatrix(inputs.modelView)) {}

    Vec4 ColorOf(const ImmediateVertex& vertex) const {
        if (!inputs_.lighting) {
            return vertex.color;
        }
        const Vec4 eye = Transform(
            inputs_.modelView, {vertex.position[0], vertex.position[1], vertex.position[2], 1.0f});
        Vec3 normal = TransformNormal(normalMatrix_, vertex.normal);
        if (inputs_.normalize) {
            normal = Normalized(normal);
        }
        return LitColor(inputs_.light, {eye[0], eye[1], eye[2]}, normal, vertex.color);
    }

private:
    const ShadingInputs& inputs_;
    std::array<Vec3, 3> normalMatrix_;
};

void Append(std::vector<float>& out, const ImmediateVertex& vertex, const Vec4& color) {
    out.insert(out.end(), vertex.position.begin(), vertex.position.end());
    out.insert(out.end(), color.begin(), color.end());
    out.insert(out.end(), vertex.texCoord.begin(), vertex.texCoord.end());
}

}  // namespace

std::vector<float> ShadeTriangles(const std::vector<ImmediateVertex>& vertices,
                                  const ShadingInputs& inputs) {
    const std::size_t count = vertices.size() - vertices.size() % 3;
    std::vector<float> shaded;
    shaded.reserve(count * kShadedFloats);
    const VertexLighter lighter(inputs);
    for (std::size_t first = 0; first < count; first += 3) {
        const Vec4 flatColor = inputs.flat ? lighter.ColorOf(vertices[first + 2]) : Vec4{};
        for (std::size_t i = first; i < first + 3; ++i) {
            Append(shaded, vertices[i], inputs.flat ? flatColor : lighter.ColorOf(vertices[i]));
        }
    }
    return shaded;
}

}  // namespace webgl11
