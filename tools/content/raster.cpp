#include "raster.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <map>
#include <tuple>
#include <utility>

float Hash01(uint32_t n, uint32_t seed) {
    uint32_t h = n * 0x9E3779B1u ^ (seed + 0x7F4A7C15u) * 0x85EBCA77u;
    h ^= h >> 16;
    h *= 0x7FEB352Du;
    h ^= h >> 15;
    h *= 0x846CA68Bu;
    h ^= h >> 16;
    return static_cast<float>(h >> 8) / static_cast<float>(1u << 24);
}

Canvas::Canvas(int width, int height)
    : m_width(width), m_height(height), m_pixels(static_cast<size_t>(width) * height) {}

void Canvas::Line(float x0, float y0, float x1, float y1, Rgb colour, float width) {
    const float half = width / 2;
    const int xa = std::max(0, static_cast<int>(std::floor(std::min(x0, x1) - half - 1)));
    const int xb = std::min(m_width - 1, static_cast<int>(std::ceil(std::max(x0, x1) + half + 1)));
    const int ya = std::max(0, static_cast<int>(std::floor(std::min(y0, y1) - half - 1)));
    const int yb = std::min(m_height - 1, static_cast<int>(std::ceil(std::max(y0, y1) + half + 1)));
    const float dx = x1 - x0, dy = y1 - y0, len2 = dx * dx + dy * dy;
    for (int y = ya; y <= yb; ++y) {
        for (int x = xa; x <= xb; ++x) {
            const float px = x + 0.5f - x0, py = y + 0.5f - y0;
            const float t = len2 > 0 ? std::clamp((px * dx + py * dy) / len2, 0.0f, 1.0f) : 0.0f;
            const float ex = px - t * dx, ey = py - t * dy;
            const float d = std::sqrt(ex * ex + ey * ey);
            // Thin lines keep their brightness per unit length by fading rather than vanishing.
            const float cover = std::clamp(half + 0.5f - d, 0.0f, 1.0f) * std::min(1.0f, width);
            if (cover > 0) Add(x, y, colour * cover);
        }
    }
}

void Canvas::Spot(float cx, float cy, float radius, Rgb colour) {
    const float reach = radius * 3.5f;
    const int xa = std::max(0, static_cast<int>(cx - reach)), xb = std::min(m_width - 1, static_cast<int>(cx + reach));
    const int ya = std::max(0, static_cast<int>(cy - reach)), yb = std::min(m_height - 1, static_cast<int>(cy + reach));
    const float k = 1.0f / (2 * radius * radius);
    for (int y = ya; y <= yb; ++y)
        for (int x = xa; x <= xb; ++x) {
            const float dx = x + 0.5f - cx, dy = y + 0.5f - cy;
            Add(x, y, colour * std::exp(-(dx * dx + dy * dy) * k));
        }
}

void Canvas::Text(const TextBitmap& text, int x, int y, Rgb colour) {
    for (int j = 0; j < text.height; ++j)
        for (int i = 0; i < text.width; ++i) {
            const uint8_t c = text.coverage[static_cast<size_t>(j) * text.width + i];
            if (c) Add(x + i, y + j, colour * (c / 255.0f));
        }
}

void Canvas::AddCanvas(const Canvas& other, int x, int y, float gain) {
    for (int j = 0; j < other.m_height; ++j)
        for (int i = 0; i < other.m_width; ++i) Add(x + i, y + j, other.At(i, j) * gain);
}

namespace {

// One box pass of radius r along rows (stride 1) or columns, with black beyond the edges.
void BoxPass(std::vector<Rgb>& px, int w, int h, int r, bool rows) {
    const int lines = rows ? h : w, len = rows ? w : h;
    const size_t step = rows ? 1 : static_cast<size_t>(w);
    std::vector<Rgb> line(len);
    const float inv = 1.0f / (2 * r + 1);
    for (int l = 0; l < lines; ++l) {
        const size_t base = rows ? static_cast<size_t>(l) * w : static_cast<size_t>(l);
        for (int i = 0; i < len; ++i) line[i] = px[base + i * step];
        // Sums in double so long rows do not drift.
        double sr = 0, sg = 0, sb = 0;
        for (int i = 0; i <= std::min(r, len - 1); ++i) {
            sr += line[i].r;
            sg += line[i].g;
            sb += line[i].b;
        }
        for (int i = 0; i < len; ++i) {
            px[base + i * step] = {static_cast<float>(sr * inv), static_cast<float>(sg * inv),
                                   static_cast<float>(sb * inv)};
            const int in = i + r + 1, out = i - r;
            if (in < len) {
                sr += line[in].r;
                sg += line[in].g;
                sb += line[in].b;
            }
            if (out >= 0) {
                sr -= line[out].r;
                sg -= line[out].g;
                sb -= line[out].b;
            }
        }
    }
}

}  // namespace

