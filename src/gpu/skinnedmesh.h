// A skinned figure on the GPU: the data's 32-byte vertices in a static buffer, one bone matrix
// per bone written by a bound animation, a colour and glow power per triangle. The material
// enables the arrays and uploads the bone matrices; Draw only sets pointers and draws.
#pragma once

#include <string>
#include <vector>

#include "gpu/basemesh.h"
#include "gpu/meshbuffers.h"

class Animation;
// Locations: 0 position, 1 bone indices (4 unsigned bytes read as integers), 2 weights,
// 3 colour, 4 glow power.
class SkinnedMeshData;

class SkinnedMesh : public BaseMesh {
public:
    SkinnedMesh() = default;
    ~SkinnedMesh() override;
    SkinnedMesh(const SkinnedMesh&) = delete;
    SkinnedMesh& operator=(const SkinnedMesh&) = delete;

    // Keeps a pointer to data, which must outlive the mesh. Whole triangles only; every
    // triangle starts with colour (0.2, 0.8, 0, 0.8) and glow power 1.2, every bone matrix as
    // the identity. Call once, before binding animations.
    void Create(const SkinnedMeshData& data);

    // Makes the animation write the bone matrices: each bone's node (by the data's bone id)
    // targets its matrix. A bone the animation lacks is fatal ("anim != NULL"). Several
    // animations may be bound; the one updated last wins. The name only labels the call.
    void BindAnimation(const std::string& name, Animation* animation);

    void Draw() override;

    int GetTrianglesCount() const { return m_trianglesCount; }
    int GetBonesCount() const;
    const sm::Mat4* GetBoneMatrices() const { return m_boneMatrices.data(); }

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
    // Uploads the dynamic records and points locations 3 and 4 at them.
    virtual void UpdateBuffers();

private:
    void Release();

    std::vector<sm::Mat4> m_boneMatrices;
    unsigned m_vertexBufferId = 0;
    unsigned m_dynamicBufferId = 0;
    unsigned m_indexBufferId = 0;
    int m_trianglesCount = 0;
    std::vector<ColorGlowVertex> m_dynamicData;
    const SkinnedMeshData* m_data = nullptr;
};
