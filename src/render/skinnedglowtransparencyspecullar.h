// The glow material of the skinned figure: the common glow set-up, the arrays of a SkinnedMesh
// or a SkinnedRibbonMesh, and the mesh's current bone matrices in "u_boneTransform". The
// programs hold at most 41 bones: a mesh with more is fatal at the first draw.
#pragma once

#include "render/baseglowtransparencyspecullar.h"

class SkinnedMesh;
class SkinnedRibbonMesh;

// Arrays: with a SkinnedMesh 0 … 4 on, 5 and 6 off; with a SkinnedRibbonMesh 0 … 8 on. The
// bone upload is skipped when the program lacks "u_boneTransform".
class SkinnedGlowTransparencySpecullar : public BaseGlowTransparencySpecullar {
public:
    // The mesh is not owned and must outlive the material.
    SkinnedGlowTransparencySpecullar(Shader* shader, SkinnedMesh* mesh);
    SkinnedGlowTransparencySpecullar(Shader* shader, SkinnedRibbonMesh* mesh);

    void ApplyRenderState() override;
    void ApplyShader() override;

private:
    SkinnedMesh* m_mesh;
    SkinnedRibbonMesh* m_meshRibbon;
};
