#include "camera/mancam.h"

#include <GL/gl.h>

void ManCam::GetViewMatrix(sm::Mat4& out) const {
    GLint mode = GL_MODELVIEW;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    glMatrixMode(GL_MODELVIEW);

    // A full stack would refuse the push, and the pop would then take the caller's matrix:
    // in that case the top matrix is kept aside and loaded back instead.
    GLint depth = 0;
    GLint maxDepth = 0;
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth);
    glGetIntegerv(GL_MAX_MODELVIEW_STACK_DEPTH, &maxDepth);
    const bool push = depth < maxDepth;
    GLfloat saved[16];
    if (push) {
        glPushMatrix();
    } else {
        glGetFloatv(GL_MODELVIEW_MATRIX, saved);
    }

    glLoadIdentity();
    glRotatef(m_roll, 0.0f, 0.0f, 1.0f);
    glRotatef(m_pitch, 1.0f, 0.0f, 0.0f);
    glRotatef(m_yaw, 0.0f, 1.0f, 0.0f);
    glTranslatef(-m_position.x, -m_position.y, -m_position.z);
    glGetFloatv(GL_MODELVIEW_MATRIX, out.Data());

    if (push) {
        glPopMatrix();
    } else {
        glLoadMatrixf(saved);
    }
    glMatrixMode(static_cast<GLenum>(mode));
}

float ManCam::GetFov(float) const { return 1.0471976f; }
