#include "gpu/triangledmesh.h"

#include <GL/glew.h>

TriangledMesh::~TriangledMesh() { MeshBuffers::DeleteBuffer(&m_positionBufferId); }

void TriangledMesh::CreateBuffers(const std::vector<sm::Vec3>& positions) {
    MeshBuffers::DeleteBuffer(&m_positionBufferId);
    const int trianglesCount = MeshBuffers::TrianglesCount(static_cast<int>(positions.size()));
    const size_t verticesCount = 3 * static_cast<size_t>(trianglesCount);
    m_positionBufferId =
        MeshBuffers::CreateStaticBuffer(positions.data(), verticesCount * sizeof(sm::Vec3));
    CreateRecords(trianglesCount, ColorTransformGlowVertex{sm::Vec4(0.7f, 0.2f, 0.8f, 0.8f),
                                                           sm::Mat4(), 0.5f});
}

void TriangledMesh::UpdateBuffers() {
    UploadRecords();
    const int stride = sizeof(ColorTransformGlowVertex);
    MeshBuffers::FloatAttribute(1, 4, stride, 0);
    for (int column = 0; column < 4; ++column)
        MeshBuffers::FloatAttribute(2 + column, 4, stride, 16 + 16 * column);
    MeshBuffers::FloatAttribute(6, 1, stride, 80);
}

void TriangledMesh::Draw() {
    UpdateBuffers();
    glBindBuffer(GL_ARRAY_BUFFER, m_positionBufferId);
    MeshBuffers::FloatAttribute(0, 3, sizeof(sm::Vec3), 0);
    DrawTriangles();
}

void TriangledMesh::SetTriangleTransform(int index, const sm::Mat4& transform) {
    ColorTransformGlowVertex* records = &Triangle(index);
    for (int v = 0; v < 3; ++v) records[v].transform = transform;
}

const sm::Mat4& TriangledMesh::GetTriangleTransform(int index) const {
    return Triangle(index).transform;
}
