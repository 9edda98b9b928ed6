// A skinned figure that can dissolve into a ribbon: a SkinnedMesh's vertices, bones and records,
// plus one matrix per vertex that puts each triangle where a ribbon's triangle flies; the
// program blends between the two by "u_ribbonWeight". The ribbon is read, not owned.
#pragma once

#include <string>
#include <vector>

#include "gpu/basemesh.h"
#include "gpu/meshbuffers.h"
#include "gpu/vertexdatabuffertransform.h"

class Animation;
class IRibbonTriangleList;
class SkinnedMeshData;

// Locations: 0 to 4 as SkinnedMesh, 5 to 8 the ribbon transform's columns.
class SkinnedRibbonMesh : public BaseMesh {
public:
    SkinnedRibbonMesh() = default;
    ~SkinnedRibbonMesh() override;
    SkinnedRibbonMesh(const SkinnedRibbonMesh&) = delete;
    SkinnedRibbonMesh& operator=(const SkinnedRibbonMesh&) = delete;

    // As SkinnedMesh::Create; also gives every triangle i its base matrix
    // Scale(0.01) · Inverse(TriangleFrame(p0, p1, p2)), which takes the modelled triangle to its
    // own frame at 1 % size. The ribbon transforms start as the identity.
    void Create(const SkinnedMeshData& data);

    // As SkinnedMesh::BindAnimation.
    void BindAnimation(const std::string& name, Animation* animation);

    // The ribbon whose triangles drive this mesh's triangles; null detaches. Not owned.
    void SetRibbon(const IRibbonTriangleList* ribbon);
    const IRibbonTriangleList* GetRibbon() const { return m_ribbon; }

    // Without a ribbon, does nothing. Otherwise triangle i gets
    // Translation(path(time)) · Scale(scale(time)) · base matrix i from ribbon triangle i. The
    // mesh's triangles past the end of the ribbon's list (and any ribbon triangle without both
    // curves) keep their last transform. timeStep is not used.
    void UpdateRibbonTransforms(float time, float timeStep);

    void Draw() override;

    int GetTrianglesCount() const { return m_trianglesCount; }
    int GetBonesCount() const;
    const sm::Mat4* GetBoneMatrices() const { return m_boneMatrices.data(); }
    const sm::Mat4& GetTriangleBaseMatrix(int index) const;
    const VertexDataBufferTransform& GetTransformBuffer() const { return m_transform; }

    // Change only the CPU copy; the next Draw uploads it. Indices outside the mesh are fatal.
    void SetTriangleColor(int index, const sm::Vec4& color);
    void SetAllTrianglesColor(const sm::Vec4& color);
    void SetTriangleGlowPower(int index, float power);
    void SetAllTrianglesGlowPower(float power);

    // GL buffer names, 0 before Create.
    unsigned GetVertexBufferId() const { return m_vertexBufferId; }
    unsigned GetDynamicBufferId() const { return m_dynamicBufferId; }
    unsigned GetIndexBufferId() const { return m_indexBufferId; }

protected:
    // Uploads the dynamic records (locations 3 and 4) and the ribbon transforms (5 to 8).
    virtual void UpdateBuffers();

private:
    void Release();

    std::vector<sm::Mat4> m_boneMatrices;
    const IRibbonTriangleList* m_ribbon = nullptr;
    unsigned m_vertexBufferId = 0;
    unsigned m_dynamicBufferId = 0;
    unsigned m_indexBufferId = 0;
    VertexDataBufferTransform m_transform;
    int m_trianglesCount = 0;
    std::vector<ColorGlowVertex> m_dynamicData;
    std::vector<sm::Mat4> m_triangleBaseMatrices;
    const SkinnedMeshData* m_data = nullptr;
};
