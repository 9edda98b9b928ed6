#include "show/text.h"

#include <cstdio>
#include <cstdlib>

#include "typography.h"

namespace show {

namespace {

const Typeface& BoldFace() {
    static Typeface* face = [] {
        auto* f = new Typeface;
        std::string error;
        if (!f->OpenNamed(kBoldFontFile, &error)) {
            std::fprintf(stderr, "pindle-content: %s\n", error.c_str());
            std::exit(1);
        }
        return f;
    }();
    return *face;
}

// Splits a triangle into four at its edge midpoints, keeping its winding.
void Subdivided(Mesh& mesh, const sm::Vec3& a, const sm::Vec3& b, const sm::Vec3& c) {
    const sm::Vec3 ab = Lerp(a, b, 0.5f), bc = Lerp(b, c, 0.5f), ca = Lerp(c, a, 0.5f);
    mesh.Triangle(a, ab, ca);
    mesh.Triangle(ab, b, bc);
    mesh.Triangle(ca, bc, c);
    mesh.Triangle(ab, bc, ca);
}

}  // namespace

Mesh TextMesh(const std::string& text, float height) {
    ExtrudeOptions options;
    options.capHeight = height;
    options.depth = height / 7.0f;
    options.tracking = 0.08f;
    const ::TextMesh glyphs = ExtrudeText(BoldFace(), text, options);
    Mesh mesh;
    for (const TextTriangle& t : glyphs.triangles) Subdivided(mesh, t.v[0], t.v[1], t.v[2]);
    return mesh;
}

}  // namespace show
