// The six vertex layouts of model files: the size of one vertex of each type and the byte
// offset of each attribute in it. Every reader of mesh-part vertex bytes goes through these
// tables. All components are floats, interleaved per vertex, with no gaps between vertices.
// Types outside 0 … 5 are a fatal error here; loaders reject them before they get this far.
#pragma once

#include <cstdint>

#include "math/vec3.h"

// Attribute indices, also the fixed attribute locations of the GPU meshes. They convert to int.
struct VertexAttrib {
    enum Value : int {
        Position = 0,
        Coords = 1,   // diffuse texture coordinates, 2 floats
        Coords2 = 2,  // light-map texture coordinates, 2 floats
        // 3 is reserved: no vertex type has it.
        Normal = 4,
        Tangent = 5,
    };
};

namespace VertexInformation {

constexpr int kMaxVertexType = 5;
constexpr int kAttribCount = 6;

// Bytes per vertex: 12, 24, 32, 40, 44 and 52 for the types 0 … 5.
int GetVertexSize(int vertexType);

// The attribute's byte offset inside a vertex, or −1 when the type lacks it. The attribute must
// be 0 … 5.
int GetAttribOffset(int vertexType, int attrib);

// The position of the vertex that starts at vertex.
sm::Vec3 GetPosition(const void* vertex, int vertexType);

// The position of vertex index of an array of vertices of one type.
sm::Vec3 GetPositionAt(const void* data, int index, int vertexType);

}  // namespace VertexInformation
