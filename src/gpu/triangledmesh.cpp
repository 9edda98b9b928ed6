#include "gpu/triangledmesh.h"

#include <GL/glew.h>

TriangledMesh::~TriangledMesh() { Release(); }

void TriangledMesh::Release() {
    MeshBuffers::DeleteBuffer(&m_positionBufferId);
    MeshBuffers::DeleteBuffer(&m_dynamicBufferId);
    MeshBuffers::DeleteBuffer(&m_indexBufferId);
}

void TriangledMesh::CreateBuffers(const std::vector<sm::Vec3>& positions) {
    Release();
    m_trianglesCount = MeshBuffers::TrianglesCount(static_cast<int>(positions.size()));
    const size_t verticesCount = 3 * static_cast<size_t>(m_trianglesCount);
    m_positionBufferId =
        MeshBuffers::CreateStaticBuffer(positions.data(), verticesCount * sizeof(sm::Vec3));
    m_indexBufferId = MeshBuffers::CreateIndexBuffer(m_trianglesCount);
    m_dynamicData.assign(verticesCount, ColorTransformGlowVertex{sm::Vec4(0.7f, 0.2f, 0.8f, 0.8f),
                                                                 sm::Mat4(), 0.5f});
    m_dynamicBufferId =
        MeshBuffers::CreateDynamicBuffer(verticesCount * sizeof(ColorTransformGlowVertex));
}

void TriangledMesh::UpdateBuffers() {
    MeshBuffers::UploadDynamic(m_dynamicBufferId, m_dynamicData.data(),
                               m_dynamicData.size() * sizeof(ColorTransformGlowVertex));
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
    MeshBuffers::DrawTriangles(m_indexBufferId, m_trianglesCount);
}

void TriangledMesh::SetTriangleColor(int index, const sm::Vec4& color) {
    MeshBuffers::SetTriangleColor(&m_dynamicData, index, color);
}

void TriangledMesh::SetAllTrianglesColor(const sm::Vec4& color) {
    MeshBuffers::SetAllTrianglesColor(&m_dynamicData, color);
}

void TriangledMesh::SetTriangleGlowPower(int index, float power) {
    MeshBuffers::SetTriangleGlowPower(&m_dynamicData, index, power);
}

void TriangledMesh::SetAllTrianglesGlowPower(float power) {
    MeshBuffers::SetAllTrianglesGlowPower(&m_dynamicData, power);
}

void TriangledMesh::SetTriangleTransform(int index, const sm::Mat4& transform) {
    MeshBuffers::CheckTriangle(index, m_trianglesCount);
    for (int v = 0; v < 3; ++v) m_dynamicData[3 * index + v].transform = transform;
}

const sm::Vec4& TriangledMesh::GetTriangleColor(int index) const {
    MeshBuffers::CheckTriangle(index, m_trianglesCount);
    return m_dynamicData[3 * index].color;
}

float TriangledMesh::GetTriangleGlowPower(int index) const {
    MeshBuffers::CheckTriangle(index, m_trianglesCount);
    return m_dynamicData[3 * index].glowPower;
}

const sm::Mat4& TriangledMesh::GetTriangleTransform(int index) const {
    MeshBuffers::CheckTriangle(index, m_trianglesCount);
    return m_dynamicData[3 * index].transform;
}
