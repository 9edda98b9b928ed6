#include "render/skinnedglowtransparencyspecullar.h"

#include <GL/glew.h>

#include "base/assert.h"
#include "gpu/shader.h"
#include "gpu/skinnedmesh.h"
#include "gpu/skinnedribbonmesh.h"

SkinnedGlowTransparencySpecullar::SkinnedGlowTransparencySpecullar(Shader* shader,
                                                                   SkinnedMesh* mesh)
    : BaseGlowTransparencySpecullar(shader), m_mesh(mesh), m_meshRibbon(nullptr) {}

SkinnedGlowTransparencySpecullar::SkinnedGlowTransparencySpecullar(Shader* shader,
                                                                   SkinnedRibbonMesh* mesh)
    : BaseGlowTransparencySpecullar(shader), m_mesh(nullptr), m_meshRibbon(mesh) {}

void SkinnedGlowTransparencySpecullar::ApplyRenderState() {
    BaseGlowTransparencySpecullar::ApplyRenderState();
    if (m_mesh) {
        for (GLuint location = 0; location <= 4; ++location) glEnableVertexAttribArray(location);
        glDisableVertexAttribArray(5);
        glDisableVertexAttribArray(6);
    }
    if (m_meshRibbon) {
        for (GLuint location = 0; location <= 8; ++location) glEnableVertexAttribArray(location);
    }
}

void SkinnedGlowTransparencySpecullar::ApplyShader() {
    BaseGlowTransparencySpecullar::ApplyShader();
    // A skeleton without bones has nothing to upload.
    if (m_mesh) {
        ASSERT(m_mesh->GetBonesCount() <= 41);
        if (m_mesh->GetBonesCount() > 0)
            m_shader->SetMatrix4Array("u_boneTransform", m_mesh->GetBonesCount(),
                                      m_mesh->GetBoneMatrices());
    }
    if (m_meshRibbon) {
        ASSERT(m_meshRibbon->GetBonesCount() <= 41);
        if (m_meshRibbon->GetBonesCount() > 0)
            m_shader->SetMatrix4Array("u_boneTransform", m_meshRibbon->GetBonesCount(),
                                      m_meshRibbon->GetBoneMatrices());
    }
}
