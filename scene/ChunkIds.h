// Identifiers of the 3DS chunks the model reader knows, shared by the reader and the writers
// that make model files (the sample scene and the tests).
#pragma once

#include <cstdint>

namespace chunk {

constexpr std::uint16_t kMain = 0x4D4D;
constexpr std::uint16_t kVersion = 0x0002;
constexpr std::uint16_t kEditor = 0x3D3D;
constexpr std::uint16_t kMeshVersion = 0x3D3E;
constexpr std::uint16_t kMasterScale = 0x0100;
constexpr std::uint16_t kNamedObject = 0x4000;
constexpr std::uint16_t kTriMesh = 0x4100;
constexpr std::uint16_t kVertexList = 0x4110;
constexpr std::uint16_t kFaceList = 0x4120;
constexpr std::uint16_t kMaterialGroup = 0x4130;
constexpr std::uint16_t kMappingCoords = 0x4140;
constexpr std::uint16_t kSmoothingGroups = 0x4150;
constexpr std::uint16_t kLight = 0x4600;
constexpr std::uint16_t kCamera = 0x4700;
constexpr std::uint16_t kMaterialBlock = 0xAFFF;
constexpr std::uint16_t kMaterialName = 0xA000;
constexpr std::uint16_t kDiffuseColor = 0xA020;
constexpr std::uint16_t kTransparency = 0xA050;
constexpr std::uint16_t kTwoSided = 0xA081;
constexpr std::uint16_t kTextureMap = 0xA200;
constexpr std::uint16_t kMapFileName = 0xA300;
constexpr std::uint16_t kMapUScale = 0xA354;
constexpr std::uint16_t kMapVScale = 0xA356;
constexpr std::uint16_t kMapUOffset = 0xA358;
constexpr std::uint16_t kMapVOffset = 0xA35A;
constexpr std::uint16_t kColor24 = 0x0011;
constexpr std::uint16_t kPercentInt = 0x0030;
constexpr std::uint16_t kPercentFloat = 0x0031;

}  // namespace chunk
