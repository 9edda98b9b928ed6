// A mesh part broken into independent triangles, each stored centred at the origin in its own
// frame and placed by its per-vertex transform, so a ribbon can fly, turn and scale every
// triangle on its own. Until a transform is set (identity), every triangle sits at the origin.
#pragma once

#include <vector>

#include "gpu/triangledmesh.h"
#include "math/mat4.h"
#include "math/vec3.h"

class MeshPart;

// Triangle i's vertices are stored as Inverse(Translation(centre) · frame) applied to the model's
// positions, so SetTriangleTransform(i, Translation(centre) · frame) puts it back exactly where the
// model has it.
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
