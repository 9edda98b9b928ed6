// Runs on a virtual display with Mesa: the free camera builds its view on the GL matrix stack.
#include "demo/mancam.h"

#include <gtest/gtest.h>

#include <GL/gl.h>

#include <cmath>

#include "platform/video.h"
#include "window/openglwindow.h"

namespace {

constexpr float kDegrees = 3.14159265358979f / 180.0f;

class ManCamGl : public testing::Test {
protected:
    void SetUp() override {
        PlatformDisplayMode mode;
        ASSERT_TRUE(PlatformGetCurrentDisplayMode(&mode));
        ASSERT_TRUE(
            m_window.Create(nullptr, "mancam", mode.width, mode.height, 32, 0, true, true, nullptr))
            << m_window.LastError();
        ASSERT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    }
    void TearDown() override { m_window.Destroy(); }

    OpenglWindow m_window;
};

sm::Mat4 Expected(const ManCam& c) {
    const sm::Vec3 p = c.GetPosition();
    return sm::Mat4::Rotation(c.GetRoll() * kDegrees, 0, 0, 1) *
           sm::Mat4::Rotation(c.GetPitch() * kDegrees, 1, 0, 0) *
           sm::Mat4::Rotation(c.GetYaw() * kDegrees, 0, 1, 0) * sm::Mat4::Translation(-p);
}

void ExpectNear(const sm::Mat4& a, const sm::Mat4& b, float tolerance) {
    for (int i = 0; i < 16; ++i) EXPECT_NEAR(a[i], b[i], tolerance) << "element " << i;
}

sm::Mat4 TopModelView() {
    sm::Mat4 m;
    glGetFloatv(GL_MODELVIEW_MATRIX, m.Data());
    return m;
}

GLint Integer(GLenum name) {
    GLint value = 0;
    glGetIntegerv(name, &value);
    return value;
}

TEST_F(ManCamGl, FreshCameraTranslatesByMinusTwentyAndLeavesTheStackAlone) {
    // A caller mid-frame: projection mode current, a matrix of its own on the model-view stack.
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(1, 2, 3);
    glPushMatrix();
    glRotatef(30, 1, 1, 0);
    const sm::Mat4 callerTop = TopModelView();
    glMatrixMode(GL_PROJECTION);

    ManCam camera;
    sm::Mat4 view;
    camera.GetViewMatrix(view);
    sm::Mat4 expected = sm::Mat4::Translation(0, 0, -20);
    for (int i = 0; i < 16; ++i) EXPECT_EQ(view[i], expected[i]) << "element " << i;

    EXPECT_EQ(Integer(GL_MATRIX_MODE), GL_PROJECTION);
    EXPECT_EQ(Integer(GL_MODELVIEW_STACK_DEPTH), 2);
    glMatrixMode(GL_MODELVIEW);
    ExpectNear(TopModelView(), callerTop, 0);
    glPopMatrix();
    ExpectNear(TopModelView(), sm::Mat4::Translation(1, 2, 3), 0);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(ManCamGl, RollPitchYawThenTheNegatedPosition) {
    struct Pose {
        sm::Vec3 position;
        float yaw, pitch, roll;
    };
    const Pose poses[] = {
        {{0, 0, 0}, 90, 0, 0},    {{0, 0, 0}, 0, 90, 0},          {{0, 0, 0}, 0, 0, 90},
        {{1, 2, 3}, 30, -45, 10}, {{-5, 0.5f, 40}, 200, 15, -80}, {{0, 10, 0}, 0, 90, 0},
    };
    glMatrixMode(GL_TEXTURE);
    for (const Pose& p : poses) {
        SCOPED_TRACE(testing::Message() << p.yaw << " " << p.pitch << " " << p.roll);
        ManCam camera;
        camera.SetPosition(p.position);
        camera.SetYaw(p.yaw);
        camera.SetPitch(p.pitch);
        camera.SetRoll(p.roll);
        sm::Mat4 view;
        camera.GetViewMatrix(view);
        ExpectNear(view, Expected(camera), 1e-4f * (1 + p.position.Length()));
        // the eye lands at the view's origin
        const sm::Vec3 eye = view.TransformPoint(p.position);
        EXPECT_NEAR(eye.Length(), 0, 1e-4f * (1 + p.position.Length()));
    }
    EXPECT_EQ(Integer(GL_MATRIX_MODE), GL_TEXTURE);
    EXPECT_EQ(Integer(GL_MODELVIEW_STACK_DEPTH), 1);
}

TEST_F(ManCamGl, AFullStackKeepsTheCallersMatrices) {
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    const GLint maxDepth = Integer(GL_MAX_MODELVIEW_STACK_DEPTH);
    for (GLint depth = 1; depth < maxDepth; ++depth) {
        glPushMatrix();
        glTranslatef(1, 0, 0);
    }
    ASSERT_EQ(Integer(GL_MODELVIEW_STACK_DEPTH), maxDepth);
    const sm::Mat4 top = TopModelView();

    ManCam camera;
    camera.SetYaw(45);
    sm::Mat4 view;
    camera.GetViewMatrix(view);
    ExpectNear(view, Expected(camera), 1e-4f * 21);
    EXPECT_EQ(Integer(GL_MODELVIEW_STACK_DEPTH), maxDepth);
    ExpectNear(TopModelView(), top, 0);
    glPopMatrix();
    ExpectNear(TopModelView(), sm::Mat4::Translation(static_cast<float>(maxDepth - 2), 0, 0),
               1e-5f);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

}  // namespace
