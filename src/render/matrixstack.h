// View matrices built on the fixed-function model-view stack of the current GL context, for the
// free authoring camera. The caller's matrix mode and stack are left exactly as they were.
#pragma once

#include "math/mat4.h"
#include "math/vec3.h"

// Rz(roll) · Rx(pitch) · Ry(yaw) · T(−position), angles in degrees, as GL composes it.
void BuildViewOnMatrixStack(float roll, float pitch, float yaw, const sm::Vec3& position,
                            sm::Mat4& out);
