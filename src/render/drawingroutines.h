// Process-wide drawing state of one frame: the view-projection matrix, eye and light position
// that the demo controller stores before anything is drawn and the glow materials read. No
// instances; all starts zeroed (the matrix too, not the identity); main thread only.
#pragma once

#include "math/mat4.h"
#include "math/vec3.h"

class DrawingRoutines {
public:
    static void SetViewProjMatrix(const sm::Mat4& matrix) { ViewProj() = matrix; }
    // The value of the last set; the reference stays valid for the whole run.
    static const sm::Mat4& GetViewProjMatrix() { return ViewProj(); }
    static void SetEyePosition(const sm::Vec3& position) { m_eyePosition = position; }
    static void SetLightPosition(const sm::Vec3& position) { m_lightPosition = position; }

private:
    static sm::Mat4& ViewProj() {
        static sm::Mat4 matrix = Zero();
        return matrix;
    }
    static sm::Mat4 Zero() {
        sm::Mat4 zero;
        for (float& element : zero.m) element = 0.0f;
        return zero;
    }

    inline static sm::Vec3 m_eyePosition;
    inline static sm::Vec3 m_lightPosition;
};
