#include "camera/animcamera.h"

AnimCamera::AnimCamera(int id) : m_id(id) {}

void AnimCamera::GetViewMatrix(sm::Mat4& out) const {
    // Maps the view's axes onto the node's: view +Y is node +Z, view −Z is node −Y.
    static const sm::Mat4 kAxes =
        sm::Mat4::Rotation(1.5707964f, -1.0f, 0.0f, 0.0f) * sm::Mat4::Scale(1.0f, -1.0f, 1.0f);
    out = (m_worldMatrix * kAxes).Inverse();
}

float AnimCamera::GetFov(float time) const {
    return m_fovCurve ? m_fovCurve->Evaluate(time) : m_fov;
}

float AnimCamera::GetFov2(float time) const {
    return m_fov2Curve ? m_fov2Curve->Evaluate(time) : m_fov2;
}

void AnimCamera::GetPosition(sm::Vec3& out) const {
    out = m_worldMatrix.TransformPoint(sm::Vec3(0.0f, 0.0f, 0.0f));
}
