// Skinned figures on the GPU: the data's 32-byte vertices in a static buffer, one bone matrix
// per bone written by a bound animation, a colour and glow power per triangle. The material
// enables the arrays and uploads the bone matrices; Draw only sets pointers and draws.
// SkinnedMeshBase holds all of that for SkinnedMesh and SkinnedRibbonMesh.
#pragma once

#include <string>
#include <vector>

#include "gpu/meshbuffers.h"
#include "gpu/trianglerecordsmesh.h"
#include "math/mat4.h"

class Animation;
class SkinnedMeshData;

// Locations: 0 position, 1 bone indices (4 unsigned bytes read as integers), 2 weights,
// 3 colour, 4 glow power.
class SkinnedMeshBase : public TriangleRecordsMesh<ColorGlowVertex> {
public:
    ~SkinnedMeshBase() override;

    // Keeps a pointer to data, which must outlive the mesh. Whole triangles only; every
    // triangle starts with colour (0.2, 0.8, 0, 0.8) and glow power 1.2, every bone matrix as
    // the identity. Call once, before binding animations.
    void Create(const SkinnedMeshData& data);

    // Makes the animation write the bone matrices: each bone's node (by the data's bone id)
    // targets its matrix. A bone the animation lacks is fatal ("anim != NULL"). Several
    // animations may be bound; the one updated last wins. The name only labels the call.
    void BindAnimation(const std::string& name, Animation* animation);

    void Draw() override;

    int GetBonesCount() const;
    const sm::Mat4* GetBoneMatrices() const { return m_boneMatrices.data(); }

    // The vertex buffer's GL name, 0 before Create.
    unsigned GetVertexBufferId() const { return m_vertexBufferId; }

protected:
    SkinnedMeshBase() = default;

    // Uploads the dynamic records and points locations 3 and 4 at them.
    virtual void UpdateBuffers();

private:
    std::vector<sm::Mat4> m_boneMatrices;
    unsigned m_vertexBufferId = 0;
    const SkinnedMeshData* m_data = nullptr;
};

class SkinnedMesh : public SkinnedMeshBase {
public:
    SkinnedMesh() = default;
};
