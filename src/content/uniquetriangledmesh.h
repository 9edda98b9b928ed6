// A mesh part broken into independent triangles: each is stored centred at the origin in its
// own frame (TriangleFrame without translation) and placed by its per-vertex transform, so a
// ribbon can fly, turn and scale every triangle on its own. Translation(centre) · frame puts a
// triangle back exactly where the model has it; until a transform is set (identity), every
// triangle sits at the origin.
#pragma once

#include <vector>

#include "content/triangledmesh.h"
#include "math/mat4.h"
#include "math/vec3.h"

class MeshPart;

class UniqueTriangledMesh : public TriangledMesh {
public:
    UniqueTriangledMesh() = default;

    // Whole triangles of the part (a remainder of one or two vertices is dropped).
    void Create(const MeshPart& part);

    // The triangle's centroid in the model and its rotation frame (translation zero), as
    // computed by Create. Indices outside the mesh are fatal.
    const sm::Vec3& GetTriangleCenter(int index) const;
    const sm::Mat4& GetTriangleFrame(int index) const;

private:
    std::vector<sm::Mat4> m_triangleFrames;
    std::vector<sm::Vec3> m_triangleCenters;
};