void Canvas::Blur(float sigma) {
    if (sigma <= 0) return;
    // Three boxes whose combined variance matches the Gaussian's.
    const int n = 3;
    int wl = static_cast<int>(std::floor(std::sqrt(12 * sigma * sigma / n + 1)));
    if (wl % 2 == 0) --wl;
    const int wu = wl + 2;
    const int m = static_cast<int>(
        std::lround((12 * sigma * sigma - n * wl * wl - 4 * n * wl - 3 * n) / (-4.0 * wl - 4)));
    for (int pass = 0; pass < n; ++pass) {
        const int r = ((pass < m ? wl : wu) - 1) / 2;
        if (r <= 0) continue;
        BoxPass(m_pixels, m_width, m_height, r, true);
        BoxPass(m_pixels, m_width, m_height, r, false);
    }
}

void Canvas::Bloom(const std::vector<std::pair<float, float>>& sigmaAndGain) {
    const Canvas source = *this;
    for (const auto& [sigma, gain] : sigmaAndGain) {
        Canvas blurred = source;
        blurred.Blur(sigma);
        AddCanvas(blurred, 0, 0, gain);
    }
}

Canvas Canvas::Downsample(int factor) const {
    Canvas out(m_width / factor, m_height / factor);
    const float inv = 1.0f / (factor * factor);
    for (int y = 0; y < out.m_height; ++y)
        for (int x = 0; x < out.m_width; ++x) {
            Rgb sum;
            for (int j = 0; j < factor; ++j)
                for (int i = 0; i < factor; ++i) sum = sum + At(x * factor + i, y * factor + j);
            out.At(x, y) = sum * inv;
        }
    return out;
}

