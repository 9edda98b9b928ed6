// What a frame is seen through: the controller builds the view from GetViewMatrix and the
// projection from GetFov, GetNear and GetFar at the frame's time. Implemented by the animated
// scene cameras and by the free authoring camera (ManCam); the interface holds no state.
#pragma once

#include "math/mat4.h"
#include "math/vec3.h"

class ICamera {
public:
    // World to view: the camera looks down its −Z with +Y up.
    virtual void GetViewMatrix(sm::Mat4& out) const = 0;
    // Horizontal field of view in radians at a music time.
    virtual float GetFov(float time) const = 0;
    // Eye position in world space.
    virtual void GetPosition(sm::Vec3& out) const = 0;
    virtual float GetNear() const { return 0.1f; }
    virtual float GetFar() const { return 100.0f; }

    virtual ~ICamera() = default;
};
