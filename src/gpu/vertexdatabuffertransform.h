// One 4×4 matrix per vertex of a triangle list in its own GL buffer, set triangle by triangle:
// the per-triangle placement of a skinned ribbon mesh. Upload sends all matrices and points four
// consecutive attribute locations at the columns; it does not enable the arrays.
#pragma once

#include <vector>

#include "math/mat4.h"

class VertexDataBufferTransform {
public:
    VertexDataBufferTransform() = default;
    virtual ~VertexDataBufferTransform();
    VertexDataBufferTransform(const VertexDataBufferTransform&) = delete;
    VertexDataBufferTransform& operator=(const VertexDataBufferTransform&) = delete;

    // Three identity matrices per triangle, and a buffer with storage for them.
    void Create(int trianglesCount);

    // The same matrix for the triangle's three vertices; indices outside are fatal.
    void SetTriangleMatrix(int index, const sm::Mat4& matrix);

    // Binds the buffer (it stays bound), uploads every matrix (GL_DYNAMIC_DRAW) and points
    // locations firstLocation … firstLocation + 3 at columns 0 … 3 (stride 64).
    void Upload(int firstLocation);

    int GetTrianglesCount() const { return m_trianglesCount; }
    // Vertex 0 … 3 × count − 1.
    const sm::Mat4& GetVertexMatrix(int vertex) const;
    unsigned GetBufferId() const { return m_bufferId; }

private:
    unsigned m_bufferId = 0;
    std::vector<sm::Mat4> m_matrices;
    int m_trianglesCount = 0;
};
