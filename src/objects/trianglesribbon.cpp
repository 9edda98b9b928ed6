#include "objects/trianglesribbon.h"

#include <cstddef>

#include "base/assert.h"
#include "content/model.h"
#include "gpu/uniquetriangledmesh.h"
#include "math/mat4.h"
#include "math/random.h"
#include "math/scalar.h"
#include "scene/ribboncurvebuilder.h"

namespace {

// Not pi: the spin's period along the path is this constant's, as the show has always had it.
constexpr float kHalfTurn = 3.1415f;

}  // namespace

TrianglesRibbon::TrianglesRibbon() = default;

TrianglesRibbon::~TrianglesRibbon() = default;

void TrianglesRibbon::Init(IRibbonCurveBuilder* ribbinCurveBuilder, const MeshPart& meshPart,
                           const PathData* path, int halfKeys, float spread, float triangleScale,
                           float delay) {
    ASSERT(ribbinCurveBuilder != NULL);
    ASSERT(path != NULL);
    m_triangleScale = triangleScale;
    m_mesh = std::make_unique<UniqueTriangledMesh>();
    m_mesh->Create(meshPart);
    m_trianglesCount = m_mesh->GetTrianglesCount();
    m_triangles.clear();
    m_triangles.resize(static_cast<size_t>(m_trianglesCount));
    for (int i = 0; i < m_trianglesCount; ++i) {
        RibbonTriangle& triangle = m_triangles[static_cast<size_t>(i)];
        const sm::Vec3 normal =
            m_mesh->GetTriangleFrame(i).TransformPoint(sm::Vec3(0.0f, 0.0f, 1.0f)).GetNormalized();
        const sm::Vec3& centre = m_mesh->GetTriangleCenter(i);
        triangle.m_path =
            ribbinCurveBuilder->BuildPath(centre, normal, *path, halfKeys, spread, delay);
        triangle.m_scale = ribbinCurveBuilder->BuildScale(*triangle.m_path, triangleScale);
        triangle.m_spinAxis = sm::RandomUnitVector();
        triangle.m_spin = 0.0f;
        triangle.m_spinSpeed = sm::RandomRange(1.0f, 10.0f);
    }
}

void TrianglesRibbon::Update(float time, float /*dt*/) {
    for (int i = 0; i < m_trianglesCount; ++i) {
        RibbonTriangle& triangle = m_triangles[static_cast<size_t>(i)];
        const sm::Vec3 position = triangle.m_path->Evaluate(time);
        const float s = triangle.m_scale->Evaluate(time);

        const float start = triangle.m_path->GetStartTime();
        const float length = triangle.m_path->GetEndTime() - start;
        // A path whose keys share one time has no position along it: no spin rather than NaN.
        const float u = length > 0.0f ? (time - start) / length : 0.0f;
        triangle.m_spin = (sm::Cos(u * kHalfTurn * 2.0f) - 1.0f) * -0.5f;
        triangle.m_spin = triangle.m_spin * triangle.m_spinSpeed;

        // Translation(p) · frame is the frame with p as its translation (the frame has none);
        // Rotation · Scale is the rotation with its three axes scaled.
        sm::Mat4 placed = m_mesh->GetTriangleFrame(i);
        placed[12] = position.x;
        placed[13] = position.y;
        placed[14] = position.z;
        sm::Mat4 turned = sm::Mat4::Rotation((1.0f - s) * triangle.m_spin, triangle.m_spinAxis);
        for (int k = 0; k < 12; ++k) turned[k] *= s;
        m_mesh->SetTriangleTransform(i, placed * turned);

        if (m_modificator) m_modificator->Modify(time, this, i);
        OnTriangleUpdated(time, i);
    }
}

void TrianglesRibbon::OnTriangleUpdated(float /*time*/, int /*index*/) {}

RibbonTriangle& TrianglesRibbon::GetTriangle(int index) {
    ASSERT(index >= 0 && index < m_trianglesCount);
    return m_triangles[static_cast<size_t>(index)];
}

const RibbonTriangle& TrianglesRibbon::GetRibbonTriangle(int index) const {
    ASSERT(index >= 0 && index < m_trianglesCount);
    return m_triangles[static_cast<size_t>(index)];
}

void TrianglesRibbon::SetTriangleGlowPower(int index, float power) {
    ASSERT(m_mesh != NULL);
    m_mesh->SetTriangleGlowPower(index, power);
}