std::vector<uint8_t> Canvas::ToRgb8(float exposure) const {
    // A 4 x 4 ordered dither: it breaks up banding like noise would, but repeats, so the
    // pictures still compress well.
    static const float kBayer[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
    std::vector<uint8_t> out(m_pixels.size() * 3);
    auto curve = [exposure](float v, float dither) {
        const float c = (1.0f - std::exp(-exposure * std::max(0.0f, v))) * 255.0f;
        // Nothing to dither in the near-black: it would only add noise to the dark.
        return static_cast<uint8_t>(std::clamp(std::lround(c + dither * std::min(1.0f, c / 2)), 0L, 255L));
    };
    for (int y = 0; y < m_height; ++y)
        for (int x = 0; x < m_width; ++x) {
            const size_t i = static_cast<size_t>(y) * m_width + x;
            const float dither = (kBayer[y & 3][x & 3] + 0.5f) / 16 - 0.5f;
            out[3 * i] = curve(m_pixels[i].r, dither);
            out[3 * i + 1] = curve(m_pixels[i].g, dither);
            out[3 * i + 2] = curve(m_pixels[i].b, dither);
        }
    return out;
}

// ---- Meshes ------------------------------------------------------------------------------------

namespace {

constexpr int kSupersample = 3;

struct Projected {
    float x, y;     // pixels of the supersampled layer
    float invDepth; // 1 / distance from the eye
};

sm::Vec3 Sub(sm::Vec3 a, sm::Vec3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
sm::Vec3 CrossRh(sm::Vec3 a, sm::Vec3 b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

struct EdgeKey {
    float c[6];
    bool operator<(const EdgeKey& o) const { return std::memcmp(c, o.c, sizeof c) < 0; }
};

EdgeKey KeyOf(sm::Vec3 a, sm::Vec3 b) {
    if (std::make_tuple(b.x, b.y, b.z) < std::make_tuple(a.x, a.y, a.z)) std::swap(a, b);
    return EdgeKey{{a.x, a.y, a.z, b.x, b.y, b.z}};
}

}  // namespace

void DrawTextMesh(Canvas* canvas, const TextMesh& mesh, const MeshView& view,
                  const MeshStyle& style) {
    if (mesh.triangles.empty()) return;
    const sm::Vec3 centre = (mesh.bounds.min + mesh.bounds.max) * 0.5f;
    const float cy = std::cos(view.yaw), sy = std::sin(view.yaw);
    const float cp = std::cos(view.pitch), sp = std::sin(view.pitch);

    // The triangles to draw, in eye space (eye at the origin looking down −z).
    std::vector<TextTriangle> tris;
    std::vector<TextFace> faces;
    auto toEye = [&](sm::Vec3 v) {
        v = v - centre;
        const float x = v.x * cy + v.z * sy, z1 = -v.x * sy + v.z * cy;
        const float y = v.y * cp - z1 * sp, z = v.y * sp + z1 * cp;
        return sm::Vec3(x, y, z - view.distance);
    };
    // The fit uses the assembled mesh, so that scattered triangles fly around the word's place.
    float u0 = std::numeric_limits<float>::max(), u1 = -u0, w0 = u0, w1 = -u0;
    for (const TextTriangle& t : mesh.triangles)
        for (const sm::Vec3& p : t.v) {
            const sm::Vec3 v = toEye(p);
            const float u = v.x / -v.z, w = v.y / -v.z;
            u0 = std::min(u0, u), u1 = std::max(u1, u), w0 = std::min(w0, w), w1 = std::max(w1, w);
        }
    const float scale = std::min((view.right - view.left) / (u1 - u0), (view.bottom - view.top) / (w1 - w0));
    const float sx0 = (view.left + view.right) / 2 - (u0 + u1) / 2 * scale;
    const float sy0 = (view.top + view.bottom) / 2 + (w0 + w1) / 2 * scale;
    const float textTop = sy0 - w1 * scale, textBottom = sy0 - w0 * scale;

    const float span = std::max(mesh.bounds.max.x - mesh.bounds.min.x, 1e-6f);
    for (size_t i = 0; i < mesh.triangles.size(); ++i) {
        TextTriangle t = mesh.triangles[i];
        if (style.scatter > 0) {
            if (mesh.faces[i] != TextFace::Front) continue;
            // The word assembles from left to right: the later letters are still far out.
            const sm::Vec3 c = (t.v[0] + t.v[1] + t.v[2]) * (1.0f / 3);
            const float along = (c.x - mesh.bounds.min.x) / span;
            const float amount = style.scatter * along * along * along * (0.3f + Hash01(i, style.seed));
            const sm::Vec3 dir((Hash01(i, style.seed + 1) - 0.5f) * 2,
                               (Hash01(i, style.seed + 2) - 0.5f) * 2,
                               Hash01(i, style.seed + 3) * 1.5f);
            const float shrink = 1.0f - 0.5f * along * Hash01(i, style.seed + 4);
            for (sm::Vec3& v : t.v) v = c + (v - c) * shrink + dir.GetNormalized() * amount;
        }
        for (sm::Vec3& v : t.v) v = toEye(v);
        tris.push_back(t);
        faces.push_back(mesh.faces[i]);
    }

    // A supersampled layer just around what is drawn, within the canvas.
    float p0 = std::numeric_limits<float>::max(), p1 = -p0, q0 = p0, q1 = -p0;
    for (const TextTriangle& t : tris)
        for (const sm::Vec3& v : t.v) {
            const float x = sx0 + v.x / -v.z * scale, y = sy0 - v.y / -v.z * scale;
            p0 = std::min(p0, x), p1 = std::max(p1, x), q0 = std::min(q0, y), q1 = std::max(q1, y);
        }
    const int margin = static_cast<int>(std::ceil(style.lineWidth)) + 3;
    const int lx = std::max(0, static_cast<int>(std::floor(p0)) - margin);
    const int ly = std::max(0, static_cast<int>(std::floor(q0)) - margin);
    const int lw = std::min(canvas->Width(), static_cast<int>(std::ceil(p1)) + margin) - lx;
    const int lh = std::min(canvas->Height(), static_cast<int>(std::ceil(q1)) + margin) - ly;
    if (lw <= 0 || lh <= 0) return;
    const float ss = kSupersample;
    Canvas layer(lw * kSupersample, lh * kSupersample);
    std::vector<float> depth(static_cast<size_t>(layer.Width()) * layer.Height(), 0.0f);
    auto project = [&](sm::Vec3 v) {
        return Projected{(sx0 + v.x / -v.z * scale - lx) * ss, (sy0 - v.y / -v.z * scale - ly) * ss,
                         1.0f / -v.z};
    };

    const sm::Vec3 light = sm::Vec3(-0.45f, 0.65f, 0.62f).GetNormalized();
    for (size_t i = 0; i < tris.size(); ++i) {
        const TextTriangle& t = tris[i];
        const sm::Vec3 n = CrossRh(Sub(t.v[1], t.v[0]), Sub(t.v[2], t.v[0])).GetNormalized();
        // Facing away from the eye: hidden behind the solid's near side.
        if (Dot(n, t.v[0]) >= 0) continue;
        const Projected a = project(t.v[0]), b = project(t.v[1]), c = project(t.v[2]);
        const float area = (b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x);
        if (std::abs(area) < 1e-6f) continue;
        const float lambert = std::max(0.0f, Dot(n, light));
        const bool front = faces[i] == TextFace::Front;
        const float facet = front ? 1.0f - style.facets + 2 * style.facets * Hash01(i, style.seed + 9)
                                  : 1.0f;
        const float shade = style.fill * facet * (front ? 0.75f + 0.35f * lambert : 0.25f + 0.9f * lambert);

        const int xa = std::max(0, static_cast<int>(std::floor(std::min({a.x, b.x, c.x}))));
        const int xb = std::min(layer.Width() - 1, static_cast<int>(std::ceil(std::max({a.x, b.x, c.x}))));
        const int ya = std::max(0, static_cast<int>(std::floor(std::min({a.y, b.y, c.y}))));
        const int yb = std::min(layer.Height() - 1, static_cast<int>(std::ceil(std::max({a.y, b.y, c.y}))));
        for (int y = ya; y <= yb; ++y) {
            const float py = y + 0.5f;
            const float g = std::clamp((ly + py / ss - textTop) / (textBottom - textTop), 0.0f, 1.0f);
            const Rgb colour = (front ? Mix(style.top, style.bottom, g) : style.side) * shade;
            for (int x = xa; x <= xb; ++x) {
                const float px = x + 0.5f;
                float e0 = (c.x - b.x) * (py - b.y) - (c.y - b.y) * (px - b.x);
                float e1 = (a.x - c.x) * (py - c.y) - (a.y - c.y) * (px - c.x);
                float e2 = (b.x - a.x) * (py - a.y) - (b.y - a.y) * (px - a.x);
                if (area < 0) e0 = -e0, e1 = -e1, e2 = -e2;
                if (e0 < 0 || e1 < 0 || e2 < 0) continue;
                const float z = (e0 * a.invDepth + e1 * b.invDepth + e2 * c.invDepth) / std::abs(area);
                float& d = depth[static_cast<size_t>(y) * layer.Width() + x];
                if (z <= d) continue;
                d = z;
                layer.At(x, y) = colour;
            }
        }
    }

    // Edges: the outline where the front meets the walls, the triangle edges of the front, and
    // the back outline showing through.
    std::map<EdgeKey, int> frontEdges, backEdges;
    for (size_t i = 0; i < tris.size(); ++i) {
        if (faces[i] == TextFace::Side) continue;
        auto& edges = faces[i] == TextFace::Front ? frontEdges : backEdges;
        for (int k = 0; k < 3; ++k) ++edges[KeyOf(tris[i].v[k], tris[i].v[(k + 1) % 3])];
    }
    const float width = style.lineWidth * ss;
    auto line = [&](const EdgeKey& e, Rgb colour, float w) {
        const Projected a = project({e.c[0], e.c[1], e.c[2]}), b = project({e.c[3], e.c[4], e.c[5]});
        layer.Line(a.x, a.y, b.x, b.y, colour, w);
    };
    const bool scattered = style.scatter > 0;
    for (const auto& [edge, count] : backEdges)
        if (count == 1) line(edge, style.side * style.backOutline, width * 0.8f);
    for (const auto& [edge, count] : frontEdges) {
        if (count == 1 || scattered)
            line(edge, style.edge * (scattered ? style.outline * 0.6f : style.outline), width);
        else
            line(edge, Mix(style.top, style.edge, 0.5f) * style.wire, width * 0.6f);
    }

    canvas->AddCanvas(layer.Downsample(kSupersample), lx, ly);
}
