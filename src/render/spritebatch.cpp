#include "render/spritebatch.h"

#include <GL/glew.h>

#include <cstddef>

#include "base/assert.h"
#include "gpu/shader.h"
#include "gpu/texture.h"

namespace {

// Texture coordinates in corner order: top left, bottom left, top right, bottom right.
const GLfloat kCoords[8] = {0, 1, 0, 0, 1, 1, 1, 0};

}  // namespace

SpriteBatch::SpriteBatch(Shader* shader, const sm::Mat4& projection)
    : m_shader(shader), m_projection(projection) {
    ASSERT(m_shader != NULL);
    m_shader->BindAttribLocation(0, "a_position");
    m_shader->BindAttribLocation(1, "a_coords");
    m_shader->Link();
}

void SpriteBatch::Begin() {
    m_shader->Use();
    m_shader->SetMatrix4("u_mvp", m_projection);
    m_shader->SetVec4("u_color", 1, 1, 1, 1);
    m_depthTestWasOn = glIsEnabled(GL_DEPTH_TEST) == GL_TRUE;
    m_blendWasOn = glIsEnabled(GL_BLEND) == GL_TRUE;
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    if (m_depthTestWasOn) glDisable(GL_DEPTH_TEST);
    if (!m_blendWasOn) glEnable(GL_BLEND);
    glEnableVertexAttribArray(0);
    glEnableVertexAttribArray(1);
    for (GLuint i = 2; i <= 5; ++i) glDisableVertexAttribArray(i);
}

void SpriteBatch::DrawSprite(const Texture* texture, int x, int y, int width, int height) {
    ASSERT(texture != nullptr);
    const GLfloat left = static_cast<GLfloat>(x);
    const GLfloat bottom = static_cast<GLfloat>(y);
    const GLfloat right = static_cast<GLfloat>(x + width);
    const GLfloat top = static_cast<GLfloat>(y + height);
    const GLfloat corners[8] = {left, top, left, bottom, right, top, right, bottom};

    m_shader->SetTexture("u_tex", 0, texture->GetId());
    m_shader->SetVec4("u_color", 1, 1, 1, 1);
    // With a buffer bound the pointers below would be read as offsets into it.
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    glVertexAttribPointer(0, 2, GL_FLOAT, GL_FALSE, 0, corners);
    glVertexAttribPointer(1, 2, GL_FLOAT, GL_FALSE, 0, kCoords);
    glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
}

void SpriteBatch::End() {
    if (m_depthTestWasOn)
        glEnable(GL_DEPTH_TEST);
    else
        glDisable(GL_DEPTH_TEST);
    if (m_blendWasOn)
        glEnable(GL_BLEND);
    else
        glDisable(GL_BLEND);
    glDisableVertexAttribArray(0);
    glDisableVertexAttribArray(1);
}
