// The builder's own triangle soup: three positions per triangle with texture coordinates, the
// shape every model file part and skinned mesh is made from. Triangles are counter-clockwise seen
// from outside, so the face normal points out. Vector helpers here use the textbook cross product
// (a × b), not the engine's reversed one.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "formats/geowriter.h"
#include "math/mat4.h"
#include "math/vec3.h"

namespace show {

struct Uv {
    float u = 0.0f;
    float v = 0.0f;
};

// The textbook right-handed cross product a × b.
inline sm::Vec3 CrossRH(const sm::Vec3& a, const sm::Vec3& b) {
    return sm::Vec3(a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x);
}

// The unit normal of the counter-clockwise triangle (a, b, c); zero when it is degenerate.
inline sm::Vec3 FaceNormal(const sm::Vec3& a, const sm::Vec3& b, const sm::Vec3& c) {
    return CrossRH(b - a, c - a).GetNormalized();
}

inline sm::Vec3 Lerp(const sm::Vec3& a, const sm::Vec3& b, float t) { return a + (b - a) * t; }

class Mesh {
public:
    void Triangle(const sm::Vec3& a, const sm::Vec3& b, const sm::Vec3& c, Uv ta = {0, 0},
                  Uv tb = {1, 0}, Uv tc = {0, 1});
    // a, b, c, d counter-clockwise from outside; split along a–c.
    void Quad(const sm::Vec3& a, const sm::Vec3& b, const sm::Vec3& c, const sm::Vec3& d,
              Uv ta = {0, 0}, Uv tb = {1, 0}, Uv tc = {1, 1}, Uv td = {0, 1});
    // The same, with the winding chosen so that the face normal points along `outward`.
    void TriangleFacing(const sm::Vec3& a, const sm::Vec3& b, const sm::Vec3& c,
                        const sm::Vec3& outward, Uv ta = {0, 0}, Uv tb = {1, 0}, Uv tc = {0, 1});
    void QuadFacing(const sm::Vec3& a, const sm::Vec3& b, const sm::Vec3& c, const sm::Vec3& d,
                    const sm::Vec3& outward, Uv ta = {0, 0}, Uv tb = {1, 0}, Uv tc = {1, 1},
                    Uv td = {0, 1});
    // The quad a, b, c, d split into n × n cells, a → b along the first direction, a → d along the
    // second, each cell facing `outward`.
    void GridQuad(const sm::Vec3& a, const sm::Vec3& b, const sm::Vec3& c, const sm::Vec3& d,
                  int n, const sm::Vec3& outward);

    void Append(const Mesh& other);
    // Appends the other mesh with every position taken through the transform.
    void Append(const Mesh& other, const sm::Mat4& transform);

    int TriangleCount() const { return static_cast<int>(m_positions.size() / 3); }
    const std::vector<sm::Vec3>& Positions() const { return m_positions; }
    const std::vector<Uv>& Coords() const { return m_coords; }

    // Lowest and highest coordinate over all positions (zero for an empty mesh).
    sm::Vec3 Min() const;
    sm::Vec3 Max() const;

private:
    std::vector<sm::Vec3> m_positions;
    std::vector<Uv> m_coords;
};

// Model files keep parts under 65,536 vertices: 16-bit indices.
constexpr int kMaxPartTriangles = 21845;

// A mesh part of vertex type 2 (position, coordinates, normal) with flat face normals. A mesh
// over kMaxPartTriangles is a fatal error: every part of the show must fit one index buffer.
GeoPartDesc ToGeoPart(const Mesh& mesh, const std::string& material);

// Affine helpers, composed right to left like the engine's matrices.
inline sm::Mat4 Translate(const sm::Vec3& t) { return sm::Mat4::Translation(t); }
inline sm::Mat4 Translate(float x, float y, float z) { return sm::Mat4::Translation(x, y, z); }
inline sm::Mat4 RotateX(float a) { return sm::Mat4::Rotation(a, 1, 0, 0); }
inline sm::Mat4 RotateY(float a) { return sm::Mat4::Rotation(a, 0, 1, 0); }
inline sm::Mat4 RotateZ(float a) { return sm::Mat4::Rotation(a, 0, 0, 1); }
inline sm::Mat4 ScaleBy(float s) { return sm::Mat4::Scale(s, s, s); }

constexpr float kPi = 3.14159265358979f;

// A small deterministic generator for the builder's own scatter (sizes, jitter, texture noise),
// so the output never depends on the process, the clock or the engine's generator.
class Lcg {
public:
    explicit Lcg(uint32_t seed) : m_state(seed * 2654435761u + 1u) {}
    uint32_t Next() {
        m_state = m_state * 1664525u + 1013904223u;
        return m_state;
    }
    // In [0, 1).
    float Uniform() { return static_cast<float>(Next() >> 8) / 16777216.0f; }
    float Range(float lo, float hi) { return lo + (hi - lo) * Uniform(); }

private:
    uint32_t m_state;
};

}  // namespace show
