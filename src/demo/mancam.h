// The free authoring camera: a position and three angles in degrees, flown by hand and saved
// to or loaded from a bookmark file (camerabookmark.h). Its view matrix is built on the GL
// fixed-function model-view stack, so GetViewMatrix needs a current GL context; it leaves the
// matrix mode and the model-view stack as it found them. The show itself never looks through it.
#pragma once

#include "camera/icamera.h"

class ManCam : public ICamera {
public:
    ManCam() = default;

    // Rz(roll) · Rx(pitch) · Ry(yaw) · T(−position).
    void GetViewMatrix(sm::Mat4& out) const override;
    // π/3 at every time.
    float GetFov(float time) const override;
    void GetPosition(sm::Vec3& out) const override { out = m_position; }
    float GetNear() const override { return 0.1f; }
    float GetFar() const override { return 1000.0f; }

    const sm::Vec3& GetPosition() const { return m_position; }
    void SetPosition(const sm::Vec3& position) { m_position = position; }
    // Degrees about y, x and z.
    float GetYaw() const { return m_yaw; }
    void SetYaw(float yaw) { m_yaw = yaw; }
    float GetPitch() const { return m_pitch; }
    void SetPitch(float pitch) { m_pitch = pitch; }
    float GetRoll() const { return m_roll; }
    void SetRoll(float roll) { m_roll = roll; }

private:
    float m_roll = 0.0f;
    float m_yaw = 0.0f;
    float m_pitch = 0.0f;
    sm::Vec3 m_position{0.0f, 0.0f, 20.0f};
};
