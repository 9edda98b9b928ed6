// A skinned figure that can dissolve into a ribbon: a SkinnedMesh's vertices, bones and records
// (SkinnedMeshBase), plus one matrix per vertex that puts each triangle where a ribbon's
// triangle flies; the program blends between the two by "u_ribbonWeight". The ribbon is read,
// not owned.
#pragma once

#include <vector>

#include "gpu/skinnedmesh.h"
#include "gpu/vertexdatabuffertransform.h"

class IRibbonTriangleList;

// Locations: 0 to 4 as SkinnedMesh, 5 to 8 the ribbon transform's columns.
class SkinnedRibbonMesh : public SkinnedMeshBase {
public:
    SkinnedRibbonMesh() = default;

    // As SkinnedMesh::Create; also gives every triangle i its base matrix
    // Scale(0.01) · Inverse(TriangleFrame(p0, p1, p2)), which takes the modelled triangle to its
    // own frame at 1 % size. The ribbon transforms start as the identity.
    void Create(const SkinnedMeshData& data);

    // The ribbon whose triangles drive this mesh's triangles; null detaches. Not owned.
    void SetRibbon(const IRibbonTriangleList* ribbon);
    const IRibbonTriangleList* GetRibbon() const { return m_ribbon; }

    // Without a ribbon, does nothing. Otherwise triangle i gets
    // Translation(path(time)) · Scale(scale(time)) · base matrix i from ribbon triangle i. The
    // mesh's triangles past the end of the ribbon's list (and any ribbon triangle without both
    // curves) keep their last transform. timeStep is not used.
    void UpdateRibbonTransforms(float time, float timeStep);

    const sm::Mat4& GetTriangleBaseMatrix(int index) const;
    const VertexDataBufferTransform& GetTransformBuffer() const { return m_transform; }

protected:
    // Uploads the dynamic records (locations 3 and 4) and the ribbon transforms (5 to 8).
    void UpdateBuffers() override;

private:
    const IRibbonTriangleList* m_ribbon = nullptr;
    VertexDataBufferTransform m_transform;
    std::vector<sm::Mat4> m_triangleBaseMatrices;
};
