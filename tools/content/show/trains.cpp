#include "show/trains.h"

#include <algorithm>
#include <cmath>

#include "show/rotation.h"
#include "show/shapes.h"

namespace show {

namespace {

// Rail height: the wheels stand on the rails' top, not on their foot.
constexpr float kRailTop = 0.15f;

Mesh Wheels(const std::vector<float>& xs, float radius, float halfGauge) {
    Mesh mesh;
    const Mesh wheel = Cylinder(radius, -0.12f, 0.12f, 12, 1);  // axis along y
    for (float x : xs) {
        for (float z : {-halfGauge, halfGauge}) {
            mesh.Append(wheel, Translate(x, radius, z) * RotateX(kPi / 2));
        }
    }
    return mesh;
}

Mesh Loco02() {
    Mesh m;
    m.Append(Box({-3.5f, 0.5f, -1.1f}, {3.5f, 0.9f, 1.1f}, 2));
    m.Append(CylinderX(0.9f, 2.3f, 12), Translate(1.0f, 1.85f, 0));
    m.Append(Box({-3.3f, 0.9f, -1.15f}, {-1.3f, 3.2f, 1.15f}, 2));
    m.Append(Box({-3.5f, 3.2f, -1.3f}, {-1.1f, 3.4f, 1.3f}));
    m.Append(Cylinder(0.28f, 2.5f, 3.5f, 8, 2), Translate(2.6f, 0, 0));
    m.Append(Cylinder(0.35f, 2.6f, 3.0f, 8, 1), Translate(0.6f, 0, 0));
    m.Append(Box({3.5f, 0.55f, -1.2f}, {3.8f, 0.85f, 1.2f}));
    m.Append(Wheels({-2.2f, 0.0f, 2.2f}, 0.5f, 0.95f));
    return m;
}

Mesh Wagon02(int kind) {
    Mesh m;
    m.Append(Box({-3.0f, 0.5f, -1.1f}, {3.0f, 0.85f, 1.1f}, 2));
    if (kind == 1) {
        // A tank wagon.
        m.Append(CylinderX(1.05f, 2.7f, 14), Translate(0, 2.0f, 0));
        m.Append(Cylinder(0.35f, 3.0f, 3.4f, 8, 1));
    } else {
        // A boxcar with ribs along its sides.
        m.Append(Box({-2.9f, 0.85f, -1.15f}, {2.9f, 3.0f, 1.15f}, 3));
        for (int i = -2; i <= 2; ++i)
            m.Append(Box({i * 1.15f - 0.06f, 0.9f, -1.22f}, {i * 1.15f + 0.06f, 2.95f, 1.22f}));
        m.Append(Box({-3.0f, 3.0f, -1.25f}, {3.0f, 3.2f, 1.25f}, 2));
    }
    m.Append(Wheels({-2.0f, -1.2f, 1.2f, 2.0f}, 0.42f, 0.95f));
    return m;
}

Mesh Loco01() {
    Mesh m;
    m.Append(Box({-3.6f, 0.55f, -1.2f}, {2.0f, 3.1f, 1.2f}, 3));
    // The nose: a wedge from the cab front down to a rounded tip.
    const float x0 = 2.0f, x1 = 4.2f;
    const sm::Vec3 a(x0, 0.55f, -1.2f), b(x0, 0.55f, 1.2f), c(x0, 3.1f, 1.2f), d(x0, 3.1f, -1.2f);
    const sm::Vec3 e(x1, 0.55f, -0.7f), f(x1, 0.55f, 0.7f), g(x1, 1.4f, 0.7f), h(x1, 1.4f, -0.7f);
    const sm::Vec3 centre(3.0f, 1.5f, 0);
    auto face = [&](const sm::Vec3& p, const sm::Vec3& q, const sm::Vec3& r, const sm::Vec3& s) {
        const sm::Vec3 mid = (p + q + r + s) * 0.25f;
        m.GridQuad(p, q, r, s, 2, mid - centre);
    };
    face(d, c, g, h);  // the sloping top
    face(b, f, g, c);  // the sides
    face(a, d, h, e);
    face(e, h, g, f);  // the tip
    face(a, e, f, b);  // the floor
    // A window band and a roof fairing.
    m.Append(Box({-3.4f, 2.2f, -1.25f}, {1.8f, 2.7f, 1.25f}, 2));
    m.Append(Box({-3.4f, 3.1f, -0.9f}, {1.6f, 3.35f, 0.9f}, 2));
    m.Append(Wheels({-2.8f, -1.8f, 0.6f, 1.6f}, 0.45f, 0.95f));
    return m;
}

Mesh Coach01() {
    Mesh m;
    m.Append(Box({-3.2f, 0.55f, -1.2f}, {3.2f, 3.0f, 1.2f}, 3));
    for (int i = -2; i <= 2; ++i)
        m.Append(Box({i * 1.2f - 0.45f, 1.8f, -1.26f}, {i * 1.2f + 0.45f, 2.6f, 1.26f}));
    m.Append(Box({-3.1f, 3.0f, -0.95f}, {3.1f, 3.3f, 0.95f}, 2));
    m.Append(Wheels({-2.6f, -1.8f, 1.8f, 2.6f}, 0.45f, 0.95f));
    return m;
}

struct Car {
    std::string name;
    Mesh mesh;
    float length;
};

TrainBuild Assemble(const std::string& name, int firstId, std::vector<Car> cars,
                    const TrackCurve& track, const TrainRun& run) {
    TrainBuild train;
    train.name = name;
    float behind = 0.0f;  // distance from the train's front to this car's middle
    const float gap = 0.8f;
    for (size_t i = 0; i < cars.size(); ++i) {
        const int id = firstId + static_cast<int>(i);
        behind += cars[i].length / 2;
        AniNodeDesc node;
        node.id = id;
        node.name = cars[i].name;
        for (float t : KeyTimes(run.start, run.end, kTrainKeyStep)) {
            const float s = run.from + run.speed * (t - run.start) - behind;
            const sm::Mat4 m = WagonPlacement(track, s);
            node.position.keys.push_back({t, sm::Vec3(m[12], m[13], m[14])});
            const double x[3] = {m[0], m[1], m[2]}, y[3] = {m[4], m[5], m[6]},
                         z[3] = {m[8], m[9], m[10]};
            sm::Quat q = QuatFromColumns(x, y, z);
            if (!node.rotation.keys.empty())
                q = SameHemisphere(q, node.rotation.keys.back().rotation);
            node.rotation.keys.push_back({t, q});
        }
        for (float t : {run.start, run.end}) node.scale.keys.push_back({t, sm::Vec3(1, 1, 1)});
        train.animation.nodes.push_back(std::move(node));
        NamedMesh mesh;
        mesh.id = id;
        mesh.name = cars[i].name;
        mesh.material = kMatHull;
        mesh.mesh = std::move(cars[i].mesh);
        train.meshes.push_back(std::move(mesh));
        behind += cars[i].length / 2 + gap;
    }
    return train;
}

}  // namespace

TrackCurve::TrackCurve(std::vector<sm::Vec3> points) : m_points(std::move(points)) {
    m_along.push_back(0.0f);
    for (size_t i = 1; i < m_points.size(); ++i)
        m_along.push_back(m_along.back() + (m_points[i] - m_points[i - 1]).Length());
}

sm::Vec3 TrackCurve::At(float s) const {
    s = std::clamp(s, 0.0f, Length());
    const size_t i = std::min<size_t>(
        std::upper_bound(m_along.begin(), m_along.end(), s) - m_along.begin(), m_points.size() - 1);
    const size_t a = i - 1;
    const float f = (s - m_along[a]) / (m_along[i] - m_along[a]);
    return Lerp(m_points[a], m_points[i], f);
}

sm::Vec3 TrackCurve::Direction(float s) const {
    // Over a wagon's bogie spacing, so the wagon follows the chord and does not twitch at points.
    return (At(s + 1.5f) - At(s - 1.5f)).GetNormalized();
}

sm::Mat4 WagonPlacement(const TrackCurve& track, float s) {
    const sm::Vec3 x = track.Direction(s);
    const sm::Vec3 z = CrossRH(x, sm::Vec3(0, 1, 0)).GetNormalized();
    const sm::Vec3 y = CrossRH(z, x);
    const sm::Vec3 p = track.At(s) + y * kRailTop;
    sm::Mat4 m;
    const sm::Vec3* cols[3] = {&x, &y, &z};
    for (int c = 0; c < 3; ++c) {
        m[4 * c] = cols[c]->x;
        m[4 * c + 1] = cols[c]->y;
        m[4 * c + 2] = cols[c]->z;
    }
    m[12] = p.x;
    m[13] = p.y;
    m[14] = p.z;
    return m;
}

TrainBuild Train01(const TrackCurve& track, const TrainRun& run) {
    std::vector<Car> cars;
    cars.push_back({"train01.loco", Loco01(), 8.0f});
    cars.push_back({"train01.coach1", Coach01(), 6.4f});
    cars.push_back({"train01.coach2", Coach01(), 6.4f});
    return Assemble("Train01", 101, std::move(cars), track, run);
}

TrainBuild Train02(const TrackCurve& track, const TrainRun& run) {
    std::vector<Car> cars;
    cars.push_back({"train02.loco", Loco02(), 7.6f});
    cars.push_back({"train02.wagon1", Wagon02(0), 6.0f});
    cars.push_back({"train02.wagon2", Wagon02(1), 6.0f});
    cars.push_back({"train02.wagon3", Wagon02(0), 6.0f});
    return Assemble("Train02", 201, std::move(cars), track, run);
}

}  // namespace show
