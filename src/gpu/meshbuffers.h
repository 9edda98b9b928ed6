// What the GPU mesh classes share: the per-vertex dynamic records, the buffers every mesh makes,
// the indexed draw and the per-triangle setters. Only the mesh classes use it; it enables no
// attribute arrays and knows no programs. Needs the GL context current.
#pragma once

#include <cstddef>
#include <type_traits>
#include <vector>

#include "base/assert.h"
#include "math/mat4.h"
#include "math/vec4.h"

class Animation;
class SkinnedMeshData;

// Colour and glow power of one vertex: 20 bytes, colour at 0, glow power at 16.
struct ColorGlowVertex {
    sm::Vec4 color;
    float glowPower;
};

// Colour, triangle transform and glow power of one vertex: 84 bytes, colour at 0, the
// transform's four columns at 16, 32, 48 and 64, glow power at 80.
struct ColorTransformGlowVertex {
    sm::Vec4 color;
    sm::Mat4 transform;
    float glowPower;
};

static_assert(sizeof(ColorGlowVertex) == 20 && offsetof(ColorGlowVertex, glowPower) == 16,
              "the 20-byte dynamic record");
static_assert(sizeof(ColorTransformGlowVertex) == 84 &&
                  offsetof(ColorTransformGlowVertex, transform) == 16 &&
                  offsetof(ColorTransformGlowVertex, glowPower) == 80,
              "the 84-byte dynamic record");
static_assert(std::is_trivially_copyable<ColorTransformGlowVertex>::value, "uploaded bytewise");

namespace MeshBuffers {

// Indices are 16-bit: vertices 0 … 65,535, so whole triangles up to this many.
constexpr int kMaxTriangles = 21845;

// verticesCount / 3, the remainder dropped. More triangles than 16-bit indices reach is fatal.
int TrianglesCount(int verticesCount);

// A GL_ARRAY_BUFFER holding the bytes (GL_STATIC_DRAW); GL_ARRAY_BUFFER is unbound afterwards.
unsigned CreateStaticBuffer(const void* data, size_t bytes);

// A GL_ELEMENT_ARRAY_BUFFER of 3 × trianglesCount unsigned shorts 0, 1, 2, … (GL_STATIC_DRAW);
// unbound afterwards.
unsigned CreateIndexBuffer(int trianglesCount);

// A GL_ARRAY_BUFFER with storage for bytes and no data (GL_DYNAMIC_DRAW); unbound afterwards.
unsigned CreateDynamicBuffer(size_t bytes);

// Binds the buffer as GL_ARRAY_BUFFER and replaces its whole contents (GL_DYNAMIC_DRAW). The
// buffer stays bound, for the attribute pointers that follow.
void UploadDynamic(unsigned buffer, const void* data, size_t bytes);

// Float attribute at location of components floats, stride and byte offset into the bound
// GL_ARRAY_BUFFER; not normalised.
void FloatAttribute(int location, int components, int stride, size_t offset);

// Binds the index buffer, draws 3 × trianglesCount indices as GL_TRIANGLES, then unbinds
// GL_ARRAY_BUFFER and GL_ELEMENT_ARRAY_BUFFER.
void DrawTriangles(unsigned indexBuffer, int trianglesCount);

// Deletes the buffer if it exists and zeroes the name.
void DeleteBuffer(unsigned* buffer);

// A GL_ARRAY_BUFFER of the data's first 3 × trianglesCount 32-byte skinned vertices
// (GL_STATIC_DRAW); unbound afterwards.
unsigned CreateSkinnedVertexBuffer(const SkinnedMeshData& data, int trianglesCount);

// Binds the skinned vertex buffer and points location 0 at the positions (3 floats), 1 at the
// bone indices (4 unsigned bytes read as integers) and 2 at the weights (4 floats), stride 32.
void SkinnedVertexAttributes(unsigned vertexBuffer);

// For every bone index i of the data, makes the animation node whose id is the bone id write
// its bone matrix into (*boneMatrices)[i] and no world matrix. A node the animation lacks (or no
// animation at all) fails "anim != NULL". boneMatrices must hold one matrix per bone and must
// not move while the animation is updated.
void BindBones(const SkinnedMeshData& data, Animation* animation,
               std::vector<sm::Mat4>* boneMatrices);

// Triangle index of a per-triangle setter: 0 … trianglesCount − 1, anything else is fatal.
inline void CheckTriangle(int triangle, int trianglesCount) {
    ASSERT(triangle >= 0 && triangle < trianglesCount);
}

// The per-triangle setters over any record with color and glowPower: the three vertices of a
// triangle always carry equal records.
template <typename Vertex>
void SetTriangleColor(std::vector<Vertex>* data, int triangle, const sm::Vec4& color) {
    CheckTriangle(triangle, static_cast<int>(data->size() / 3));
    for (int v = 0; v < 3; ++v) (*data)[3 * triangle + v].color = color;
}

template <typename Vertex>
void SetAllTrianglesColor(std::vector<Vertex>* data, const sm::Vec4& color) {
    for (Vertex& vertex : *data) vertex.color = color;
}

template <typename Vertex>
void SetTriangleGlowPower(std::vector<Vertex>* data, int triangle, float power) {
    CheckTriangle(triangle, static_cast<int>(data->size() / 3));
    for (int v = 0; v < 3; ++v) (*data)[3 * triangle + v].glowPower = power;
}

template <typename Vertex>
void SetAllTrianglesGlowPower(std::vector<Vertex>* data, float power) {
    for (Vertex& vertex : *data) vertex.glowPower = power;
}

}  // namespace MeshBuffers
