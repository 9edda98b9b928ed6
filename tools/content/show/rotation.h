// Rotations as the builder thinks of them: textbook quaternions (the Hamilton product, not the
// engine's reversed operator*), built from angles or from a rotation matrix, in double where the
// cameras need the precision.
#pragma once

#include "math/mat4.h"
#include "math/quat.h"

namespace show {

// The rotation by angle (radians) about the unit axis.
sm::Quat AxisAngle(float angle, const sm::Vec3& axis);
inline sm::Quat Rx(float a) { return AxisAngle(a, sm::Vec3(1, 0, 0)); }
inline sm::Quat Ry(float a) { return AxisAngle(a, sm::Vec3(0, 1, 0)); }
inline sm::Quat Rz(float a) { return AxisAngle(a, sm::Vec3(0, 0, 1)); }

// a ⊗ b: b applied first, then a.
sm::Quat Then(const sm::Quat& a, const sm::Quat& b);

// The unit quaternion of a rotation matrix given as its three columns (double precision).
sm::Quat QuatFromColumns(const double x[3], const double y[3], const double z[3]);

// q or −q, whichever lies in the hemisphere of previous: the engine blends quaternion
// components, so neighbouring keys must not flip sign.
sm::Quat SameHemisphere(const sm::Quat& q, const sm::Quat& previous);

inline float Degrees(float d) { return d * 3.14159265358979f / 180.0f; }

}  // namespace show
