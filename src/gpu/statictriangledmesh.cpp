#include "gpu/statictriangledmesh.h"

#include <GL/glew.h>

#include "content/model.h"
#include "content/vertexinformation.h"

StaticTriangledMesh::~StaticTriangledMesh() { Release(); }

void StaticTriangledMesh::Release() {
    MeshBuffers::DeleteBuffer(&m_positionBufferId);
    MeshBuffers::DeleteBuffer(&m_dynamicBufferId);
    MeshBuffers::DeleteBuffer(&m_indexBufferId);
}

void StaticTriangledMesh::Create(const MeshPart& part) {
    Release();
    m_trianglesCount = MeshBuffers::TrianglesCount(part.GetVerticesCount());
    const int verticesCount = 3 * m_trianglesCount;

    std::vector<sm::Vec3> positions(static_cast<size_t>(verticesCount));
    for (int i = 0; i < verticesCount; ++i)
        positions[i] =
            VertexInformation::GetPositionAt(part.GetVertexData(), i, part.GetVertexType());
    m_positionBufferId =
        MeshBuffers::CreateStaticBuffer(positions.data(), positions.size() * sizeof(sm::Vec3));
    m_indexBufferId = MeshBuffers::CreateIndexBuffer(m_trianglesCount);

    m_dynamicData.assign(static_cast<size_t>(verticesCount),
                         ColorGlowVertex{sm::Vec4(0.2f, 0.8f, 0.0f, 0.2f), 0.8f});
    m_dynamicBufferId =
        MeshBuffers::CreateDynamicBuffer(m_dynamicData.size() * sizeof(ColorGlowVertex));
}

void StaticTriangledMesh::UpdateBuffers() {
    MeshBuffers::UploadDynamic(m_dynamicBufferId, m_dynamicData.data(),
                               m_dynamicData.size() * sizeof(ColorGlowVertex));
    MeshBuffers::FloatAttribute(1, 4, sizeof(ColorGlowVertex), 0);
    MeshBuffers::FloatAttribute(2, 1, sizeof(ColorGlowVertex), 16);
}

void StaticTriangledMesh::Draw() {
    UpdateBuffers();
    glBindBuffer(GL_ARRAY_BUFFER, m_positionBufferId);
    MeshBuffers::FloatAttribute(0, 3, sizeof(sm::Vec3), 0);
    MeshBuffers::DrawTriangles(m_indexBufferId, m_trianglesCount);
}

void StaticTriangledMesh::SetTriangleColor(int index, const sm::Vec4& color) {
    MeshBuffers::SetTriangleColor(&m_dynamicData, index, color);
}

void StaticTriangledMesh::SetAllTrianglesColor(const sm::Vec4& color) {
    MeshBuffers::SetAllTrianglesColor(&m_dynamicData, color);
}

void StaticTriangledMesh::SetTriangleGlowPower(int index, float power) {
    MeshBuffers::SetTriangleGlowPower(&m_dynamicData, index, power);
}

void StaticTriangledMesh::SetAllTrianglesGlowPower(float power) {
    MeshBuffers::SetAllTrianglesGlowPower(&m_dynamicData, power);
}

const sm::Vec4& StaticTriangledMesh::GetTriangleColor(int index) const {
    MeshBuffers::CheckTriangle(index, m_trianglesCount);
    return m_dynamicData[3 * index].color;
}

float StaticTriangledMesh::GetTriangleGlowPower(int index) const {
    MeshBuffers::CheckTriangle(index, m_trianglesCount);
    return m_dynamicData[3 * index].glowPower;
}
