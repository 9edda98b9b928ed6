#include "render/baseglowtransparencyspecullar.h"

#include <GL/glew.h>

#include "gpu/shader.h"
#include "render/drawingroutines.h"

BaseGlowTransparencySpecullar::BaseGlowTransparencySpecullar(Shader* shader)
    : m_shader(shader), m_polygonMode(GL_FILL) {}

bool BaseGlowTransparencySpecullar::IsTransparent() const { return true; }

void BaseGlowTransparencySpecullar::SetSolid(bool solid) {
    m_polygonMode = solid ? GL_FILL : GL_LINE;
}

void BaseGlowTransparencySpecullar::ApplyRenderState() {
    glPolygonMode(GL_FRONT_AND_BACK, m_polygonMode);
    glEnable(GL_DEPTH_TEST);
    glDisable(GL_CULL_FACE);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glDepthMask(GL_FALSE);
}

void BaseGlowTransparencySpecullar::ApplyShader() {
    m_shader->Use();
    const sm::Mat4& viewProj = DrawingRoutines::GetViewProjMatrix();
    if (m_worldMatrix)
        m_shader->SetMatrix4("u_viewProjMatrix", viewProj * *m_worldMatrix);
    else
        m_shader->SetMatrix4("u_viewProjMatrix", viewProj);
    m_shader->SetFloat("u_glowMultiplier", m_glowMultiplier);
}

void GlowTransparencySpecullar::ApplyRenderState() {
    BaseGlowTransparencySpecullar::ApplyRenderState();
    for (GLuint location = 0; location <= 6; ++location) glEnableVertexAttribArray(location);
}

void StaticGlowTransparencySpecullar::ApplyRenderState() {
    BaseGlowTransparencySpecullar::ApplyRenderState();
    for (GLuint location = 0; location <= 2; ++location) glEnableVertexAttribArray(location);
    for (GLuint location = 3; location <= 6; ++location) glDisableVertexAttribArray(location);
}
