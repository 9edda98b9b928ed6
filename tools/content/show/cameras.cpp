#include "show/cameras.h"

#include <algorithm>
#include <cmath>

#include "show/rotation.h"

namespace show {

namespace {

struct D3 {
    double x, y, z;
};

D3 ToD3(const sm::Vec3& v) { return {v.x, v.y, v.z}; }
D3 Sub(const D3& a, const D3& b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
D3 Scale(const D3& a, double s) { return {a.x * s, a.y * s, a.z * s}; }
D3 Add(const D3& a, const D3& b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
D3 Cross(const D3& a, const D3& b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
double Dot(const D3& a, const D3& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
D3 Unit(const D3& a) { return Scale(a, 1.0 / std::sqrt(Dot(a, a))); }

// The camera's axes: right, up and the view direction, +Y of the world kept up.
struct Axes {
    D3 right, up, forward, eye;
};

Axes AxesOf(const CameraPose& pose) {
    Axes a;
    a.eye = ToD3(pose.eye);
    a.forward = Unit(Sub(ToD3(pose.target), a.eye));
    a.right = Unit(Cross(a.forward, D3{0, 1, 0}));
    a.up = Cross(a.right, a.forward);
    if (pose.roll != 0.0f) {
        const double c = std::cos(pose.roll), s = std::sin(pose.roll);
        const D3 r = Add(Scale(a.right, c), Scale(a.up, s));
        const D3 u = Add(Scale(a.up, c), Scale(a.right, -s));
        a.right = r;
        a.up = u;
    }
    return a;
}

sm::Mat4 FromColumns(const D3& x, const D3& y, const D3& z, const D3& t) {
    sm::Mat4 m;
    const D3* cols[4] = {&x, &y, &z, &t};
    for (int c = 0; c < 4; ++c) {
        m[4 * c] = static_cast<float>(cols[c]->x);
        m[4 * c + 1] = static_cast<float>(cols[c]->y);
        m[4 * c + 2] = static_cast<float>(cols[c]->z);
    }
    return m;
}

// The node's rotation C · Rx(−π/2): its columns are right, forward and up.
sm::Quat NodeRotation(const CameraPose& pose) {
    const Axes a = AxesOf(pose);
    const double x[3] = {a.right.x, a.right.y, a.right.z};
    const double y[3] = {a.forward.x, a.forward.y, a.forward.z};
    const double z[3] = {a.up.x, a.up.y, a.up.z};
    return QuatFromColumns(x, y, z);
}

}  // namespace

sm::Mat4 CameraMatrix(const CameraPose& pose) {
    const Axes a = AxesOf(pose);
    return FromColumns(a.right, a.up, Scale(a.forward, -1), a.eye);
}

sm::Mat4 ViewMatrix(const CameraPose& pose) {
    // The inverse of a rigid transform: the transposed rotation and the eye taken back through it.
    const Axes a = AxesOf(pose);
    const D3 back = Scale(a.forward, -1);
    const D3 rows[3] = {a.right, a.up, back};
    sm::Mat4 m;
    for (int r = 0; r < 3; ++r) {
        m[r] = static_cast<float>(rows[r].x);
        m[r + 4] = static_cast<float>(rows[r].y);
        m[r + 8] = static_cast<float>(rows[r].z);
        m[r + 12] = static_cast<float>(-Dot(rows[r], a.eye));
    }
    return m;
}

std::vector<float> KeyTimes(float start, float end, float step) {
    const int n = std::max(1, static_cast<int>(std::ceil((end - start) / step - 1e-6)));
    std::vector<float> times;
    for (int k = 0; k < n; ++k)
        times.push_back(static_cast<float>(start + (static_cast<double>(end) - start) * k / n));
    times.push_back(end);
    return times;
}

AniNodeDesc CameraNode(const Shot& shot, int id) {
    AniNodeDesc node;
    node.id = id;
    node.name = shot.name;
    for (float t : KeyTimes(shot.start, shot.end, shot.keyStep)) {
        const CameraPose pose = shot.pose(t);
        node.position.keys.push_back({t, pose.eye});
        sm::Quat q = NodeRotation(pose);
        if (!node.rotation.keys.empty()) q = SameHemisphere(q, node.rotation.keys.back().rotation);
        node.rotation.keys.push_back({t, q});
    }
    // A keyed scale as well: a constant track would count as starting at 0.
    for (float t : {shot.start, shot.end}) node.scale.keys.push_back({t, sm::Vec3(1, -1, 1)});
    return node;
}

CameraRecord CameraRecordOf(const Shot& shot, int id) {
    CameraRecord record;
    record.id = id;
    record.name = shot.name;
    const Axes a = AxesOf(shot.pose(shot.start));
    record.worldMatrix = FromColumns(a.right, Scale(a.forward, -1), a.up, a.eye);
    record.fov = shot.fov;
    if (shot.zoom) {
        for (float t : KeyTimes(shot.start, shot.end, kFovKeyStep))
            record.fovKeys.emplace_back(t, shot.zoom(t));
    }
    record.nearPlane = shot.nearPlane;
    record.farPlane = shot.farPlane;
    return record;
}

float Ease(float t, float t0, float t1) {
    const double u = std::clamp((static_cast<double>(t) - t0) / (t1 - t0), 0.0, 1.0);
    // Smootherstep: still at both ends in speed and acceleration.
    return static_cast<float>(u * u * u * (u * (u * 6 - 15) + 10));
}

std::function<CameraPose(float)> Orbit(const sm::Vec3& centre, float radius, float height,
                                       float a0, float a1, float t0, float t1) {
    return [=](float t) {
        const double u = (static_cast<double>(t) - t0) / (t1 - t0);
        const double a = a0 + (a1 - a0) * u;
        CameraPose p;
        p.eye = sm::Vec3(static_cast<float>(centre.x + radius * std::sin(a)), centre.y + height,
                         static_cast<float>(centre.z + radius * std::cos(a)));
        p.target = centre;
        return p;
    };
}

std::function<CameraPose(float)> Glide(const sm::Vec3& e0, const sm::Vec3& e1,
                                       const sm::Vec3& g0, const sm::Vec3& g1, float t0,
                                       float t1) {
    return [=](float t) {
        const float u = Ease(t, t0, t1);
        CameraPose p;
        p.eye = e0 + (e1 - e0) * u;
        p.target = g0 + (g1 - g0) * u;
        return p;
    };
}

std::function<CameraPose(float)> Dolly(const sm::Vec3& e0, const sm::Vec3& e1,
                                       const sm::Vec3& g0, const sm::Vec3& g1, float t0,
                                       float t1) {
    return [=](float t) {
        const float u = static_cast<float>((static_cast<double>(t) - t0) / (t1 - t0));
        CameraPose p;
        p.eye = e0 + (e1 - e0) * u;
        p.target = g0 + (g1 - g0) * u;
        return p;
    };
}

}  // namespace show
