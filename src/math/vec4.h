// sm::Vec4, four floats x, y, z, w with no padding: RGBA colours (x is red, w alpha) and
// homogeneous points. Only scaling, addition, subtraction and checked element access exist.
#pragma once

#include <cstddef>
#include <type_traits>

#include "base/assert.h"

namespace sm {

struct Vec4 {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
    float w = 0.0f;

    Vec4() = default;
    Vec4(float x_, float y_, float z_, float w_) : x(x_), y(y_), z(z_), w(w_) {}

    // 0 … 3 are x, y, z, w; any other index is fatal.
    float& operator[](int index);
    float operator[](int index) const { return const_cast<Vec4&>(*this)[index]; }
};

inline float& Vec4::operator[](int index) {
    switch (index) {
        case 0:
            return x;
        case 1:
            return y;
        case 2:
            return z;
        case 3:
            return w;
        default:
            ASSERT(false);
            return x;
    }
}

inline Vec4 operator*(const Vec4& v, float s) { return Vec4(v.x * s, v.y * s, v.z * s, v.w * s); }
inline Vec4 operator+(const Vec4& a, const Vec4& b) {
    return Vec4(a.x + b.x, a.y + b.y, a.z + b.z, a.w + b.w);
}
inline Vec4 operator-(const Vec4& a, const Vec4& b) {
    return Vec4(a.x - b.x, a.y - b.y, a.z - b.z, a.w - b.w);
}

static_assert(sizeof(Vec4) == 16, "sm::Vec4 must be four packed floats");
static_assert(std::is_standard_layout<Vec4>::value && std::is_trivially_copyable<Vec4>::value,
              "sm::Vec4 is copied bytewise to files and buffers");
static_assert(offsetof(Vec4, x) == 0 && offsetof(Vec4, w) == 12, "sm::Vec4 component order");

}  // namespace sm
