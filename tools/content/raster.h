// A small software renderer for the show's flat pictures. Everything is drawn as light added
// onto black in a floating-point canvas: faceted triangle meshes seen in perspective, anti-aliased
// lines, anti-aliased text, soft spots of light. A bloom pass lets the light bleed into the dark,
// and a soft tone curve turns it into 8-bit pixels without hard clipping.
#pragma once

#include <cstdint>
#include <vector>

#include "math/vec3.h"
#include "typography.h"

struct Rgb {
    float r = 0, g = 0, b = 0;
};

inline Rgb operator*(Rgb c, float s) { return {c.r * s, c.g * s, c.b * s}; }
inline Rgb operator+(Rgb a, Rgb b) { return {a.r + b.r, a.g + b.g, a.b + b.b}; }
inline Rgb Mix(Rgb a, Rgb b, float t) { return a * (1 - t) + b * t; }

// The show's palette.
namespace palette {
constexpr Rgb kCyan{0.20f, 0.85f, 1.00f};
constexpr Rgb kViolet{0.55f, 0.25f, 1.00f};
constexpr Rgb kAmber{1.00f, 0.62f, 0.18f};
constexpr Rgb kIce{0.80f, 0.95f, 1.00f};
}  // namespace palette

// A stateless hash of an integer and a seed to [0, 1): the same arguments give the same value
// in every run and in any order of calls.
float Hash01(uint32_t n, uint32_t seed);

class Canvas {
public:
    Canvas(int width, int height);

    int Width() const { return m_width; }
    int Height() const { return m_height; }
    Rgb& At(int x, int y) { return m_pixels[static_cast<size_t>(y) * m_width + x]; }
    const Rgb& At(int x, int y) const { return m_pixels[static_cast<size_t>(y) * m_width + x]; }

    // Adds light to one pixel; outside the canvas does nothing.
    void Add(int x, int y, Rgb c) {
        if (x >= 0 && y >= 0 && x < m_width && y < m_height) {
            Rgb& p = At(x, y);
            p.r += c.r;
            p.g += c.g;
            p.b += c.b;
        }
    }

    // A line of the given width (pixels) with anti-aliased ends and sides.
    void Line(float x0, float y0, float x1, float y1, Rgb colour, float width);
    // A round spot whose light falls off as a Gaussian of the given radius (standard deviation).
    void Spot(float cx, float cy, float radius, Rgb colour);
    // Text coverage scaled by colour, with the bitmap's top-left corner at (x, y).
    void Text(const TextBitmap& text, int x, int y, Rgb colour);
    // Adds another canvas (of any size) with its top-left corner at (x, y), scaled by `gain`.
    void AddCanvas(const Canvas& other, int x, int y, float gain = 1.0f);

    // Approximate Gaussian blur (three box passes) of the given standard deviation, in place.
    void Blur(float sigma);
    // Adds blurred copies of the canvas onto itself: light that bleeds into the dark.
    void Bloom(const std::vector<std::pair<float, float>>& sigmaAndGain);
    // Averages factor × factor blocks: the anti-aliasing step of supersampled drawing.
    Canvas Downsample(int factor) const;

    // 8-bit RGB through the soft curve 1 − e^(−exposure·x), with a small ordered dither against
    // banding in dark gradients.
    std::vector<uint8_t> ToRgb8(float exposure) const;

private:
    int m_width, m_height;
    std::vector<Rgb> m_pixels;
};

// How the text meshes are seen and lit.
struct MeshView {
    // Turns of the mesh about its own centre, in radians: yaw about y, then pitch about x.
    float yaw = 0, pitch = 0;
    // Distance of the eye from the mesh's centre, in mesh units: smaller is stronger perspective.
    float distance = 12;
    // Where the projected mesh goes: its bounding rectangle is fitted into this one, centred and
    // keeping its aspect ratio (pixels of the target canvas).
    float left = 0, top = 0, right = 0, bottom = 0;
};

struct MeshStyle {
    // Front faces shade from `top` to `bottom` colour down the letters.
    Rgb top = palette::kCyan;
    Rgb bottom = palette::kViolet;
    Rgb side = palette::kViolet;
    Rgb edge = palette::kIce;
    float fill = 0.45f;         // brightness of the faces
    float facets = 0.35f;       // how much each front triangle's brightness varies
    float wire = 0.10f;         // brightness of the front faces' triangle edges
    float outline = 1.2f;       // brightness of the front outline
    float backOutline = 0.25f;  // the back outline, seen through the letters
    float lineWidth = 1.2f;     // outline width, pixels of the target canvas
    // Moves each front triangle away from its place by up to this many mesh units (0: none),
    // for triangles that are still flying in.
    float scatter = 0;
    uint32_t seed = 1;
};

// Draws a text mesh into the canvas: faceted faces with a depth test, then the glowing edges.
// Works supersampled and adds the result onto what the canvas already holds.
void DrawTextMesh(Canvas* canvas, const TextMesh& mesh, const MeshView& view,
                  const MeshStyle& style);
