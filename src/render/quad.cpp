#include "render/quad.h"

#include <GL/glew.h>

#include "base/assert.h"

namespace {

const GLfloat kCorners[8] = {-1.0f, 1.0f, -1.0f, -1.0f, 1.0f, 1.0f, 1.0f, -1.0f};

}  // namespace

Quad::~Quad() {
    if (m_vboId != 0) glDeleteBuffers(1, &m_vboId);
}

bool Quad::Create() {
    ASSERT(m_vboId == 0);
    glGenBuffers(1, &m_vboId);
    glBindBuffer(GL_ARRAY_BUFFER, m_vboId);
    glBufferData(GL_ARRAY_BUFFER, sizeof(kCorners), kCorners, GL_STATIC_DRAW);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    return true;
}

void Quad::Draw() {
    glBindBuffer(GL_ARRAY_BUFFER, m_vboId);
    glVertexAttribPointer(0, 2, GL_FLOAT, GL_FALSE, 0, nullptr);
    glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
}
