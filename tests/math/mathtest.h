// Helpers shared by the math tests: printing of the sm types in failure messages, near
// comparisons, and the death-test pattern of an assertion report.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <ostream>
#include <string>

#include "math/mat4.h"
#include "math/quat.h"
#include "math/vec3.h"
#include "math/vec4.h"

namespace sm {
inline void PrintTo(const Vec3& v, std::ostream* os) {
    *os << "(" << v.x << ", " << v.y << ", " << v.z << ")";
}
inline void PrintTo(const Vec4& v, std::ostream* os) {
    *os << "(" << v.x << ", " << v.y << ", " << v.z << ", " << v.w << ")";
}
inline void PrintTo(const Quat& q, std::ostream* os) {
    *os << "(w " << q.w << "; " << q.v.x << ", " << q.v.y << ", " << q.v.z << ")";
}
inline void PrintTo(const Mat4& m, std::ostream* os) {
    *os << "[";
    for (int i = 0; i < 16; ++i) *os << (i ? ", " : "") << m[i];
    *os << "]";
}
}  // namespace sm

inline testing::AssertionResult Vec3Near(const sm::Vec3& actual, const sm::Vec3& expected,
                                         float tolerance = 1e-5f) {
    sm::Vec3 d = actual - expected;
    if (std::fabs(d.x) <= tolerance && std::fabs(d.y) <= tolerance && std::fabs(d.z) <= tolerance)
        return testing::AssertionSuccess();
    return testing::AssertionFailure() << testing::PrintToString(actual) << " is not within "
                                       << tolerance << " of " << testing::PrintToString(expected);
}

inline testing::AssertionResult Mat4Near(const sm::Mat4& actual, const sm::Mat4& expected,
                                         float tolerance = 1e-5f) {
    for (int i = 0; i < 16; ++i) {
        if (!(std::fabs(actual[i] - expected[i]) <= tolerance))
            return testing::AssertionFailure()
                   << "element " << i << ": " << testing::PrintToString(actual) << " vs "
                   << testing::PrintToString(expected);
    }
    return testing::AssertionSuccess();
}

// The start of the fatal report for a failed ASSERT of exactly this condition text, as a
// death-test pattern (regular-expression characters escaped).
inline std::string AssertionPattern(const std::string& condition) {
    std::string escaped;
    for (char c : condition) {
        if (std::string("\\.[](){}*+?|^$").find(c) != std::string::npos) escaped += '\\';
        escaped += c;
    }
    return "Assertion failed: " + escaped + ", file ";
}
