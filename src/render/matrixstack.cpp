#include "render/matrixstack.h"

#include <GL/gl.h>

void BuildViewOnMatrixStack(float roll, float pitch, float yaw, const sm::Vec3& position,
                            sm::Mat4& out) {
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
    glRotatef(roll, 0.0f, 0.0f, 1.0f);
    glRotatef(pitch, 1.0f, 0.0f, 0.0f);
    glRotatef(yaw, 0.0f, 1.0f, 0.0f);
    glTranslatef(-position.x, -position.y, -position.z);
    glGetFloatv(GL_MODELVIEW_MATRIX, out.Data());

    if (push) {
        glPopMatrix();
    } else {
        glLoadMatrixf(saved);
    }
    glMatrixMode(static_cast<GLenum>(mode));
}
