// The base of meshes whose triangles each carry their own transform, colour and glow power per
// vertex (the three vertices of a triangle always equal). It only holds and draws; a derived
// class fills the positions (UniqueTriangledMesh). Draw does not enable the attribute arrays.
#pragma once

#include <vector>

#include "gpu/basemesh.h"
#include "gpu/meshbuffers.h"
#include "math/vec3.h"

// Locations: 0 position, 1 colour, 2 to 5 the transform's columns, 6 glow power, arrays enabled
// by GlowTransparencySpecullar.
class TriangledMesh : public BaseMesh {
public:
    ~TriangledMesh() override;
    TriangledMesh(const TriangledMesh&) = delete;
    TriangledMesh& operator=(const TriangledMesh&) = delete;

    void Draw() override;

    int GetTrianglesCount() const { return m_trianglesCount; }

    // Change only the CPU copy; the next Draw uploads it. Indices outside the mesh are fatal.
    void SetTriangleColor(int index, const sm::Vec4& color);
    void SetAllTrianglesColor(const sm::Vec4& color);
    void SetTriangleGlowPower(int index, float power);
    void SetAllTrianglesGlowPower(float power);
    // The same matrix for the triangle's three vertices.
    void SetTriangleTransform(int index, const sm::Mat4& transform);

    // The CPU copy, as the next Draw uploads it. Indices outside the mesh are fatal.
    const sm::Vec4& GetTriangleColor(int index) const;
    float GetTriangleGlowPower(int index) const;
    const sm::Mat4& GetTriangleTransform(int index) const;

    // GL buffer names, 0 before the buffers exist.
    unsigned GetPositionBufferId() const { return m_positionBufferId; }
    unsigned GetDynamicBufferId() const { return m_dynamicBufferId; }
    unsigned GetIndexBufferId() const { return m_indexBufferId; }

protected:
    TriangledMesh() = default;

    // Makes the buffers from whole triangles' positions (3 per triangle): every triangle starts
    // with colour (0.7, 0.2, 0.8, 0.8), glow power 0.5 and the identity transform.
    void CreateBuffers(const std::vector<sm::Vec3>& positions);

    // Uploads the dynamic records and points locations 1 to 6 at them.
    virtual void UpdateBuffers();

private:
    void Release();

    unsigned m_positionBufferId = 0;
    unsigned m_dynamicBufferId = 0;
    unsigned m_indexBufferId = 0;
    int m_trianglesCount = 0;
    std::vector<ColorTransformGlowVertex> m_dynamicData;
};
