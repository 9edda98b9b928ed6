#include "content/vertexinformation.h"

#include <cstring>

#include "base/assert.h"

namespace {

constexpr int kSizes[VertexInformation::kMaxVertexType + 1] = {12, 24, 32, 40, 44, 52};

// Rows are vertex types, columns the VertexAttrib values.
constexpr int kOffsets[VertexInformation::kMaxVertexType + 1][VertexInformation::kAttribCount] = {
    {0, -1, -1, -1, -1, -1},  // position
    {0, -1, -1, -1, 12, -1},  // position, normal
    {0, 12, -1, -1, 20, -1},  // position, coords, normal
    {0, 12, 20, -1, 28, -1},  // position, coords, coords2, normal
    {0, 12, -1, -1, 20, 32},  // position, coords, normal, tangent
    {0, 12, 20, -1, 28, 40},  // position, coords, coords2, normal, tangent
};

}  // namespace

namespace VertexInformation {

int GetVertexSize(int vertexType) {
    ASSERT(vertexType >= 0 && vertexType <= kMaxVertexType);
    return kSizes[vertexType];
}

int GetAttribOffset(int vertexType, int attrib) {
    ASSERT(vertexType >= 0 && vertexType <= kMaxVertexType);
    ASSERT(attrib >= 0 && attrib < kAttribCount);
    return kOffsets[vertexType][attrib];
}

sm::Vec3 GetPosition(const void* vertex, int vertexType) {
    sm::Vec3 p;
    std::memcpy(&p,
                static_cast<const unsigned char*>(vertex) +
                    GetAttribOffset(vertexType, VertexAttrib::Position),
                sizeof p);
    return p;
}

sm::Vec3 GetPositionAt(const void* data, int index, int vertexType) {
    const unsigned char* vertex = static_cast<const unsigned char*>(data) +
                                  static_cast<size_t>(index) * GetVertexSize(vertexType);
    return GetPosition(vertex, vertexType);
}

}  // namespace VertexInformation
