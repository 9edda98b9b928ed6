// The base of meshes whose triangles each carry their own transform, colour and glow power per
// vertex (the three vertices of a triangle always equal). It only holds and draws; a derived
// class fills the positions (UniqueTriangledMesh). Draw does not enable the attribute arrays.
#pragma once

#include <vector>

#include "gpu/meshbuffers.h"
#include "gpu/trianglerecordsmesh.h"
#include "math/vec3.h"

// Locations: 0 position, 1 colour, 2 to 5 the transform's columns, 6 glow power, arrays enabled
// by GlowTransparencySpecullar.
class TriangledMesh : public TriangleRecordsMesh<ColorTransformGlowVertex> {
public:
    ~TriangledMesh() override;

    void Draw() override;

    // The same matrix for the triangle's three vertices; only the CPU copy, as the colour and
    // glow setters. Indices outside the mesh are fatal.
    void SetTriangleTransform(int index, const sm::Mat4& transform);
    const sm::Mat4& GetTriangleTransform(int index) const;

    // The position buffer's GL name, 0 before the buffers exist.
    unsigned GetPositionBufferId() const { return m_positionBufferId; }

protected:
    TriangledMesh() = default;

    // Makes the buffers from whole triangles' positions (3 per triangle): every triangle starts
    // with colour (0.7, 0.2, 0.8, 0.8), glow power 0.5 and the identity transform.
    void CreateBuffers(const std::vector<sm::Vec3>& positions);

    // Uploads the dynamic records and points locations 1 to 6 at them.
    virtual void UpdateBuffers();

private:
    unsigned m_positionBufferId = 0;
};
