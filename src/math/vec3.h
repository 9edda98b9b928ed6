// sm::Vec3, the three-float value type for positions, directions and colours. It is stored as
// x, y, z with no padding, exactly as in content files and vertex buffers. Cross has this
// library's own sign convention (see below); everything else is the usual component-wise
// arithmetic in float.
#pragma once

#include <cstddef>
#include <type_traits>

#include "math/scalar.h"

namespace sm {

struct Vec3 {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;

    Vec3() = default;
    Vec3(float x_, float y_, float z_) : x(x_), y(y_), z(z_) {}
    explicit Vec3(float s) : x(s), y(s), z(s) {}

    Vec3& operator+=(const Vec3& b) {
        x += b.x;
        y += b.y;
        z += b.z;
        return *this;
    }

    float Length() const { return Sqrt(x * x + y * y + z * z); }

    // This vector divided by its length; the zero vector for a zero-length vector.
    Vec3 GetNormalized() const;

    // Divides by the length in place; a zero-length vector is left as it is.
    void Normalize();
};

inline Vec3 operator+(const Vec3& a, const Vec3& b) {
    return Vec3(a.x + b.x, a.y + b.y, a.z + b.z);
}
inline Vec3 operator-(const Vec3& a, const Vec3& b) {
    return Vec3(a.x - b.x, a.y - b.y, a.z - b.z);
}
inline Vec3 operator-(const Vec3& v) { return Vec3(-v.x, -v.y, -v.z); }
inline Vec3 operator*(const Vec3& v, float s) { return Vec3(v.x * s, v.y * s, v.z * s); }
inline Vec3 operator/(const Vec3& v, float s) { return Vec3(v.x / s, v.y / s, v.z / s); }

// True when any component differs; a NaN component always differs.
inline bool operator!=(const Vec3& a, const Vec3& b) {
    return a.x != b.x || a.y != b.y || a.z != b.z;
}
inline bool operator==(const Vec3& a, const Vec3& b) { return !(a != b); }

inline float Dot(const Vec3& a, const Vec3& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

// (a.z·b.y − a.y·b.z, a.x·b.z − a.z·b.x, a.y·b.x − a.x·b.y): the textbook b × a, that is the
// negative of a × b. Every caller in the program is written against this sign.
inline Vec3 Cross(const Vec3& a, const Vec3& b) {
    return Vec3(a.z * b.y - a.y * b.z, a.x * b.z - a.z * b.x, a.y * b.x - a.x * b.y);
}

inline Vec3 Vec3::GetNormalized() const {
    float length = Length();
    if (length == 0.0f) return Vec3();
    return *this / length;
}

inline void Vec3::Normalize() {
    float length = Length();
    if (length != 0.0f) *this = *this / length;
}

static_assert(sizeof(Vec3) == 12, "sm::Vec3 must be three packed floats");
static_assert(std::is_standard_layout<Vec3>::value && std::is_trivially_copyable<Vec3>::value,
              "sm::Vec3 is copied bytewise to files and buffers");
static_assert(offsetof(Vec3, x) == 0 && offsetof(Vec3, y) == 4 && offsetof(Vec3, z) == 8,
              "sm::Vec3 component order");

}  // namespace sm
