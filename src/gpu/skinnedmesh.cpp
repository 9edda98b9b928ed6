#include "gpu/skinnedmesh.h"

#include "content/skinnedmeshdata.h"

SkinnedMesh::~SkinnedMesh() { Release(); }

void SkinnedMesh::Release() {
    MeshBuffers::DeleteBuffer(&m_vertexBufferId);
    MeshBuffers::DeleteBuffer(&m_dynamicBufferId);
    MeshBuffers::DeleteBuffer(&m_indexBufferId);
}

void SkinnedMesh::Create(const SkinnedMeshData& data) {
    Release();
    m_data = &data;
    m_boneMatrices.assign(static_cast<size_t>(data.GetBonesCount()), sm::Mat4());
    m_trianglesCount = MeshBuffers::TrianglesCount(data.GetVerticesCount());
    m_vertexBufferId = MeshBuffers::CreateSkinnedVertexBuffer(data, m_trianglesCount);
    m_indexBufferId = MeshBuffers::CreateIndexBuffer(m_trianglesCount);
    m_dynamicData.assign(3 * static_cast<size_t>(m_trianglesCount),
                         ColorGlowVertex{sm::Vec4(0.2f, 0.8f, 0.0f, 0.8f), 1.2f});
    m_dynamicBufferId =
        MeshBuffers::CreateDynamicBuffer(m_dynamicData.size() * sizeof(ColorGlowVertex));
}

void SkinnedMesh::BindAnimation(const std::string& /*name*/, Animation* animation) {
    ASSERT(m_data != NULL);
    MeshBuffers::BindBones(*m_data, animation, &m_boneMatrices);
}

int SkinnedMesh::GetBonesCount() const { return m_data ? m_data->GetBonesCount() : 0; }

void SkinnedMesh::UpdateBuffers() {
    MeshBuffers::UploadDynamic(m_dynamicBufferId, m_dynamicData.data(),
                               m_dynamicData.size() * sizeof(ColorGlowVertex));
    MeshBuffers::FloatAttribute(3, 4, sizeof(ColorGlowVertex), 0);
    MeshBuffers::FloatAttribute(4, 1, sizeof(ColorGlowVertex), 16);
}

void SkinnedMesh::Draw() {
    UpdateBuffers();
    MeshBuffers::SkinnedVertexAttributes(m_vertexBufferId);
    MeshBuffers::DrawTriangles(m_indexBufferId, m_trianglesCount);
}

void SkinnedMesh::SetTriangleColor(int index, const sm::Vec4& color) {
    MeshBuffers::SetTriangleColor(&m_dynamicData, index, color);
}

void SkinnedMesh::SetAllTrianglesColor(const sm::Vec4& color) {
    MeshBuffers::SetAllTrianglesColor(&m_dynamicData, color);
}

void SkinnedMesh::SetTriangleGlowPower(int index, float power) {
    MeshBuffers::SetTriangleGlowPower(&m_dynamicData, index, power);
}

void SkinnedMesh::SetAllTrianglesGlowPower(float power) {
    MeshBuffers::SetAllTrianglesGlowPower(&m_dynamicData, power);
}
