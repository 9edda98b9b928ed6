#include "show/mesh.h"

#include <algorithm>

#include "base/assert.h"

namespace show {

void Mesh::Triangle(const sm::Vec3& a, const sm::Vec3& b, const sm::Vec3& c, Uv ta, Uv tb, Uv tc) {
    m_positions.push_back(a);
    m_positions.push_back(b);
    m_positions.push_back(c);
    m_coords.push_back(ta);
    m_coords.push_back(tb);
    m_coords.push_back(tc);
}

void Mesh::Quad(const sm::Vec3& a, const sm::Vec3& b, const sm::Vec3& c, const sm::Vec3& d, Uv ta,
                Uv tb, Uv tc, Uv td) {
    Triangle(a, b, c, ta, tb, tc);
    Triangle(a, c, d, ta, tc, td);
}

void Mesh::TriangleFacing(const sm::Vec3& a, const sm::Vec3& b, const sm::Vec3& c,
                          const sm::Vec3& outward, Uv ta, Uv tb, Uv tc) {
    if (Dot(CrossRH(b - a, c - a), outward) < 0.0f) {
        Triangle(a, c, b, ta, tc, tb);
    } else {
        Triangle(a, b, c, ta, tb, tc);
    }
}

void Mesh::QuadFacing(const sm::Vec3& a, const sm::Vec3& b, const sm::Vec3& c, const sm::Vec3& d,
                      const sm::Vec3& outward, Uv ta, Uv tb, Uv tc, Uv td) {
    TriangleFacing(a, b, c, outward, ta, tb, tc);
    TriangleFacing(a, c, d, outward, ta, tc, td);
}

void Mesh::GridQuad(const sm::Vec3& a, const sm::Vec3& b, const sm::Vec3& c, const sm::Vec3& d,
                    int n, const sm::Vec3& outward) {
    // Bilinear corners: a (0, 0), b (1, 0), c (1, 1), d (0, 1).
    auto at = [&](float s, float t) { return Lerp(Lerp(a, b, s), Lerp(d, c, s), t); };
    for (int j = 0; j < n; ++j) {
        for (int i = 0; i < n; ++i) {
            const float s0 = static_cast<float>(i) / n, s1 = static_cast<float>(i + 1) / n;
            const float t0 = static_cast<float>(j) / n, t1 = static_cast<float>(j + 1) / n;
            QuadFacing(at(s0, t0), at(s1, t0), at(s1, t1), at(s0, t1), outward, {s0, t0}, {s1, t0},
                       {s1, t1}, {s0, t1});
        }
    }
}

void Mesh::Append(const Mesh& other) {
    m_positions.insert(m_positions.end(), other.m_positions.begin(), other.m_positions.end());
    m_coords.insert(m_coords.end(), other.m_coords.begin(), other.m_coords.end());
}

void Mesh::Append(const Mesh& other, const sm::Mat4& transform) {
    for (const sm::Vec3& p : other.m_positions) m_positions.push_back(transform.TransformPoint(p));
    m_coords.insert(m_coords.end(), other.m_coords.begin(), other.m_coords.end());
}

sm::Vec3 Mesh::Min() const {
    if (m_positions.empty()) return sm::Vec3();
    sm::Vec3 r = m_positions[0];
    for (const sm::Vec3& p : m_positions) {
        r.x = std::min(r.x, p.x);
        r.y = std::min(r.y, p.y);
        r.z = std::min(r.z, p.z);
    }
    return r;
}

sm::Vec3 Mesh::Max() const {
    if (m_positions.empty()) return sm::Vec3();
    sm::Vec3 r = m_positions[0];
    for (const sm::Vec3& p : m_positions) {
        r.x = std::max(r.x, p.x);
        r.y = std::max(r.y, p.y);
        r.z = std::max(r.z, p.z);
    }
    return r;
}

GeoPartDesc ToGeoPart(const Mesh& mesh, const std::string& material) {
    if (mesh.TriangleCount() > kMaxPartTriangles) {
        ReportFatal("mesh part of " + std::to_string(mesh.TriangleCount()) +
                    " triangles, more than 16-bit indices reach");
    }
    GeoPartDesc part;
    part.materialName = material;
    part.vertexType = 2;  // position, coordinates, normal
    const std::vector<sm::Vec3>& p = mesh.Positions();
    const std::vector<Uv>& uv = mesh.Coords();
    part.vertices.reserve(p.size() * 8);
    for (size_t t = 0; t + 2 < p.size(); t += 3) {
        const sm::Vec3 n = FaceNormal(p[t], p[t + 1], p[t + 2]);
        for (size_t k = t; k < t + 3; ++k) {
            part.vertices.insert(part.vertices.end(),
                                 {p[k].x, p[k].y, p[k].z, uv[k].u, uv[k].v, n.x, n.y, n.z});
        }
    }
    return part;
}

}  // namespace show
