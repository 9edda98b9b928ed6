#include "gpu/skinnedmesh.h"

#include "content/skinnedmeshdata.h"

SkinnedMeshBase::~SkinnedMeshBase() { MeshBuffers::DeleteBuffer(&m_vertexBufferId); }

void SkinnedMeshBase::Create(const SkinnedMeshData& data) {
    MeshBuffers::DeleteBuffer(&m_vertexBufferId);
    m_data = &data;
    m_boneMatrices.assign(static_cast<size_t>(data.GetBonesCount()), sm::Mat4());
    const int trianglesCount = MeshBuffers::TrianglesCount(data.GetVerticesCount());
    m_vertexBufferId = MeshBuffers::CreateSkinnedVertexBuffer(data, trianglesCount);
    CreateRecords(trianglesCount, ColorGlowVertex{sm::Vec4(0.2f, 0.8f, 0.0f, 0.8f), 1.2f});
}

void SkinnedMeshBase::BindAnimation(const std::string& /*name*/, Animation* animation) {
    ASSERT(m_data != NULL);
    MeshBuffers::BindBones(*m_data, animation, &m_boneMatrices);
}

int SkinnedMeshBase::GetBonesCount() const { return m_data ? m_data->GetBonesCount() : 0; }

void SkinnedMeshBase::UpdateBuffers() {
    UploadRecords();
    MeshBuffers::FloatAttribute(3, 4, sizeof(ColorGlowVertex), 0);
    MeshBuffers::FloatAttribute(4, 1, sizeof(ColorGlowVertex), 16);
}

void SkinnedMeshBase::Draw() {
    UpdateBuffers();
    MeshBuffers::SkinnedVertexAttributes(m_vertexBufferId);
    DrawTriangles();
}
