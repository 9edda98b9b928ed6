#include "gpu/skinnedribbonmesh.h"

#include <algorithm>

#include "content/ribbontriangle.h"
#include "content/skinnedmeshdata.h"

SkinnedRibbonMesh::~SkinnedRibbonMesh() { Release(); }

void SkinnedRibbonMesh::Release() {
    MeshBuffers::DeleteBuffer(&m_vertexBufferId);
    MeshBuffers::DeleteBuffer(&m_dynamicBufferId);
    MeshBuffers::DeleteBuffer(&m_indexBufferId);
}

void SkinnedRibbonMesh::Create(const SkinnedMeshData& data) {
    Release();
    m_data = &data;
    m_boneMatrices.assign(static_cast<size_t>(data.GetBonesCount()), sm::Mat4());
    m_trianglesCount = MeshBuffers::TrianglesCount(data.GetVerticesCount());

    m_transform.Create(m_trianglesCount);
    m_triangleBaseMatrices.resize(static_cast<size_t>(m_trianglesCount));
    const SkinnedVertex* vertices = data.GetVertices();
    for (int i = 0; i < m_trianglesCount; ++i) {
        const sm::Mat4 frame = sm::Mat4::TriangleFrame(
            vertices[3 * i].position, vertices[3 * i + 1].position, vertices[3 * i + 2].position);
        m_triangleBaseMatrices[i] = sm::Mat4::Scale(0.01f, 0.01f, 0.01f) * frame.Inverse();
    }

    m_vertexBufferId = MeshBuffers::CreateSkinnedVertexBuffer(data, m_trianglesCount);
    m_indexBufferId = MeshBuffers::CreateIndexBuffer(m_trianglesCount);
    m_dynamicData.assign(3 * static_cast<size_t>(m_trianglesCount),
                         ColorGlowVertex{sm::Vec4(0.2f, 0.8f, 0.0f, 0.8f), 1.2f});
    m_dynamicBufferId =
        MeshBuffers::CreateDynamicBuffer(m_dynamicData.size() * sizeof(ColorGlowVertex));
}

void SkinnedRibbonMesh::BindAnimation(const std::string& /*name*/, Animation* animation) {
    ASSERT(m_data != NULL);
    MeshBuffers::BindBones(*m_data, animation, &m_boneMatrices);
}

int SkinnedRibbonMesh::GetBonesCount() const { return m_data ? m_data->GetBonesCount() : 0; }

void SkinnedRibbonMesh::SetRibbon(const IRibbonTriangleList* ribbon) { m_ribbon = ribbon; }

void SkinnedRibbonMesh::UpdateRibbonTransforms(float time, float /*timeStep*/) {
    if (!m_ribbon) return;
    const int count = std::min(m_trianglesCount, m_ribbon->GetRibbonTrianglesCount());
    for (int i = 0; i < count; ++i) {
        const RibbonTriangle& triangle = m_ribbon->GetRibbonTriangle(i);
        if (!triangle.m_path || !triangle.m_scale) continue;
        const sm::Vec3 position = triangle.m_path->Evaluate(time);
        const float s = triangle.m_scale->Evaluate(time);
        m_transform.SetTriangleMatrix(i, sm::Mat4::Translation(position) *
                                             sm::Mat4::Scale(s, s, s) * m_triangleBaseMatrices[i]);
    }
}

const sm::Mat4& SkinnedRibbonMesh::GetTriangleBaseMatrix(int index) const {
    MeshBuffers::CheckTriangle(index, m_trianglesCount);
    return m_triangleBaseMatrices[index];
}

void SkinnedRibbonMesh::UpdateBuffers() {
    MeshBuffers::UploadDynamic(m_dynamicBufferId, m_dynamicData.data(),
                               m_dynamicData.size() * sizeof(ColorGlowVertex));
    MeshBuffers::FloatAttribute(3, 4, sizeof(ColorGlowVertex), 0);
    MeshBuffers::FloatAttribute(4, 1, sizeof(ColorGlowVertex), 16);
    m_transform.Upload(5);
}

void SkinnedRibbonMesh::Draw() {
    UpdateBuffers();
    MeshBuffers::SkinnedVertexAttributes(m_vertexBufferId);
    MeshBuffers::DrawTriangles(m_indexBufferId, m_trianglesCount);
}

void SkinnedRibbonMesh::SetTriangleColor(int index, const sm::Vec4& color) {
    MeshBuffers::SetTriangleColor(&m_dynamicData, index, color);
}

void SkinnedRibbonMesh::SetAllTrianglesColor(const sm::Vec4& color) {
    MeshBuffers::SetAllTrianglesColor(&m_dynamicData, color);
}

void SkinnedRibbonMesh::SetTriangleGlowPower(int index, float power) {
    MeshBuffers::SetTriangleGlowPower(&m_dynamicData, index, power);
}

void SkinnedRibbonMesh::SetAllTrianglesGlowPower(float power) {
    MeshBuffers::SetAllTrianglesGlowPower(&m_dynamicData, power);
}
