// The show's procedural shapes. Each is built around its own origin in world units (about a
// metre); scenes place them with a transform. Counts are given so scenes can keep the frame
// under its triangle budget.
#pragma once

#include <functional>
#include <vector>

#include "show/mesh.h"

namespace show {

// Subdivided icosahedron on a sphere: 20 · 4^subdivisions triangles.
Mesh IcoSphere(float radius, int subdivisions);

// A (p, q) torus knot: the tube of radius `tube` around the curve on a torus of radii R and r,
// lying in the xy plane. segments × sides × 2 triangles.
Mesh TorusKnot(int p, int q, float R, float r, float tube, int segments, int sides);

// A ring in the xy plane (its hole faces ±z). segments × sides × 2 triangles.
Mesh Torus(float majorRadius, float minorRadius, int segments, int sides);

// A tube of the given radius along a polyline, open at both ends. (points − 1) × sides × 2.
Mesh Tube(const std::vector<sm::Vec3>& points, float radius, int sides);

// An axis-aligned box, every face split into div × div cells: 12 · div² triangles.
Mesh Box(const sm::Vec3& lo, const sm::Vec3& hi, int div = 1);

// A closed cylinder along +y from y0 to y1 with `segments` bands: sides × (2 · segments + 2).
Mesh Cylinder(float radius, float y0, float y1, int sides, int segments);

// A cylinder along +x (a wheel or a boiler) centred on the origin.
Mesh CylinderX(float radius, float halfLength, int sides);

// A crystal tower standing on y = 0: a prism of `sides` faces in `segments` bands, narrowing and
// twisting as it rises, with a pointed tip. sides × (2 · segments + 2) triangles.
Mesh CrystalTower(float radius, float height, int sides, int segments, float twist);

// Glowing floor lines on y = 0.01: `lines` lines each way across a square of the given size,
// each line a strip of `width` in `segments` pieces. 2 · lines · segments · 2 triangles.
Mesh GridFloor(float size, int lines, float width, int segments);

// A height field over [x0, x1] × [z0, z1] in nx × nz cells: nx · nz · 2 triangles.
Mesh HeightField(float x0, float x1, float z0, float z1, int nx, int nz,
                 const std::function<float(float x, float z)>& height);

// A flat water plane on y = 0 in cells of about `cell` units.
Mesh WaterPlane(float sizeX, float sizeZ, float cell);

// A cluster of count³ cubes on a jittered, gently turned lattice around the origin; each face
// in 2 × 2 cells, so 48 triangles a cube.
Mesh CubeCluster(int count, float cube, float spacing, uint32_t seed);

// Concentric rings of floor tiles between r0 and r1 on y = 0.01, with a gap between tiles:
// rings × segments × 2 triangles.
Mesh RingTiles(float r0, float r1, int rings, int segments, float gap);

// A square pillar with a plinth and a cap, standing on y = 0.
Mesh Pillar(float width, float height);

// A bridge deck along x from −halfLength to halfLength, its top at deckHeight, with piers every
// `span` units reaching down to y = −2 and an arch under each span.
Mesh Bridge(float halfLength, float deckHeight, float width, float span);

// Two rails and sleepers along a polyline of track-centre points (the rails' foot on them).
Mesh Track(const std::vector<sm::Vec3>& centre, float gauge, float sleeperSpacing);

}  // namespace show
