#include "typography.h"

#include <GL/glu.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <deque>
#include <limits>
#include <sys/stat.h>

struct Typeface::Impl {
    FT_Library library = nullptr;
    FT_Face face = nullptr;
    ~Impl() {
        if (face) FT_Done_Face(face);
        if (library) FT_Done_FreeType(library);
    }
};

Typeface::Typeface() = default;
Typeface::~Typeface() = default;

bool Typeface::IsOpen() const { return m_impl && m_impl->face; }

bool Typeface::Open(const std::string& path, std::string* error) {
    auto impl = std::make_unique<Impl>();
    if (FT_Init_FreeType(&impl->library) != 0) {
        *error = "cannot start FreeType";
        return false;
    }
    if (FT_New_Face(impl->library, path.c_str(), 0, &impl->face) != 0) {
        impl->face = nullptr;
        *error = "cannot open the font " + path;
        return false;
    }
    if (!FT_IS_SCALABLE(impl->face)) {
        *error = "the font " + path + " has no outlines";
        return false;
    }
    m_impl = std::move(impl);
    return true;
}

bool Typeface::OpenNamed(const std::string& fileName, std::string* error) {
    const std::string path = FindFontFile(fileName, error);
    return !path.empty() && Open(path, error);
}

std::vector<std::string> FontSearchFolders() {
    std::vector<std::string> folders;
    if (const char* dir = std::getenv("PINDLE_FONT_DIR"); dir && *dir) folders.push_back(dir);
    for (const char* dir : {"/usr/share/fonts/truetype/dejavu", "/usr/share/fonts/dejavu",
                            "/usr/share/fonts/TTF", "/usr/share/fonts/truetype",
                            "/usr/local/share/fonts"})
        folders.push_back(dir);
    return folders;
}

std::string FindFontFile(const std::string& fileName, std::string* error) {
    std::string tried;
    for (const std::string& folder : FontSearchFolders()) {
        const std::string path = folder + "/" + fileName;
        struct stat st;
        if (stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode)) return path;
        tried += (tried.empty() ? "" : ", ") + path;
    }
    *error = "font " + fileName + " not found (tried " + tried +
             "; install fonts-dejavu-core or set PINDLE_FONT_DIR)";
    return "";
}

namespace {

// Decodes UTF-8; malformed bytes are skipped.
std::vector<uint32_t> DecodeUtf8(const std::string& text) {
    std::vector<uint32_t> out;
    for (size_t i = 0; i < text.size();) {
        const auto c = static_cast<unsigned char>(text[i]);
        int extra = c < 0x80 ? 0 : (c >> 5) == 6 ? 1 : (c >> 4) == 14 ? 2 : (c >> 3) == 30 ? 3 : -1;
        if (extra < 0 || i + extra >= text.size()) {
            ++i;
            continue;
        }
        uint32_t code = extra == 0 ? c : c & (0x3F >> extra);
        bool ok = true;
        for (int k = 1; k <= extra; ++k) {
            const auto d = static_cast<unsigned char>(text[i + k]);
            if ((d >> 6) != 2) ok = false;
            code = (code << 6) | (d & 0x3F);
        }
        i += ok ? extra + 1 : 1;
        if (ok) out.push_back(code);
    }
    return out;
}

// ---- Outlines --------------------------------------------------------------------------------

struct P2 {
    double x, y;
};
using Contour = std::vector<P2>;

struct OutlineSink {
    std::vector<Contour>* contours;
    double dx;         // pen position of the glyph, font units
    double tolerance;  // largest flattening error, font units
    P2 last{0, 0};

