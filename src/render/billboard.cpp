#include "render/billboard.h"

#include <GL/glew.h>

#include "base/assert.h"

unsigned Billboard::m_vboId = 0;

namespace {

const GLfloat kVertices[8] = {-0.5f, 0.5f, -0.5f, -0.5f, 0.5f, 0.5f, 0.5f, -0.5f};

}  // namespace

bool Billboard::CreateBuffer() {
    ASSERT(m_vboId == 0);
    GLuint id = 0;
    glGenBuffers(1, &id);
    m_vboId = id;
    glBindBuffer(GL_ARRAY_BUFFER, m_vboId);
    glBufferData(GL_ARRAY_BUFFER, sizeof(kVertices), kVertices, GL_STATIC_DRAW);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    return true;
}

void Billboard::ReleaseBuffer() {
    if (m_vboId == 0) return;
    GLuint id = m_vboId;
    glDeleteBuffers(1, &id);
    m_vboId = 0;
}
