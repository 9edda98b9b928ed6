#include "gpu/uniquetriangledmesh.h"

#include "content/model.h"
#include "content/vertexinformation.h"

void UniqueTriangledMesh::Create(const MeshPart& part) {
    const int trianglesCount = MeshBuffers::TrianglesCount(part.GetVerticesCount());
    std::vector<sm::Vec3> positions(3 * static_cast<size_t>(trianglesCount));
    for (size_t i = 0; i < positions.size(); ++i)
        positions[i] = VertexInformation::GetPositionAt(part.GetVertexData(), static_cast<int>(i),
                                                        part.GetVertexType());

    m_triangleFrames.resize(static_cast<size_t>(trianglesCount));
    m_triangleCenters.resize(static_cast<size_t>(trianglesCount));
    for (int t = 0; t < trianglesCount; ++t) {
        sm::Vec3* p = &positions[3 * static_cast<size_t>(t)];
        sm::Mat4 frame = sm::Mat4::TriangleFrame(p[0], p[1], p[2]);
        m_triangleCenters[t] = sm::Vec3(frame[12], frame[13], frame[14]);
        frame[12] = frame[13] = frame[14] = 0.0f;
        m_triangleFrames[t] = frame;

        const sm::Mat4 toLocal =
            (sm::Mat4::Translation(m_triangleCenters[t]) * m_triangleFrames[t]).Inverse();
        for (int v = 0; v < 3; ++v) p[v] = toLocal.TransformPoint(p[v]);
    }
    CreateBuffers(positions);
}

const sm::Vec3& UniqueTriangledMesh::GetTriangleCenter(int index) const {
    MeshBuffers::CheckTriangle(index, static_cast<int>(m_triangleCenters.size()));
    return m_triangleCenters[index];
}

const sm::Mat4& UniqueTriangledMesh::GetTriangleFrame(int index) const {
    MeshBuffers::CheckTriangle(index, static_cast<int>(m_triangleFrames.size()));
    return m_triangleFrames[index];
}
