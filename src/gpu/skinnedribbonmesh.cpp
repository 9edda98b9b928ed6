#include "gpu/skinnedribbonmesh.h"

#include <algorithm>

#include "content/ribbontriangle.h"
#include "content/skinnedmeshdata.h"

void SkinnedRibbonMesh::Create(const SkinnedMeshData& data) {
    SkinnedMeshBase::Create(data);
    const int trianglesCount = GetTrianglesCount();
    m_transform.Create(trianglesCount);
    m_triangleBaseMatrices.resize(static_cast<size_t>(trianglesCount));
    const SkinnedVertex* vertices = data.GetVertices();
    for (int i = 0; i < trianglesCount; ++i) {
        const sm::Mat4 frame = sm::Mat4::TriangleFrame(
            vertices[3 * i].position, vertices[3 * i + 1].position, vertices[3 * i + 2].position);
        m_triangleBaseMatrices[i] = sm::Mat4::Scale(0.01f, 0.01f, 0.01f) * frame.Inverse();
    }
}

void SkinnedRibbonMesh::SetRibbon(const IRibbonTriangleList* ribbon) { m_ribbon = ribbon; }

void SkinnedRibbonMesh::UpdateRibbonTransforms(float time, float /*timeStep*/) {
    if (!m_ribbon) return;
    const int count = std::min(GetTrianglesCount(), m_ribbon->GetRibbonTrianglesCount());
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
    MeshBuffers::CheckTriangle(index, GetTrianglesCount());
    return m_triangleBaseMatrices[index];
}

void SkinnedRibbonMesh::UpdateBuffers() {
    SkinnedMeshBase::UpdateBuffers();
    m_transform.Upload(5);
}
