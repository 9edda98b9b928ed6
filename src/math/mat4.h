// sm::Mat4, a 4×4 float matrix stored column-major: the element in row r and column c is at
// index r + 4·c, so a transform's translation is at 12, 13, 14. Matrices multiply column vectors
// (M · p) and are composed right to left, parent · Translation · Rotation · Scale. The sixteen
// floats go unchanged to files and to glUniformMatrix4fv with transpose off. Projections follow
// OpenGL: the camera looks down −Z and clip depth runs from −w to w. No operation checks for
// division by zero; degenerate input gives infinities or NaNs.
#pragma once

#include <type_traits>

#include "math/vec3.h"

namespace sm {

struct Mat4 {
    float m[16];

    // The identity.
    Mat4() : m{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1} {}

    float& operator[](int index) { return m[index]; }
    float operator[](int index) const { return m[index]; }
    float* Data() { return m; }
    const float* Data() const { return m; }

    Mat4& operator*=(const Mat4& b);

    // result[r + 4c] = M[c + 4r].
    Mat4 Transpose() const;

    // The general inverse by cofactors, exact for any invertible matrix (not only rigid
    // transforms). A singular matrix gives non-finite entries.
    Mat4 Inverse() const;

    // The first three components of M · (p, 1); no division by w.
    Vec3 TransformPoint(const Vec3& p) const {
        return Vec3(m[0] * p.x + m[4] * p.y + m[8] * p.z + m[12],
                    m[1] * p.x + m[5] * p.y + m[9] * p.z + m[13],
                    m[2] * p.x + m[6] * p.y + m[10] * p.z + m[14]);
    }

    // Builders; each starts from the identity.
    static Mat4 Identity() { return Mat4(); }
    static Mat4 Translation(float x, float y, float z);
    static Mat4 Translation(const Vec3& t) { return Translation(t.x, t.y, t.z); }
    static Mat4 Scale(float x, float y, float z);
    static Mat4 Scale(const Vec3& s) { return Scale(s.x, s.y, s.z); }
    // Rotation by angle (radians) about (x, y, z), counter-clockwise looking down the axis
    // towards the origin. The axis is used as given: pass a unit vector.
    static Mat4 Rotation(float angle, float x, float y, float z);
    static Mat4 Rotation(float angle, const Vec3& axis) {
        return Rotation(angle, axis.x, axis.y, axis.z);
    }
    // fovX is the horizontal field of view in radians, aspect is width / height; near and far
    // map to clip depth −1 and 1.
    static Mat4 Perspective(float fovX, float aspect, float nearZ, float farZ);
    // Orthographic projection of the rectangle onto clip −1…1, with the depth range fixed at
    // −100…100 (clip z = −0.01·z).
    static Mat4 Ortho(float left, float right, float bottom, float top);
    // Columns: X = normalised Cross(forward, up), then up and forward exactly as given (up is
    // not re-orthogonalised).
    static Mat4 LookDirection(const Vec3& forward, const Vec3& up);
    // The rigid frame of a triangle: origin at the centroid, Z the unit face normal of the
    // counter-clockwise triangle, X the unit vector from p1 towards p0, Y = Z × X. A degenerate
    // triangle gives a pure translation to the centroid.
    static Mat4 TriangleFrame(const Vec3& p0, const Vec3& p1, const Vec3& p2);
};

// The ordinary matrix product: result[r + 4c] = Σk a[r + 4k] · b[k + 4c].
inline Mat4 operator*(const Mat4& a, const Mat4& b) {
    Mat4 r;
    for (int c = 0; c < 4; ++c) {
        for (int row = 0; row < 4; ++row) {
            r.m[row + 4 * c] = a.m[row] * b.m[4 * c] + a.m[row + 4] * b.m[1 + 4 * c] +
                               a.m[row + 8] * b.m[2 + 4 * c] + a.m[row + 12] * b.m[3 + 4 * c];
        }
    }
    return r;
}

inline Mat4& Mat4::operator*=(const Mat4& b) {
    *this = *this * b;
    return *this;
}

static_assert(sizeof(Mat4) == 64, "sm::Mat4 must be sixteen packed floats");
static_assert(std::is_standard_layout<Mat4>::value && std::is_trivially_copyable<Mat4>::value,
              "sm::Mat4 is copied bytewise to files and uniforms");

}  // namespace sm