    P2 At(const FT_Vector* v) const { return {v->x + dx, static_cast<double>(v->y)}; }
    void Add(P2 p) {
        contours->back().push_back(p);
        last = p;
    }
};

int SegmentsFor(double deviation, double tolerance) {
    if (deviation <= tolerance) return 1;
    return std::clamp(static_cast<int>(std::ceil(std::sqrt(deviation / tolerance))), 1, 64);
}

int MoveTo(const FT_Vector* to, void* user) {
    auto* s = static_cast<OutlineSink*>(user);
    s->contours->emplace_back();
    s->Add(s->At(to));
    return 0;
}

int LineTo(const FT_Vector* to, void* user) {
    auto* s = static_cast<OutlineSink*>(user);
    s->Add(s->At(to));
    return 0;
}

int ConicTo(const FT_Vector* control, const FT_Vector* to, void* user) {
    auto* s = static_cast<OutlineSink*>(user);
    const P2 a = s->last, b = s->At(control), c = s->At(to);
    // The chord error of n equal steps is |a - 2b + c| / (4 n²).
    const double dev = std::hypot(a.x - 2 * b.x + c.x, a.y - 2 * b.y + c.y) / 4;
    const int n = SegmentsFor(dev, s->tolerance);
    for (int i = 1; i <= n; ++i) {
        const double t = static_cast<double>(i) / n, u = 1 - t;
        s->Add({u * u * a.x + 2 * u * t * b.x + t * t * c.x,
                u * u * a.y + 2 * u * t * b.y + t * t * c.y});
    }
    return 0;
}

int CubicTo(const FT_Vector* c1, const FT_Vector* c2, const FT_Vector* to, void* user) {
    auto* s = static_cast<OutlineSink*>(user);
    const P2 a = s->last, b = s->At(c1), c = s->At(c2), d = s->At(to);
    // Second differences bound the curvature; the chord error is at most 3·max / (4 n²).
    const double m = std::max(std::hypot(a.x - 2 * b.x + c.x, a.y - 2 * b.y + c.y),
                              std::hypot(b.x - 2 * c.x + d.x, b.y - 2 * c.y + d.y));
    const int n = SegmentsFor(0.75 * m, s->tolerance);
    for (int i = 1; i <= n; ++i) {
        const double t = static_cast<double>(i) / n, u = 1 - t;
        s->Add({u * u * u * a.x + 3 * u * u * t * b.x + 3 * u * t * t * c.x + t * t * t * d.x,
                u * u * u * a.y + 3 * u * u * t * b.y + 3 * u * t * t * c.y + t * t * t * d.y});
    }
    return 0;
}

double SignedArea(const Contour& c) {
    double a = 0;
    for (size_t i = 0, j = c.size() - 1; i < c.size(); j = i++)
        a += c[j].x * c[i].y - c[i].x * c[j].y;
    return a / 2;
}

// Drops repeated points and points that lie on the segment between their neighbours, so that
// the tessellator never sees zero-length edges or makes zero-area triangles along straight sides.
void CleanContour(Contour* c, double epsilon) {
    auto same = [epsilon](P2 a, P2 b) {
        return std::abs(a.x - b.x) <= epsilon && std::abs(a.y - b.y) <= epsilon;
    };
    Contour out;
    for (const P2& p : *c)
        if (out.empty() || !same(out.back(), p)) out.push_back(p);
    while (out.size() > 1 && same(out.front(), out.back())) out.pop_back();
    bool changed = true;
    while (changed && out.size() >= 3) {
        changed = false;
        for (size_t i = 0; i < out.size() && out.size() >= 3;) {
            const size_t n = out.size();
            const P2 prev = out[(i + n - 1) % n], p = out[i], next = out[(i + 1) % n];
            const double ex = next.x - prev.x, ey = next.y - prev.y;
            const double len = std::hypot(ex, ey);
            const double cross = (p.x - prev.x) * ey - (p.y - prev.y) * ex;
            const double along = (p.x - prev.x) * ex + (p.y - prev.y) * ey;
            if (len > 0 && std::abs(cross) <= epsilon * len && along >= 0 && along <= len * len) {
                out.erase(out.begin() + static_cast<std::ptrdiff_t>(i));
                changed = true;
            } else {
                ++i;
            }
        }
    }
    *c = out.size() >= 3 ? std::move(out) : Contour{};
}

// ---- Tessellation ----------------------------------------------------------------------------

struct TessVertex {
    GLdouble xyz[3];
};

struct Tess {
    GLUtesselator* tess = gluNewTess();
    std::deque<TessVertex> vertices;  // stable addresses for the tessellator
    std::vector<std::vector<const TessVertex*>> loops;
    std::vector<const TessVertex*> triangleCorners;
    GLenum failure = 0;
    bool boundaryOnly = false;
    ~Tess() { gluDeleteTess(tess); }

