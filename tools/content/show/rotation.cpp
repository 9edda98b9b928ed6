#include "show/rotation.h"

#include <cmath>

namespace show {

sm::Quat AxisAngle(float angle, const sm::Vec3& axis) {
    const double h = 0.5 * angle, s = std::sin(h);
    return sm::Quat(static_cast<float>(std::cos(h)), static_cast<float>(axis.x * s),
                    static_cast<float>(axis.y * s), static_cast<float>(axis.z * s));
}

sm::Quat Then(const sm::Quat& a, const sm::Quat& b) {
    // The engine's product is built on its reversed cross product: b * a there is a ⊗ b here.
    return b * a;
}

sm::Quat QuatFromColumns(const double x[3], const double y[3], const double z[3]) {
    // m[r][c]: x, y and z are the columns.
    const double m00 = x[0], m10 = x[1], m20 = x[2];
    const double m01 = y[0], m11 = y[1], m21 = y[2];
    const double m02 = z[0], m12 = z[1], m22 = z[2];
    const double trace = m00 + m11 + m22;
    double w, qx, qy, qz;
    if (trace > 0) {
        const double s = 2.0 * std::sqrt(trace + 1.0);
        w = 0.25 * s;
        qx = (m21 - m12) / s;
        qy = (m02 - m20) / s;
        qz = (m10 - m01) / s;
    } else if (m00 > m11 && m00 > m22) {
        const double s = 2.0 * std::sqrt(1.0 + m00 - m11 - m22);
        w = (m21 - m12) / s;
        qx = 0.25 * s;
        qy = (m01 + m10) / s;
        qz = (m02 + m20) / s;
    } else if (m11 > m22) {
        const double s = 2.0 * std::sqrt(1.0 + m11 - m00 - m22);
        w = (m02 - m20) / s;
        qx = (m01 + m10) / s;
        qy = 0.25 * s;
        qz = (m12 + m21) / s;
    } else {
        const double s = 2.0 * std::sqrt(1.0 + m22 - m00 - m11);
        w = (m10 - m01) / s;
        qx = (m02 + m20) / s;
        qy = (m12 + m21) / s;
        qz = 0.25 * s;
    }
    const double n = std::sqrt(w * w + qx * qx + qy * qy + qz * qz);
    return sm::Quat(static_cast<float>(w / n), static_cast<float>(qx / n),
                    static_cast<float>(qy / n), static_cast<float>(qz / n));
}

sm::Quat SameHemisphere(const sm::Quat& q, const sm::Quat& previous) {
    const float dot = q.w * previous.w + Dot(q.v, previous.v);
    return dot < 0 ? sm::Quat(-q.w, -q.v.x, -q.v.y, -q.v.z) : q;
}

}  // namespace show
