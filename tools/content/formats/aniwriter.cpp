#include "formats/aniwriter.h"

#include <cmath>

#include "formats/bytewriter.h"

namespace {

// The angle and unit axis of a unit quaternion, in double so that small angles keep their
// precision (acos near 1 would not). A zero angle gets the axis (1, 0, 0).
void AngleAxis(const sm::Quat& q, double* angle, double axis[3]) {
    const double x = q.v.x, y = q.v.y, z = q.v.z;
    const double s = std::sqrt(x * x + y * y + z * z);
    *angle = 2.0 * std::atan2(s, static_cast<double>(q.w));
    if (s == 0.0) {
        axis[0] = 1.0;
        axis[1] = axis[2] = 0.0;
    } else {
        axis[0] = x / s;
        axis[1] = y / s;
        axis[2] = z / s;
    }
}

sm::Quat Unit(sm::Quat q) {
    q.Normalize();
    return q;
}

sm::Quat Conjugate(const sm::Quat& q) { return sm::Quat(q.w, -q.v.x, -q.v.y, -q.v.z); }

void WriteVectorTrack(ByteWriter& out, const AniVectorTrack& track) {
    out.I32(static_cast<int32_t>(track.keys.size()));
    if (track.keys.empty()) {
        out.F32(track.constant.x);
        out.F32(track.constant.y);
        out.F32(track.constant.z);
        return;
    }
    for (const AniVectorKey& key : track.keys) {
        out.F32(key.time);
        out.F32(key.value.x);
        out.F32(key.value.y);
        out.F32(key.value.z);
    }
}

void WriteRotationTrack(ByteWriter& out, const AniRotationTrack& track) {
    out.I32(static_cast<int32_t>(track.keys.size()));
    double angle, axis[3];
    if (track.keys.empty()) {
        // The loader takes the constant as the rotation by −angle about the axis as written.
        AngleAxis(Unit(track.constant), &angle, axis);
        out.F32(static_cast<float>(-angle));
        for (double a : axis) out.F32(static_cast<float>(a));
        return;
    }
    // The loader's running rotation R after each key: R = q₀, then R = R × qₖ, normalised.
    // Key k is written as qₖ = R⁻¹ × target, so that R × qₖ lands on the target.
    sm::Quat rebuilt;
    for (size_t k = 0; k < track.keys.size(); ++k) {
        const sm::Quat target = Unit(track.keys[k].rotation);
        const sm::Quat relative = k == 0 ? target : Unit(Conjugate(rebuilt) * target);
        AngleAxis(relative, &angle, axis);
        // The loader reads (f1, f2, f3) as the axis (f1, f3, −f2) and negates the angle.
        const float f1 = static_cast<float>(axis[0]);
        const float f2 = static_cast<float>(-axis[2]);
        const float f3 = static_cast<float>(axis[1]);
        const float written = static_cast<float>(-angle);
        out.F32(track.keys[k].time);
        out.F32(written);
        out.F32(f1);
        out.F32(f2);
        out.F32(f3);

        const sm::Quat q = sm::Quat::FromAxisAngle(-written, f1, f3, -f2);
        rebuilt = k == 0 ? q : rebuilt * q;
        rebuilt.Normalize();
    }
}

void WriteNode(ByteWriter& out, const AniNodeDesc& node) {
    out.I32(node.id);
    out.String(node.name);
    for (int i = 0; i < 16; ++i) out.F32(node.baseMatrix[i]);
    WriteVectorTrack(out, node.position);
    WriteRotationTrack(out, node.rotation);
    WriteVectorTrack(out, node.scale);
    out.I32(static_cast<int32_t>(node.children.size()));
    for (const AniNodeDesc& child : node.children) WriteNode(out, child);
}

}  // namespace

std::string WriteAni(const AniDesc& animation) {
    ByteWriter out;
    out.I32(static_cast<int32_t>(animation.nodes.size()));
    for (const AniNodeDesc& node : animation.nodes) WriteNode(out, node);
    return out.Bytes();
}