    const TessVertex* Add(double x, double y) {
        vertices.push_back({{x, y, 0}});
        return &vertices.back();
    }
};

using Callback = void (*)();

void GLAPIENTRY OnBegin(GLenum type, void* user) {
    auto* t = static_cast<Tess*>(user);
    if (type == GL_LINE_LOOP) t->loops.emplace_back();
}

void GLAPIENTRY OnVertex(void* vertex, void* user) {
    auto* t = static_cast<Tess*>(user);
    const auto* v = static_cast<const TessVertex*>(vertex);
    // In boundary mode vertices go to the current loop, otherwise to the triangle list.
    if (t->boundaryOnly)
        t->loops.back().push_back(v);
    else
        t->triangleCorners.push_back(v);
}

void GLAPIENTRY OnEdgeFlag(GLboolean, void*) {}  // asks the tessellator for plain triangles

void GLAPIENTRY OnCombine(GLdouble coords[3], void*[4], GLfloat[4], void** out, void* user) {
    auto* t = static_cast<Tess*>(user);
    // Stored as float values, like every other vertex, so the mesh's corners match exactly.
    *out = const_cast<TessVertex*>(
        t->Add(static_cast<float>(coords[0]), static_cast<float>(coords[1])));
}

void GLAPIENTRY OnError(GLenum error, void* user) { static_cast<Tess*>(user)->failure = error; }

void SetCallbacks(Tess* t) {
    gluTessCallback(t->tess, GLU_TESS_BEGIN_DATA, reinterpret_cast<Callback>(OnBegin));
    gluTessCallback(t->tess, GLU_TESS_VERTEX_DATA, reinterpret_cast<Callback>(OnVertex));
    gluTessCallback(t->tess, GLU_TESS_EDGE_FLAG_DATA, reinterpret_cast<Callback>(OnEdgeFlag));
    gluTessCallback(t->tess, GLU_TESS_COMBINE_DATA, reinterpret_cast<Callback>(OnCombine));
    gluTessCallback(t->tess, GLU_TESS_ERROR_DATA, reinterpret_cast<Callback>(OnError));
    gluTessNormal(t->tess, 0, 0, 1);
}

template <typename Loops, typename Emit>
void Feed(Tess* t, const Loops& loops, Emit emit) {
    gluTessBeginPolygon(t->tess, t);
    for (const auto& loop : loops) {
        gluTessBeginContour(t->tess);
        for (const auto& p : loop) emit(p);
        gluTessEndContour(t->tess);
    }
    gluTessEndPolygon(t->tess);
}

struct Triangle2 {
    P2 p[3];
};

double Area(const Triangle2& t) {
    return (t.p[1].x - t.p[0].x) * (t.p[2].y - t.p[0].y) -
           (t.p[1].y - t.p[0].y) * (t.p[2].x - t.p[0].x);
}

bool Same(P2 a, P2 b) { return a.x == b.x && a.y == b.y; }

// The tessellator joins corners that lie exactly in line (the straight stems of neighbouring
// contours) into triangles of zero area. Each such triangle has one corner m on its long edge
// a-b; the triangle on the other side of a-b is split at m instead, and the flat one dropped.
// The face then covers the same area with the same boundary, and every triangle has a winding.
void RemoveFlatTriangles(std::vector<Triangle2>* tris) {
    for (int guard = 0; guard < 100000; ++guard) {
        size_t flat = tris->size();
        for (size_t i = 0; i < tris->size() && flat == tris->size(); ++i)
            if (Area((*tris)[i]) == 0) flat = i;
        if (flat == tris->size()) return;
        const Triangle2 t = (*tris)[flat];
        // The middle corner lies between the other two along the line.
        int mid = 0;
        for (int k = 0; k < 3; ++k) {
            const P2 m = t.p[k], a = t.p[(k + 1) % 3], b = t.p[(k + 2) % 3];
            if ((m.x - a.x) * (b.x - a.x) + (m.y - a.y) * (b.y - a.y) >= 0 &&
                (m.x - b.x) * (a.x - b.x) + (m.y - b.y) * (a.y - b.y) >= 0)
                mid = k;
        }
        const P2 m = t.p[mid], a = t.p[(mid + 1) % 3], b = t.p[(mid + 2) % 3];
        bool split = false;
        for (size_t j = 0; j < tris->size() && !split; ++j) {
            if (j == flat || Area((*tris)[j]) == 0) continue;
            Triangle2& n = (*tris)[j];
            for (int k = 0; k < 3 && !split; ++k) {
                const P2 p = n.p[k], q = n.p[(k + 1) % 3], x = n.p[(k + 2) % 3];
                if ((Same(p, a) && Same(q, b)) || (Same(p, b) && Same(q, a))) {
                    n = Triangle2{{p, m, x}};
                    (*tris)[flat] = Triangle2{{m, q, x}};
                    split = true;
                }
            }
        }
        // A flat triangle with no neighbour would be a hole in the outline itself; drop it.
        if (!split) tris->erase(tris->begin() + static_cast<std::ptrdiff_t>(flat));
    }
}

float CapHeightUnits(FT_Face face) {
    const FT_UInt h = FT_Get_Char_Index(face, 'H');
    if (h != 0 && FT_Load_Glyph(face, h, FT_LOAD_NO_SCALE | FT_LOAD_NO_BITMAP) == 0 &&
        face->glyph->format == FT_GLYPH_FORMAT_OUTLINE) {
        FT_BBox box;
        FT_Outline_Get_CBox(&face->glyph->outline, &box);
        if (box.yMax > 0) return static_cast<float>(box.yMax);
    }
    return 0.7f * face->units_per_EM;
}

}  // namespace

