// A mesh part's triangles as modelled, with a colour and a glow power per triangle: the still
// copies of ribbons and the statics. Create once, change colours and glow powers freely; each
// Draw uploads them. Draw does not enable the attribute arrays: the material does.
#pragma once

#include <vector>

#include "gpu/meshbuffers.h"
#include "gpu/trianglerecordsmesh.h"

class MeshPart;

// Locations: 0 position (3 floats), 1 colour (4 floats), 2 glow power (1 float), arrays
// enabled by StaticGlowTransparencySpecullar.
class StaticTriangledMesh : public TriangleRecordsMesh<ColorGlowVertex> {
public:
    StaticTriangledMesh() = default;
    ~StaticTriangledMesh() override;

    // Uploads the positions of the part's whole triangles (a remainder of one or two vertices
    // is dropped). Every triangle starts with colour (0.2, 0.8, 0, 0.2) and glow power 0.8.
    void Create(const MeshPart& part);

    void Draw() override;

    // The position buffer's GL name, 0 before Create.
    unsigned GetPositionBufferId() const { return m_positionBufferId; }

protected:
    // Uploads the dynamic records and points locations 1 and 2 at them.
    virtual void UpdateBuffers();

private:
    unsigned m_positionBufferId = 0;
};
