#include "gpu/vertexdatabuffertransform.h"

#include "gpu/meshbuffers.h"

VertexDataBufferTransform::~VertexDataBufferTransform() { MeshBuffers::DeleteBuffer(&m_bufferId); }

void VertexDataBufferTransform::Create(int trianglesCount) {
    MeshBuffers::DeleteBuffer(&m_bufferId);
    m_trianglesCount = trianglesCount > 0 ? trianglesCount : 0;
    m_matrices.assign(3 * static_cast<size_t>(m_trianglesCount), sm::Mat4());
    m_bufferId = MeshBuffers::CreateDynamicBuffer(m_matrices.size() * sizeof(sm::Mat4));
}

void VertexDataBufferTransform::SetTriangleMatrix(int index, const sm::Mat4& matrix) {
    MeshBuffers::CheckTriangle(index, m_trianglesCount);
    for (int v = 0; v < 3; ++v) m_matrices[3 * index + v] = matrix;
}

void VertexDataBufferTransform::Upload(int firstLocation) {
    MeshBuffers::UploadDynamic(m_bufferId, m_matrices.data(), m_matrices.size() * sizeof(sm::Mat4));
    for (int column = 0; column < 4; ++column)
        MeshBuffers::FloatAttribute(firstLocation + column, 4, sizeof(sm::Mat4), 16 * column);
}

const sm::Mat4& VertexDataBufferTransform::GetVertexMatrix(int vertex) const {
    ASSERT(vertex >= 0 && vertex < static_cast<int>(m_matrices.size()));
    return m_matrices[vertex];
}