TextMesh ExtrudeText(const Typeface& typeface, const std::string& text,
                     const ExtrudeOptions& options) {
    TextMesh mesh;
    if (!typeface.IsOpen()) return mesh;
    FT_Face face = typeface.impl()->face;
    const double capUnits = CapHeightUnits(face);
    const double scale = options.capHeight / capUnits;

    // Outlines of every glyph along the pen, in font units.
    std::vector<Contour> contours;
    FT_Outline_Funcs funcs{MoveTo, LineTo, ConicTo, CubicTo, 0, 0};
    double pen = 0;
    FT_UInt previous = 0;
    for (uint32_t code : DecodeUtf8(text)) {
        const FT_UInt glyph = FT_Get_Char_Index(face, code);
        if (glyph == 0) continue;
        if (previous != 0 && FT_HAS_KERNING(face)) {
            FT_Vector kern;
            if (FT_Get_Kerning(face, previous, glyph, FT_KERNING_UNSCALED, &kern) == 0)
                pen += kern.x;
        }
        previous = glyph;
        if (FT_Load_Glyph(face, glyph, FT_LOAD_NO_SCALE | FT_LOAD_NO_BITMAP) != 0) continue;
        if (face->glyph->format == FT_GLYPH_FORMAT_OUTLINE) {
            OutlineSink sink{&contours, pen, options.flatness * capUnits};
            FT_Outline_Decompose(&face->glyph->outline, &funcs, &sink);
        }
        pen += face->glyph->advance.x + options.tracking * capUnits;
    }

    // Into output units as float values: every corner of the mesh is one of these exactly.
    double minX = std::numeric_limits<double>::max(), maxX = -minX;
    for (Contour& c : contours) {
        CleanContour(&c, 0.02);
        for (const P2& p : c) {
            minX = std::min(minX, p.x);
            maxX = std::max(maxX, p.x);
        }
    }
    contours.erase(std::remove_if(contours.begin(), contours.end(),
                                  [](const Contour& c) { return c.empty() || SignedArea(c) == 0; }),
                   contours.end());
    if (contours.empty()) return mesh;
    const double centre = (minX + maxX) / 2;
    for (Contour& c : contours)
        for (P2& p : c) {
            p.x = static_cast<float>((p.x - centre) * scale);
            p.y = static_cast<float>(p.y * scale);
        }

    // First pass: the boundary of the filled area under the odd rule, as loops with the filled
    // side on their left (outer loops counter-clockwise, holes clockwise). Overlapping contours
    // are resolved here.
    Tess boundary;
    SetCallbacks(&boundary);
    gluTessProperty(boundary.tess, GLU_TESS_WINDING_RULE, GLU_TESS_WINDING_ODD);
    gluTessProperty(boundary.tess, GLU_TESS_BOUNDARY_ONLY, GL_TRUE);
    boundary.boundaryOnly = true;
    Feed(&boundary, contours, [&](const P2& p) {
        const TessVertex* v = boundary.Add(p.x, p.y);
        gluTessVertex(boundary.tess, const_cast<GLdouble*>(v->xyz), const_cast<TessVertex*>(v));
    });
    if (boundary.failure != 0) return mesh;

    std::vector<Contour> loops;
    for (const auto& loop : boundary.loops) {
        Contour c;
        for (const TessVertex* v : loop) {
            const P2 p{v->xyz[0], v->xyz[1]};
            if (!c.empty() && c.back().x == p.x && c.back().y == p.y) continue;
            c.push_back(p);
        }
        while (c.size() > 1 && c.front().x == c.back().x && c.front().y == c.back().y) c.pop_back();
        if (c.size() >= 3) loops.push_back(std::move(c));
    }

    // Second pass: triangles of the face, from exactly the loops the walls are built on.
    Tess fill;
    SetCallbacks(&fill);
    gluTessProperty(fill.tess, GLU_TESS_WINDING_RULE, GLU_TESS_WINDING_ODD);
    Feed(&fill, loops, [&](const P2& p) {
        const TessVertex* v = fill.Add(p.x, p.y);
        gluTessVertex(fill.tess, const_cast<GLdouble*>(v->xyz), const_cast<TessVertex*>(v));
    });
    if (fill.failure != 0) return mesh;

    const float zf = options.depth / 2, zb = -options.depth / 2;
    auto add = [&](sm::Vec3 a, sm::Vec3 b, sm::Vec3 c, TextFace f) {
        mesh.triangles.push_back(TextTriangle{{a, b, c}});
        mesh.faces.push_back(f);
    };
    std::vector<Triangle2> fillTriangles;
    const auto& corners = fill.triangleCorners;
    for (size_t i = 0; i + 2 < corners.size(); i += 3) {
        Triangle2 t{{{corners[i]->xyz[0], corners[i]->xyz[1]},
                     {corners[i + 1]->xyz[0], corners[i + 1]->xyz[1]},
                     {corners[i + 2]->xyz[0], corners[i + 2]->xyz[1]}}};
        if (Area(t) < 0) std::swap(t.p[1], t.p[2]);
        fillTriangles.push_back(t);
    }
    RemoveFlatTriangles(&fillTriangles);
    auto at = [](P2 p, float z) {
        return sm::Vec3(static_cast<float>(p.x), static_cast<float>(p.y), z);
    };
    for (const Triangle2& t : fillTriangles) {
        add(at(t.p[0], zf), at(t.p[1], zf), at(t.p[2], zf), TextFace::Front);
        add(at(t.p[0], zb), at(t.p[2], zb), at(t.p[1], zb), TextFace::Back);
    }
    // Walls: the filled side is on each loop's left, so outside is on its right.
    for (const Contour& loop : loops) {
        for (size_t i = 0; i < loop.size(); ++i) {
            const P2 p = loop[i], q = loop[(i + 1) % loop.size()];
            const sm::Vec3 af(p.x, p.y, zf), ab(p.x, p.y, zb);
            const sm::Vec3 bf(q.x, q.y, zf), bb(q.x, q.y, zb);
            add(af, ab, bb, TextFace::Side);
            add(af, bb, bf, TextFace::Side);
        }
    }

    TextBounds& b = mesh.bounds;
    b.min = sm::Vec3(std::numeric_limits<float>::max());
    b.max = sm::Vec3(-std::numeric_limits<float>::max());
    for (const TextTriangle& t : mesh.triangles)
        for (const sm::Vec3& v : t.v) {
            b.min = sm::Vec3(std::min(b.min.x, v.x), std::min(b.min.y, v.y), std::min(b.min.z, v.z));
            b.max = sm::Vec3(std::max(b.max.x, v.x), std::max(b.max.y, v.y), std::max(b.max.z, v.z));
        }
    return mesh;
}

