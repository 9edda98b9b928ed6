// A mesh part's triangles as modelled, with a colour and a glow power per triangle: the still
// copies of ribbons and the statics. Create once, change colours and glow powers freely; each
// Draw uploads them. Draw does not enable the attribute arrays: the material does.
#pragma once

#include <vector>

#include "gpu/basemesh.h"
#include "gpu/meshbuffers.h"

class MeshPart;

// Locations: 0 position (3 floats), 1 colour (4 floats), 2 glow power (1 float), arrays
// enabled by StaticGlowTransparencySpecullar.
class StaticTriangledMesh : public BaseMesh {
public:
    StaticTriangledMesh() = default;
    ~StaticTriangledMesh() override;
    StaticTriangledMesh(const StaticTriangledMesh&) = delete;
    StaticTriangledMesh& operator=(const StaticTriangledMesh&) = delete;

    // Uploads the positions of the part's whole triangles (a remainder of one or two vertices
    // is dropped). Every triangle starts with colour (0.2, 0.8, 0, 0.2) and glow power 0.8.
    void Create(const MeshPart& part);

    void Draw() override;

    int GetTrianglesCount() const { return m_trianglesCount; }

    // Change only the CPU copy; the next Draw uploads it. Indices outside the mesh are fatal.
    void SetTriangleColor(int index, const sm::Vec4& color);
    void SetAllTrianglesColor(const sm::Vec4& color);
    void SetTriangleGlowPower(int index, float power);
    void SetAllTrianglesGlowPower(float power);
    // The CPU copy, as the next Draw uploads it. Indices outside the mesh are fatal.
    const sm::Vec4& GetTriangleColor(int index) const;
    float GetTriangleGlowPower(int index) const;

    // GL buffer names, 0 before Create.
    unsigned GetPositionBufferId() const { return m_positionBufferId; }
    unsigned GetDynamicBufferId() const { return m_dynamicBufferId; }
    unsigned GetIndexBufferId() const { return m_indexBufferId; }

protected:
    // Uploads the dynamic records and points locations 1 and 2 at them.
    virtual void UpdateBuffers();

private:
    void Release();

    unsigned m_positionBufferId = 0;
    unsigned m_dynamicBufferId = 0;
    unsigned m_indexBufferId = 0;
    int m_trianglesCount = 0;
    std::vector<ColorGlowVertex> m_dynamicData;  // three equal records per triangle
};
