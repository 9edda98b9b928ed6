// The flying triangles of one mesh of a ribbon: Init breaks a mesh part into independent
// triangles on the GPU and gives each its own flight (path, scale curve, spin) from a curve
// builder; Update moves every triangle to where its flight puts it at a time. It draws nothing
// itself (a Renderable of GetMesh() does) and decides no visibility.
#pragma once

#include <memory>
#include <vector>

#include "content/ribbontriangle.h"
#include "scene/trianglemodificator.h"

class IRibbonCurveBuilder;
class MeshPart;
class UniqueTriangledMesh;
struct PathData;

class TrianglesRibbon : public IModifiableRibbon {
public:
    TrianglesRibbon();
    ~TrianglesRibbon() override;
    TrianglesRibbon(const TrianglesRibbon&) = delete;
    TrianglesRibbon& operator=(const TrianglesRibbon&) = delete;

    // Call once. Creates the GPU mesh from the part's whole triangles, then for each triangle in
    // index order asks the builder for its path (from its centroid and unit face normal) and
    // its scale curve, and draws its spin axis (RandomUnitVector) and spin speed
    // (RandomRange(1, 10)), in that order: the random sequence is part of the contract. A null
    // builder is fatal.
    void Init(IRibbonCurveBuilder* ribbinCurveBuilder, const MeshPart& meshPart,
              const PathData* path, int halfKeys, float spread, float triangleScale, float delay);

    // Places every triangle at time: W = Translation(path(t)) · frame · Rotation((1 − s) · spin,
    // axis) · Scale(s), with s = scale(t) and spin = (1 − cos(2 · 3.1415 · u)) / 2 · speed, u the
    // unclamped position of t along the triangle's path (0 for a path of zero length). Then the
    // modificator, if any, sees the triangle. dt is not used. Allocates nothing.
    virtual void Update(float time, float dt);

    // Not owned; null removes it.
    void SetModificator(ITriangleModificator* modificator) { m_modificator = modificator; }
    ITriangleModificator* GetModificator() const { return m_modificator; }

    // Null before Init.
    UniqueTriangledMesh* GetMesh() const { return m_mesh.get(); }
    int GetTrianglesCount() const { return m_trianglesCount; }
    // 0.4 until Init stores the path's triangle scale.
    float GetTriangleScale() const { return m_triangleScale; }
    // Triangle 0 ... count - 1; any other index is fatal.
    RibbonTriangle& GetTriangle(int index);

    // IModifiableRibbon.
    int GetRibbonTrianglesCount() const override { return m_trianglesCount; }
    const RibbonTriangle& GetRibbonTriangle(int index) const override;
    void SetTriangleGlowPower(int index, float power) override;

protected:
    // Called for each triangle after it has been placed and modified; does nothing here.
    virtual void OnTriangleUpdated(float time, int index);

private:
    std::unique_ptr<UniqueTriangledMesh> m_mesh;
    int m_trianglesCount = 0;
    std::vector<RibbonTriangle> m_triangles;
    ITriangleModificator* m_modificator = nullptr;
    float m_triangleScale = 0.4f;
};