TextBitmap RenderText(const Typeface& typeface, const std::string& text, int pixelSize,
                      float tracking, int pad) {
    TextBitmap out;
    if (!typeface.IsOpen() || pixelSize <= 0) return out;
    FT_Face face = typeface.impl()->face;
    if (FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(pixelSize)) != 0) return out;

    struct Placed {
        int x, y, w, h;  // y: top of the bitmap above the baseline
        std::vector<uint8_t> pixels;
    };
    std::vector<Placed> glyphs;
    double pen = 0;
    FT_UInt previous = 0;
    for (uint32_t code : DecodeUtf8(text)) {
        const FT_UInt glyph = FT_Get_Char_Index(face, code);
        if (glyph == 0) continue;
        if (previous != 0 && FT_HAS_KERNING(face)) {
            FT_Vector kern;
            if (FT_Get_Kerning(face, previous, glyph, FT_KERNING_DEFAULT, &kern) == 0)
                pen += kern.x / 64.0;
        }
        previous = glyph;
        if (FT_Load_Glyph(face, glyph, FT_LOAD_TARGET_LIGHT) != 0) continue;
        if (FT_Render_Glyph(face->glyph, FT_RENDER_MODE_NORMAL) != 0) continue;
        const FT_Bitmap& bm = face->glyph->bitmap;
        Placed p{static_cast<int>(std::lround(pen)) + face->glyph->bitmap_left,
                 face->glyph->bitmap_top, static_cast<int>(bm.width), static_cast<int>(bm.rows),
                 {}};
        p.pixels.resize(static_cast<size_t>(p.w) * p.h);
        for (int y = 0; y < p.h; ++y)
            for (int x = 0; x < p.w; ++x)
                p.pixels[static_cast<size_t>(y) * p.w + x] = bm.buffer[y * bm.pitch + x];
        if (p.w > 0 && p.h > 0) glyphs.push_back(std::move(p));
        pen += face->glyph->advance.x / 64.0 + tracking;
    }
    if (glyphs.empty()) return out;

    int left = std::numeric_limits<int>::max(), right = std::numeric_limits<int>::min();
    int top = std::numeric_limits<int>::min(), bottom = std::numeric_limits<int>::max();
    for (const Placed& p : glyphs) {
        left = std::min(left, p.x);
        right = std::max(right, p.x + p.w);
        top = std::max(top, p.y);
        bottom = std::min(bottom, p.y - p.h);
    }
    out.width = right - left + 2 * pad;
    out.height = top - bottom + 2 * pad;
    out.baseline = top + pad;
    out.coverage.assign(static_cast<size_t>(out.width) * out.height, 0);
    for (const Placed& p : glyphs) {
        const int ox = p.x - left + pad, oy = top - p.y + pad;
        for (int y = 0; y < p.h; ++y)
            for (int x = 0; x < p.w; ++x) {
                uint8_t& dst = out.coverage[static_cast<size_t>(oy + y) * out.width + ox + x];
                dst = static_cast<uint8_t>(std::min(255, dst + p.pixels[static_cast<size_t>(y) * p.w + x]));
            }
    }
    return out;
}
