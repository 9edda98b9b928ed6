// Float versions of the scalar functions the math types are built on. Each evaluates the C
// library's double-precision function and rounds the result to float, so results are the same
// whatever float variants the library offers. Max and Min are plain comparisons.
#pragma once

#include <cmath>

namespace sm {

inline float Sqrt(float x) { return static_cast<float>(std::sqrt(static_cast<double>(x))); }
inline float Sin(float x) { return static_cast<float>(std::sin(static_cast<double>(x))); }
inline float Cos(float x) { return static_cast<float>(std::cos(static_cast<double>(x))); }
inline float Tan(float x) { return static_cast<float>(std::tan(static_cast<double>(x))); }
inline float Acos(float x) { return static_cast<float>(std::acos(static_cast<double>(x))); }
inline float Atan(float x) { return static_cast<float>(std::atan(static_cast<double>(x))); }
inline float Fmod(float x, float y) {
    return static_cast<float>(std::fmod(static_cast<double>(x), static_cast<double>(y)));
}

// a if a > b, else b (so Max(NaN, b) is b).
template <typename T>
inline T Max(T a, T b) {
    return a > b ? a : b;
}

// a if b > a, else b (so Min(NaN, b) is b).
template <typename T>
inline T Min(T a, T b) {
    return b > a ? a : b;
}

}  // namespace sm
