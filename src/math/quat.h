// sm::Quat, a quaternion stored scalar first: w, then the vector part v (x, y, z), 16 bytes
// with no padding, as in animation files. A unit quaternion (cos θ/2, a·sin θ/2) is the rotation
// by θ about the unit axis a. Because the product is built on this library's Cross, a * b is the
// textbook Hamilton product b ⊗ a. Nothing here normalises implicitly except FromAxisAngle.
#pragma once

#include <cstddef>
#include <type_traits>

#include "math/vec3.h"

namespace sm {

struct Quat {
    // The default is all zeros: the additive zero, as used for empty tangents. Assign w before
    // using a quaternion as a rotation.
    float w = 0.0f;
    Vec3 v;

    Quat() = default;
    Quat(float w_, float x, float y, float z) : w(w_), v(x, y, z) {}
    Quat(float w_, const Vec3& v_) : w(w_), v(v_) {}

    // sqrt(w² + v·v).
    float Length() const { return Sqrt(w * w + Dot(v, v)); }

    // Scales to unit length in place; a zero quaternion is left as it is.
    void Normalize();

    // The rotation by angle (radians) about the axis (x, y, z), which need not be unit length:
    // the axis is normalised first, so the angle is kept. The result is normalised.
    static Quat FromAxisAngle(float angle, float x, float y, float z);

    // *angle = 2·acos(w). When that angle is 0, *axis is not written (preset it); otherwise
    // *axis = v / sin(angle / 2). w is clamped to [−1, 1] first, so a normalised quaternion
    // whose w rounds just past 1 still gives a finite angle.
    void ToAxisAngle(float* angle, Vec3* axis) const;
};

inline Quat operator*(const Quat& q, float s) { return Quat(q.w * s, q.v * s); }
inline Quat operator+(const Quat& a, const Quat& b) { return Quat(a.w + b.w, a.v + b.v); }

// w = a.w·b.w − a.v·b.v, v = a.v·b.w + b.v·a.w + Cross(a.v, b.v).
inline Quat operator*(const Quat& a, const Quat& b) {
    return Quat(a.w * b.w - Dot(a.v, b.v), a.v * b.w + b.v * a.w + Cross(a.v, b.v));
}

inline void Quat::Normalize() {
    float length = Length();
    if (length == 0.0f) return;
    float inverse = 1.0f / length;
    v = v * inverse;
    w = w * inverse;
}

inline Quat Quat::FromAxisAngle(float angle, float x, float y, float z) {
    Quat q(Cos(angle / 2.0f), Vec3(x, y, z).GetNormalized() * Sin(angle / 2.0f));
    q.Normalize();
    return q;
}

inline void Quat::ToAxisAngle(float* angle, Vec3* axis) const {
    float c = w > 1.0f ? 1.0f : (w < -1.0f ? -1.0f : w);  // a NaN w stays NaN
    *angle = 2.0f * Acos(c);
    if (*angle == 0.0f) return;
    *axis = v * (1.0f / Sin(*angle / 2.0f));
}

static_assert(sizeof(Quat) == 16, "sm::Quat must be four packed floats");
static_assert(std::is_standard_layout<Quat>::value && std::is_trivially_copyable<Quat>::value,
              "sm::Quat is copied bytewise to files");
static_assert(offsetof(Quat, w) == 0 && offsetof(Quat, v) == 4, "sm::Quat stores w first");

}  // namespace sm
