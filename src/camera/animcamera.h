// A scene camera driven by a node of the scene's animation: the animation writes the node's
// world matrix into the camera every frame, and the camera looks along the node's −Y axis with
// +Z up. Its horizontal field of view is a constant or a keyed curve. Start and end times are
// those of the driving node's keys, which the scene timeline cuts on.
#pragma once

#include <memory>
#include <string>

#include "camera/icamera.h"
#include "content/itransformable.h"
#include "math/animationcurve.h"
#include "math/mat4.h"

class AnimCamera : public ITransformable, public ICamera {
public:
    explicit AnimCamera(int id);

    // ITransformable: the animation binds its node to the world matrix.
    bool IsCamera() const override { return true; }
    int GetId() const override { return m_id; }
    sm::Mat4* GetTransform() override { return &m_worldMatrix; }
    sm::Mat4* GetTransform2() override { return &m_secondMatrix; }
    sm::Mat4* GetParentTransform() override { return &m_secondMatrix; }

    // ICamera
    // Inverse(world · Rotation(π/2, −1, 0, 0) · Scale(1, −1, 1)).
    void GetViewMatrix(sm::Mat4& out) const override;
    float GetFov(float time) const override;
    void GetPosition(sm::Vec3& out) const override;
    float GetNear() const override { return m_near; }
    float GetFar() const override { return m_far; }

    // The second channel of the file, which nothing reads.
    float GetFov2(float time) const;

    float GetStartTime() const { return m_startTime; }
    float GetEndTime() const { return m_endTime; }
    void SetStartTime(float t) { m_startTime = t; }
    void SetEndTime(float t) { m_endTime = t; }

    const std::string& GetName() const { return m_name; }
    void SetName(std::string name) { m_name = std::move(name); }
    const sm::Mat4& GetWorldMatrix() const { return m_worldMatrix; }
    void SetWorldMatrix(const sm::Mat4& m) { m_worldMatrix = m; }
    void SetNearFar(float nearZ, float farZ) {
        m_near = nearZ;
        m_far = farZ;
    }
    float GetConstantFov() const { return m_fov; }
    float GetConstantFov2() const { return m_fov2; }
    void SetFov(float fov) { m_fov = fov; }
    void SetFov2(float fov2) { m_fov2 = fov2; }
    const AnimationCurve<float>* GetFovCurve() const { return m_fovCurve.get(); }
    const AnimationCurve<float>* GetFov2Curve() const { return m_fov2Curve.get(); }
    void SetFovCurve(std::unique_ptr<AnimationCurve<float>> c) { m_fovCurve = std::move(c); }
    void SetFov2Curve(std::unique_ptr<AnimationCurve<float>> c) { m_fov2Curve = std::move(c); }

private:
    int m_id;
    std::string m_name;
    sm::Mat4 m_worldMatrix;
    sm::Mat4 m_secondMatrix;
    float m_fov = 60.0f;
    float m_fov2 = 10.0f;
    float m_near = 0.1f;
    float m_far = 100.0f;
    std::unique_ptr<AnimationCurve<float>> m_fovCurve;
    std::unique_ptr<AnimationCurve<float>> m_fov2Curve;
    float m_endTime = 0.0f;
    float m_startTime = 0.0f;
};
