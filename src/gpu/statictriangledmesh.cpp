#include "gpu/statictriangledmesh.h"

#include <GL/glew.h>

#include "content/model.h"
#include "content/vertexinformation.h"

StaticTriangledMesh::~StaticTriangledMesh() { MeshBuffers::DeleteBuffer(&m_positionBufferId); }

void StaticTriangledMesh::Create(const MeshPart& part) {
    MeshBuffers::DeleteBuffer(&m_positionBufferId);
    const int trianglesCount = MeshBuffers::TrianglesCount(part.GetVerticesCount());
    const int verticesCount = 3 * trianglesCount;

    std::vector<sm::Vec3> positions(static_cast<size_t>(verticesCount));
    for (int i = 0; i < verticesCount; ++i)
        positions[i] =
            VertexInformation::GetPositionAt(part.GetVertexData(), i, part.GetVertexType());
    m_positionBufferId =
        MeshBuffers::CreateStaticBuffer(positions.data(), positions.size() * sizeof(sm::Vec3));
    CreateRecords(trianglesCount, ColorGlowVertex{sm::Vec4(0.2f, 0.8f, 0.0f, 0.2f), 0.8f});
}

void StaticTriangledMesh::UpdateBuffers() {
    UploadRecords();
    MeshBuffers::FloatAttribute(1, 4, sizeof(ColorGlowVertex), 0);
    MeshBuffers::FloatAttribute(2, 1, sizeof(ColorGlowVertex), 16);
}

void StaticTriangledMesh::Draw() {
    UpdateBuffers();
    glBindBuffer(GL_ARRAY_BUFFER, m_positionBufferId);
    MeshBuffers::FloatAttribute(0, 3, sizeof(sm::Vec3), 0);
    DrawTriangles();
}
