#include "show/shapes.h"

#include <array>
#include <cmath>
#include <map>
#include <utility>

namespace show {

namespace {

sm::Vec3 Centroid(const sm::Vec3& a, const sm::Vec3& b, const sm::Vec3& c) {
    return (a + b + c) / 3.0f;
}

// Closed rings of points (one ring per station, all with `sides` points) joined into a tube; each
// quad faces away from its station's axis point.
void JoinRings(Mesh& mesh, const std::vector<std::vector<sm::Vec3>>& rings,
               const std::vector<sm::Vec3>& axis) {
    for (size_t i = 0; i + 1 < rings.size(); ++i) {
        const size_t sides = rings[i].size();
        const sm::Vec3 centre = (axis[i] + axis[i + 1]) * 0.5f;
        for (size_t k = 0; k < sides; ++k) {
            const size_t k1 = (k + 1) % sides;
            const sm::Vec3& a = rings[i][k];
            const sm::Vec3& b = rings[i][k1];
            const sm::Vec3& c = rings[i + 1][k1];
            const sm::Vec3& d = rings[i + 1][k];
            const float u0 = static_cast<float>(k) / sides, u1 = static_cast<float>(k + 1) / sides;
            const float v0 = static_cast<float>(i) / rings.size();
            const float v1 = static_cast<float>(i + 1) / rings.size();
            mesh.QuadFacing(a, b, c, d, Centroid(a, b, c) - centre, {u0, v0}, {u1, v0}, {u1, v1},
                            {u0, v1});
        }
    }
}

// A fan closing a ring around its centre, facing `outward`.
void Cap(Mesh& mesh, const std::vector<sm::Vec3>& ring, const sm::Vec3& centre,
         const sm::Vec3& outward) {
    for (size_t k = 0; k < ring.size(); ++k) {
        mesh.TriangleFacing(centre, ring[k], ring[(k + 1) % ring.size()], outward, {0.5f, 0.5f},
                            {0, 1}, {1, 1});
    }
}

// Any unit vector perpendicular to the unit vector t.
sm::Vec3 Perpendicular(const sm::Vec3& t) {
    const sm::Vec3 helper = std::fabs(t.y) < 0.9f ? sm::Vec3(0, 1, 0) : sm::Vec3(1, 0, 0);
    return CrossRH(t, helper).GetNormalized();
}

}  // namespace

Mesh IcoSphere(float radius, int subdivisions) {
    const float t = (1.0f + std::sqrt(5.0f)) / 2.0f;
    std::vector<sm::Vec3> v = {{-1, t, 0}, {1, t, 0}, {-1, -t, 0}, {1, -t, 0},
                               {0, -1, t}, {0, 1, t}, {0, -1, -t}, {0, 1, -t},
                               {t, 0, -1}, {t, 0, 1}, {-t, 0, -1}, {-t, 0, 1}};
    for (sm::Vec3& p : v) p = p.GetNormalized();
    std::vector<std::array<int, 3>> faces = {
        {0, 11, 5}, {0, 5, 1},  {0, 1, 7},   {0, 7, 10}, {0, 10, 11}, {1, 5, 9}, {5, 11, 4},
        {11, 10, 2}, {10, 7, 6}, {7, 1, 8},  {3, 9, 4},  {3, 4, 2},   {3, 2, 6}, {3, 6, 8},
        {3, 8, 9},  {4, 9, 5},  {2, 4, 11}, {6, 2, 10}, {8, 6, 7},   {9, 8, 1}};
    for (int s = 0; s < subdivisions; ++s) {
        std::map<std::pair<int, int>, int> middle;
        auto mid = [&](int a, int b) {
            const auto key = std::make_pair(std::min(a, b), std::max(a, b));
            auto it = middle.find(key);
            if (it != middle.end()) return it->second;
            v.push_back(((v[a] + v[b]) * 0.5f).GetNormalized());
            middle[key] = static_cast<int>(v.size()) - 1;
            return static_cast<int>(v.size()) - 1;
        };
        std::vector<std::array<int, 3>> next;
        for (const auto& f : faces) {
            const int ab = mid(f[0], f[1]), bc = mid(f[1], f[2]), ca = mid(f[2], f[0]);
            next.push_back({f[0], ab, ca});
            next.push_back({f[1], bc, ab});
            next.push_back({f[2], ca, bc});
            next.push_back({ab, bc, ca});
        }
        faces = std::move(next);
    }
    Mesh mesh;
    for (const auto& f : faces) {
        const sm::Vec3 a = v[f[0]] * radius, b = v[f[1]] * radius, c = v[f[2]] * radius;
        auto uv = [](const sm::Vec3& p) {
            return Uv{0.5f + std::atan2(p.z, p.x) / (2 * kPi), 0.5f + std::asin(p.y) / kPi};
        };
        mesh.TriangleFacing(a, b, c, Centroid(a, b, c), uv(v[f[0]]), uv(v[f[1]]), uv(v[f[2]]));
    }
    return mesh;
}

Mesh TorusKnot(int p, int q, float R, float r, float tube, int segments, int sides) {
    auto curve = [&](float phi) {
        const float rr = R + r * std::cos(q * phi);
        return sm::Vec3(rr * std::cos(p * phi), rr * std::sin(p * phi), -r * std::sin(q * phi));
    };
    std::vector<std::vector<sm::Vec3>> rings;
    std::vector<sm::Vec3> axis;
    for (int i = 0; i <= segments; ++i) {
        const float phi = 2 * kPi * (i % segments) / segments;
        const sm::Vec3 c = curve(phi);
        const sm::Vec3 t = (curve(phi + 1e-3f) - curve(phi - 1e-3f)).GetNormalized();
        // The frame's first axis points away from the torus core, so it closes up after a turn.
        const sm::Vec3 core(R * std::cos(p * phi), R * std::sin(p * phi), 0);
        sm::Vec3 n = c - core;
        n = (n - t * Dot(n, t)).GetNormalized();
        const sm::Vec3 b = CrossRH(t, n);
        std::vector<sm::Vec3> ring;
        for (int k = 0; k < sides; ++k) {
            const float a = 2 * kPi * k / sides;
            ring.push_back(c + (n * std::cos(a) + b * std::sin(a)) * tube);
        }
        rings.push_back(ring);
        axis.push_back(c);
    }
    Mesh mesh;
    JoinRings(mesh, rings, axis);
    return mesh;
}

Mesh Torus(float majorRadius, float minorRadius, int segments, int sides) {
    std::vector<std::vector<sm::Vec3>> rings;
    std::vector<sm::Vec3> axis;
    for (int i = 0; i <= segments; ++i) {
        const float u = 2 * kPi * (i % segments) / segments;
        const sm::Vec3 radial(std::cos(u), std::sin(u), 0);
        const sm::Vec3 c = radial * majorRadius;
        std::vector<sm::Vec3> ring;
        for (int k = 0; k < sides; ++k) {
            const float a = 2 * kPi * k / sides;
            ring.push_back(c + (radial * std::cos(a) + sm::Vec3(0, 0, 1) * std::sin(a)) *
                                   minorRadius);
        }
        rings.push_back(ring);
        axis.push_back(c);
    }
    Mesh mesh;
    JoinRings(mesh, rings, axis);
    return mesh;
}

Mesh Tube(const std::vector<sm::Vec3>& points, float radius, int sides) {
    std::vector<std::vector<sm::Vec3>> rings;
    sm::Vec3 n;
    for (size_t i = 0; i < points.size(); ++i) {
        const sm::Vec3 t = (points[std::min(i + 1, points.size() - 1)] - points[i > 0 ? i - 1 : 0])
                               .GetNormalized();
        // Carry the previous frame along so the tube does not twist.
        n = i == 0 ? Perpendicular(t) : (n - t * Dot(n, t)).GetNormalized();
        const sm::Vec3 b = CrossRH(t, n);
        std::vector<sm::Vec3> ring;
        for (int k = 0; k < sides; ++k) {
            const float a = 2 * kPi * k / sides;
            ring.push_back(points[i] + (n * std::cos(a) + b * std::sin(a)) * radius);
        }
        rings.push_back(ring);
    }
    Mesh mesh;
    JoinRings(mesh, rings, points);
    return mesh;
}

Mesh Box(const sm::Vec3& lo, const sm::Vec3& hi, int div) {
    Mesh mesh;
    const sm::Vec3 c[8] = {{lo.x, lo.y, lo.z}, {hi.x, lo.y, lo.z}, {hi.x, hi.y, lo.z},
                           {lo.x, hi.y, lo.z}, {lo.x, lo.y, hi.z}, {hi.x, lo.y, hi.z},
                           {hi.x, hi.y, hi.z}, {lo.x, hi.y, hi.z}};
    mesh.GridQuad(c[0], c[1], c[2], c[3], div, {0, 0, -1});
    mesh.GridQuad(c[5], c[4], c[7], c[6], div, {0, 0, 1});
    mesh.GridQuad(c[4], c[0], c[3], c[7], div, {-1, 0, 0});
    mesh.GridQuad(c[1], c[5], c[6], c[2], div, {1, 0, 0});
    mesh.GridQuad(c[3], c[2], c[6], c[7], div, {0, 1, 0});
    mesh.GridQuad(c[4], c[5], c[1], c[0], div, {0, -1, 0});
    return mesh;
}

Mesh Cylinder(float radius, float y0, float y1, int sides, int segments) {
    std::vector<std::vector<sm::Vec3>> rings;
    std::vector<sm::Vec3> axis;
    for (int i = 0; i <= segments; ++i) {
        const float y = y0 + (y1 - y0) * i / segments;
        std::vector<sm::Vec3> ring;
        for (int k = 0; k < sides; ++k) {
            const float a = 2 * kPi * k / sides;
            ring.emplace_back(radius * std::cos(a), y, radius * std::sin(a));
        }
        rings.push_back(ring);
        axis.emplace_back(0, y, 0);
    }
    Mesh mesh;
    JoinRings(mesh, rings, axis);
    Cap(mesh, rings.front(), axis.front(), {0, -1, 0});
    Cap(mesh, rings.back(), axis.back(), {0, 1, 0});
    return mesh;
}

Mesh CylinderX(float radius, float halfLength, int sides) {
    Mesh mesh;
    mesh.Append(Cylinder(radius, -halfLength, halfLength, sides, 1), RotateZ(-kPi / 2));
    return mesh;
}

Mesh CrystalTower(float radius, float height, int sides, int segments, float twist) {
    const float shaft = height * 0.78f;
    std::vector<std::vector<sm::Vec3>> rings;
    std::vector<sm::Vec3> axis;
    for (int i = 0; i <= segments; ++i) {
        const float f = static_cast<float>(i) / segments;
        const float y = shaft * f;
        const float r = radius * (1.0f - 0.3f * f);
        std::vector<sm::Vec3> ring;
        for (int k = 0; k < sides; ++k) {
            const float a = 2 * kPi * k / sides + twist * f;
            ring.emplace_back(r * std::cos(a), y, r * std::sin(a));
        }
        rings.push_back(ring);
        axis.emplace_back(0, y, 0);
    }
    Mesh mesh;
    JoinRings(mesh, rings, axis);
    Cap(mesh, rings.front(), axis.front(), {0, -1, 0});
    const sm::Vec3 tip(0, height, 0);
    const std::vector<sm::Vec3>& top = rings.back();
    for (size_t k = 0; k < top.size(); ++k) {
        const sm::Vec3& a = top[k];
        const sm::Vec3& b = top[(k + 1) % top.size()];
        mesh.TriangleFacing(a, b, tip, Centroid(a, b, tip) - sm::Vec3(0, shaft, 0), {0, 0},
                            {1, 0}, {0.5f, 1});
    }
    return mesh;
}

Mesh GridFloor(float size, int lines, float width, int segments) {
    Mesh mesh;
    const float h = size / 2, y = 0.01f, w = width / 2;
    const sm::Vec3 up(0, 1, 0);
    for (int l = 0; l < lines; ++l) {
        const float c = -h + size * l / (lines - 1);
        for (int s = 0; s < segments; ++s) {
            const float a = -h + size * s / segments, b = -h + size * (s + 1) / segments;
            mesh.QuadFacing({a, y, c - w}, {b, y, c - w}, {b, y, c + w}, {a, y, c + w}, up);
            mesh.QuadFacing({c - w, y, a}, {c + w, y, a}, {c + w, y, b}, {c - w, y, b}, up);
        }
    }
    return mesh;
}

Mesh HeightField(float x0, float x1, float z0, float z1, int nx, int nz,
                 const std::function<float(float x, float z)>& height) {
    Mesh mesh;
    auto at = [&](int i, int j) {
        const float x = x0 + (x1 - x0) * i / nx, z = z0 + (z1 - z0) * j / nz;
        return sm::Vec3(x, height(x, z), z);
    };
    for (int j = 0; j < nz; ++j) {
        for (int i = 0; i < nx; ++i) {
            const float u0 = static_cast<float>(i) / nx, u1 = static_cast<float>(i + 1) / nx;
            const float v0 = static_cast<float>(j) / nz, v1 = static_cast<float>(j + 1) / nz;
            mesh.QuadFacing(at(i, j), at(i + 1, j), at(i + 1, j + 1), at(i, j + 1), {0, 1, 0},
                            {u0, v0}, {u1, v0}, {u1, v1}, {u0, v1});
        }
    }
    return mesh;
}

Mesh WaterPlane(float sizeX, float sizeZ, float cell) {
    const int nx = static_cast<int>(std::lround(sizeX / cell));
    const int nz = static_cast<int>(std::lround(sizeZ / cell));
    return HeightField(-sizeX / 2, sizeX / 2, -sizeZ / 2, sizeZ / 2, nx, nz,
                       [](float, float) { return 0.0f; });
}

Mesh CubeCluster(int count, float cube, float spacing, uint32_t seed) {
    Lcg random(seed);
    Mesh mesh;
    const Mesh unit = Box(sm::Vec3(-cube / 2), sm::Vec3(cube / 2), 2);
    const float mid = (count - 1) / 2.0f;
    for (int i = 0; i < count; ++i) {
        for (int j = 0; j < count; ++j) {
            for (int k = 0; k < count; ++k) {
                const sm::Vec3 jitter(random.Range(-0.15f, 0.15f), random.Range(-0.15f, 0.15f),
                                      random.Range(-0.15f, 0.15f));
                const sm::Vec3 at =
                    (sm::Vec3(i - mid, j - mid, k - mid) + jitter) * spacing;
                const sm::Vec3 axis = sm::Vec3(random.Range(-1, 1), random.Range(-1, 1),
                                               random.Range(-1, 1)).GetNormalized();
                const float angle = random.Range(-0.5f, 0.5f);
                const sm::Mat4 turn = axis.Length() > 0 ? sm::Mat4::Rotation(angle, axis)
                                                        : sm::Mat4();
                mesh.Append(unit, Translate(at) * turn);
            }
        }
    }
    return mesh;
}

Mesh RingTiles(float r0, float r1, int rings, int segments, float gap) {
    Mesh mesh;
    const float y = 0.01f;
    for (int i = 0; i < rings; ++i) {
        const float a = r0 + (r1 - r0) * i / rings + gap / 2;
        const float b = r0 + (r1 - r0) * (i + 1) / rings - gap / 2;
        // Stagger alternate rings like laid stones.
        const float offset = (i % 2) * 0.5f;
        for (int s = 0; s < segments; ++s) {
            const float g = gap / (2 * b);
            const float t0 = 2 * kPi * (s + offset) / segments + g;
            const float t1 = 2 * kPi * (s + 1 + offset) / segments - g;
            const sm::Vec3 p0(a * std::cos(t0), y, a * std::sin(t0));
            const sm::Vec3 p1(b * std::cos(t0), y, b * std::sin(t0));
            const sm::Vec3 p2(b * std::cos(t1), y, b * std::sin(t1));
            const sm::Vec3 p3(a * std::cos(t1), y, a * std::sin(t1));
            mesh.QuadFacing(p0, p1, p2, p3, {0, 1, 0});
        }
    }
    return mesh;
}

Mesh Pillar(float width, float height) {
    Mesh mesh;
    const float plinth = 0.3f;
    mesh.Append(Box({-0.7f * width, 0, -0.7f * width}, {0.7f * width, plinth, 0.7f * width}));
    mesh.Append(Cylinder(width / 2, plinth, height - plinth, 8, 6));
    mesh.Append(
        Box({-0.7f * width, height - plinth, -0.7f * width}, {0.7f * width, height, 0.7f * width}));
    return mesh;
}

Mesh Bridge(float halfLength, float deckHeight, float width, float span) {
    Mesh mesh;
    const float thick = 0.6f, w = width / 2;
    // The deck in pieces of about two units, so its wireframe reads along the whole length.
    const int pieces = static_cast<int>(std::lround(halfLength));
    for (int i = 0; i < pieces; ++i) {
        const float a = -halfLength + 2 * halfLength * i / pieces;
        const float b = -halfLength + 2 * halfLength * (i + 1) / pieces;
        mesh.Append(Box({a, deckHeight - thick, -w}, {b, deckHeight, w}));
    }
    const int spans = static_cast<int>(std::lround(2 * halfLength / span));
    for (int i = 0; i <= spans; ++i) {
        const float x = -halfLength + span * i;
        mesh.Append(Box({x - 0.8f, -2.0f, -w + 0.3f}, {x + 0.8f, deckHeight - thick, w - 0.3f}, 2));
    }
    // An arch under each span on both sides, and a railing along both edges.
    for (int i = 0; i < spans; ++i) {
        const float x0 = -halfLength + span * i + 0.8f, x1 = x0 + span - 1.6f;
        for (float z : {-w + 0.3f, w - 0.3f}) {
            std::vector<sm::Vec3> arc;
            for (int k = 0; k <= 16; ++k) {
                const float a = kPi * k / 16;
                arc.emplace_back((x0 + x1) / 2 - (x1 - x0) / 2 * std::cos(a),
                                 deckHeight - thick - 3.5f + 3.3f * std::sin(a), z);
            }
            mesh.Append(Tube(arc, 0.22f, 6));
        }
    }
    for (float z : {-w + 0.1f, w - 0.1f}) {
        std::vector<sm::Vec3> rail;
        for (int k = 0; k <= pieces; ++k)
            rail.emplace_back(-halfLength + 2 * halfLength * k / pieces, deckHeight + 1.0f, z);
        mesh.Append(Tube(rail, 0.06f, 4));
        for (int k = 0; k <= pieces; k += 2) {
            const float x = -halfLength + 2 * halfLength * k / pieces;
            mesh.Append(Box({x - 0.05f, deckHeight, z - 0.05f}, {x + 0.05f, deckHeight + 1.0f,
                                                                 z + 0.05f}));
        }
    }
    return mesh;
}

Mesh Track(const std::vector<sm::Vec3>& centre, float gauge, float sleeperSpacing) {
    Mesh mesh;
    const float railHeight = 0.15f, railWidth = 0.08f;
    const sm::Vec3 up(0, 1, 0);
    auto side = [&](size_t i) {
        const sm::Vec3 t = (centre[std::min(i + 1, centre.size() - 1)] - centre[i > 0 ? i - 1 : 0]);
        return CrossRH(t, up).GetNormalized();  // to the right of the direction of travel
    };
    for (float offset : {-gauge / 2, gauge / 2}) {
        for (size_t i = 0; i + 1 < centre.size(); ++i) {
            const sm::Vec3 s0 = side(i), s1 = side(i + 1);
            const sm::Vec3 a0 = centre[i] + s0 * (offset - railWidth / 2);
            const sm::Vec3 b0 = centre[i] + s0 * (offset + railWidth / 2);
            const sm::Vec3 a1 = centre[i + 1] + s1 * (offset - railWidth / 2);
            const sm::Vec3 b1 = centre[i + 1] + s1 * (offset + railWidth / 2);
            const sm::Vec3 h = up * railHeight;
            mesh.QuadFacing(a0 + h, b0 + h, b1 + h, a1 + h, up);
            mesh.QuadFacing(a0, a0 + h, a1 + h, a1, s0 * -1.0f);
            mesh.QuadFacing(b0, b0 + h, b1 + h, b1, s0);
        }
    }
    const Mesh sleeper = Box({-0.12f, -0.1f, -gauge / 2 - 0.35f}, {0.12f, 0.0f, gauge / 2 + 0.35f});
    float along = 0.0f, next = 0.0f;
    for (size_t i = 0; i + 1 < centre.size(); ++i) {
        const sm::Vec3 d = centre[i + 1] - centre[i];
        const float length = d.Length();
        while (next <= along + length) {
            const float f = (next - along) / length;
            const sm::Vec3 at = Lerp(centre[i], centre[i + 1], f);
            const float yaw = std::atan2(-d.z, d.x);
            mesh.Append(sleeper, Translate(at) * RotateY(yaw));
            next += sleeperSpacing;
        }
        along += length;
    }
    return mesh;
}

}  // namespace show
