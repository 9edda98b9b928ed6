#include "pictures.h"

#include <algorithm>
#include <cmath>

#include "raster.h"

bool LoadPictureFonts(PictureFonts* fonts, std::string* error) {
    return fonts->bold.OpenNamed(kBoldFontFile, error) &&
           fonts->regular.OpenNamed(kRegularFontFile, error);
}

namespace {

using namespace palette;

float SmoothStep(float a, float b, float x) {
    const float t = std::clamp((x - a) / (b - a), 0.0f, 1.0f);
    return t * t * (3 - 2 * t);
}

// A grid floor seen from an eye one unit above it, looking at the horizon row `horizon`; lines
// fade into the distance, and the horizon itself glows.
struct Floor {
    float centreX, horizon, focal;
    Rgb colour = kCyan;
    float brightness = 0.5f;
    float lineWidth = 1.0f;
    float fade = 14;  // distance at which the lines have faded to 1/e
};

void DrawFloor(Canvas& c, const Floor& f) {
    const float zNear = f.focal / std::max(1.0f, c.Height() - f.horizon) * 0.9f;
    const float zFar = 60;
    auto fadeAt = [&](float z) { return std::exp(-z / f.fade) * SmoothStep(zNear, zNear * 3, z); };
    // Lines running into the distance, drawn in pieces so that they can fade.
    const int pieces = 48;
    for (int i = -40; i <= 40; ++i) {
        const float x = i * 0.8f;
        for (int k = 0; k < pieces; ++k) {
            // Even steps in 1 / z are even steps down the screen.
            const float s0 = 1 / zNear + (1 / zFar - 1 / zNear) * k / pieces;
            const float s1 = 1 / zNear + (1 / zFar - 1 / zNear) * (k + 1) / pieces;
            const float z = 2 / (s0 + s1);
            c.Line(f.centreX + f.focal * x * s0, f.horizon + f.focal * s0, f.centreX + f.focal * x * s1,
                   f.horizon + f.focal * s1, f.colour * (f.brightness * fadeAt(z)), f.lineWidth);
        }
    }
    // Lines across, closer together towards the horizon.
    for (float z = 0.8f; z < zFar; z += 0.8f) {
        const float y = f.horizon + f.focal / z;
        if (y > c.Height() + 2) continue;
        c.Line(0, y, static_cast<float>(c.Width()), y, f.colour * (f.brightness * fadeAt(z)),
               f.lineWidth * std::clamp(4 / z, 0.5f, 1.0f));
    }
    // Haze along the horizon.
    for (int y = 0; y < c.Height(); ++y) {
        const float dy = (y + 0.5f - f.horizon) / (c.Height() * 0.035f);
        const float band = std::exp(-dy * dy);
        if (band < 1e-3f) continue;
        for (int x = 0; x < c.Width(); ++x) {
            const float dx = (x + 0.5f - f.centreX) / (c.Width() * 0.45f);
            c.Add(x, y, Mix(kViolet, kCyan, 0.3f) * (0.22f * f.brightness * band * std::exp(-dx * dx)));
        }
    }
}

// Small outlines of triangles drifting in the dark, placed by a seed.
void DrawShards(Canvas& c, int count, float size, uint32_t seed, float brightness,
                PictureRect keepOut) {
    for (int i = 0; i < count; ++i) {
        const float x = Hash01(i, seed) * c.Width(), y = Hash01(i, seed + 1) * c.Height();
        if (x > keepOut.left && x < keepOut.right && y > keepOut.top && y < keepOut.bottom) continue;
        const float r = size * (0.4f + Hash01(i, seed + 2));
        const float turn = Hash01(i, seed + 3) * 6.2832f;
        const Rgb colour = Mix(kCyan, kViolet, Hash01(i, seed + 4)) * (brightness * (0.4f + Hash01(i, seed + 5)));
        float px[3], py[3];
        for (int k = 0; k < 3; ++k) {
            const float a = turn + k * 2.0944f + (Hash01(i * 3 + k, seed + 6) - 0.5f) * 0.8f;
            px[k] = x + r * std::cos(a);
            py[k] = y + r * std::sin(a);
        }
        for (int k = 0; k < 3; ++k) c.Line(px[k], py[k], px[(k + 1) % 3], py[(k + 1) % 3], colour, 0.9f);
    }
}

// A broad, faint glow behind the main word.
void DrawHaze(Canvas& c, PictureRect r, Rgb colour, float strength) {
    const float cx = (r.left + r.right) / 2.0f, cy = (r.top + r.bottom) / 2.0f;
    const float sx = (r.right - r.left) * 0.75f, sy = (r.bottom - r.top) * 1.4f;
    for (int y = 0; y < c.Height(); ++y)
        for (int x = 0; x < c.Width(); ++x) {
            const float dx = (x + 0.5f - cx) / sx, dy = (y + 0.5f - cy) / sy;
            c.Add(x, y, colour * (strength * std::exp(-(dx * dx + dy * dy))));
        }
}

struct Run {
    const Typeface* face;
    std::string text;
    int size;
    float tracking;
    Rgb colour;
};

enum class Align { Left, Centre, Right };

// Draws runs of text one after another on a shared baseline, a word space apart; the whole line
// starts at x, ends at x or is centred on x.

void DrawLine(Canvas& c, const std::vector<Run>& runs, float x, int baseline, Align align) {
    std::vector<TextBitmap> bitmaps;
    std::vector<float> offsets;
    float pen = 0;
    for (size_t i = 0; i < runs.size(); ++i) {
        bitmaps.push_back(RenderText(*runs[i].face, runs[i].text, runs[i].size, runs[i].tracking));
        if (i > 0) pen += runs[i].size * 0.34f + runs[i].tracking;  // a word space
        offsets.push_back(pen);
        pen += bitmaps.back().width;
    }
    const float start = align == Align::Left ? x : align == Align::Right ? x - pen : x - pen / 2;
    for (size_t i = 0; i < runs.size(); ++i)
        c.Text(bitmaps[i], static_cast<int>(std::lround(start + offsets[i])),
               baseline - bitmaps[i].baseline, runs[i].colour);
}

PngImage ToOpaquePng(const Canvas& c, float exposure) {
    const std::vector<uint8_t> rgb = c.ToRgb8(exposure);
    PngImage image;
    image.width = c.Width();
    image.height = c.Height();
    image.color = PngColor::Rgba;
    image.bitDepth = 8;
    image.samples.resize(static_cast<size_t>(c.Width()) * c.Height() * 4);
    for (size_t i = 0; i < static_cast<size_t>(c.Width()) * c.Height(); ++i) {
        for (int k = 0; k < 3; ++k) image.samples[4 * i + k] = rgb[3 * i + k];
        image.samples[4 * i + 3] = 255;
    }
    return image;
}

JpegImage ToJpeg(const Canvas& c, float exposure) {
    JpegImage image;
    image.width = c.Width();
    image.height = c.Height();
    image.components = 3;
    image.pixels = c.ToRgb8(exposure);
    return image;
}

MeshView ViewInto(PictureRect r, float yaw, float pitch, float distance) {
    MeshView v;
    v.yaw = yaw;
    v.pitch = pitch;
    v.distance = distance;
    v.left = static_cast<float>(r.left);
    v.top = static_cast<float>(r.top);
    v.right = static_cast<float>(r.right);
    v.bottom = static_cast<float>(r.bottom);
    return v;
}

TextMesh TitleMesh(const PictureFonts& fonts, const char* word) {
    ExtrudeOptions o;
    o.capHeight = 1.0f;
    o.depth = 0.3f;
    o.tracking = 0.08f;
    return ExtrudeText(fonts.bold, word, o);
}

const std::vector<std::pair<float, float>> kScreenBloom = {{1.5f, 0.5f}, {6, 0.45f}, {22, 0.4f}};

}  // namespace

PngImage MakeLoaderTexture(const PictureFonts& fonts) {
    Canvas c(kScreenWidth, kScreenHeight);
    const PictureRect t = kLoaderTitle;
    DrawHaze(c, t, kViolet, 0.05f);
    DrawFloor(c, Floor{kScreenWidth / 2.0f, 408, 150, kCyan, 0.42f, 1.0f});
    DrawShards(c, 34, 7, 11, 0.35f, PictureRect{t.left - 30, t.top - 30, t.right + 30, 400});

    MeshStyle style;
    DrawTextMesh(&c, TitleMesh(fonts, "PINDLE"), ViewInto(t, -0.16f, 0.10f, 9), style);

    const int mid = (t.left + t.right) / 2;
    c.Line(mid - 150.0f, 340, mid + 150.0f, 340, kAmber * 0.9f, 1.4f);
    c.Spot(mid - 150.0f, 340, 2.2f, kAmber * 0.8f);
    c.Spot(mid + 150.0f, 340, 2.2f, kAmber * 0.8f);
    DrawLine(c,
             {{&fonts.regular, "a real-time demo by", 22, 1.5f, kIce * 0.85f},
              {&fonts.bold, "KORVANE", 22, 4.0f, kAmber * 1.1f}},
             static_cast<float>(mid), 382, Align::Centre);

    c.Bloom(kScreenBloom);
    return ToOpaquePng(c, 1.5f);
}

PngImage MakeEndTexture(const PictureFonts& fonts) {
    Canvas c(kScreenWidth, kScreenHeight);
    const PictureRect t = kEndTitle;
    DrawHaze(c, t, kCyan, 0.035f);
    DrawFloor(c, Floor{kScreenWidth / 2.0f, 492, 110, kViolet, 0.3f, 1.0f, 10});
    DrawShards(c, 40, 6, 23, 0.3f, PictureRect{t.left - 20, t.top - 20, t.right + 20, 470});

    MeshStyle style;
    style.top = kViolet;
    style.bottom = kCyan;
    style.side = Mix(kViolet, kCyan, 0.3f);
    style.outline = 0.95f;
    style.lineWidth = 1.0f;
    DrawTextMesh(&c, TitleMesh(fonts, "KORVANE"), ViewInto(t, 0.14f, 0.12f, 10), style);

    const float mid = kScreenWidth / 2.0f;
    const Rgb role = Mix(kViolet, kIce, 0.45f) * 0.8f, name = kIce * 0.95f;
    const struct {
        const char* role;
        std::vector<Run> name;
    } credits[] = {
        {"code", {{&fonts.bold, "KORVANE", 22, 2.5f, name}}},
        {"music",
         {{&fonts.regular, "\xE2\x80\x9CVelmora\xE2\x80\x9D by", 22, 1.0f, name * 0.8f},
          {&fonts.bold, "KORVANE", 22, 2.5f, name}}},
        {"graphics", {{&fonts.bold, "KORVANE", 22, 2.5f, name}}},
    };
    int baseline = 232;
    for (const auto& credit : credits) {
        DrawLine(c, {{&fonts.regular, credit.role, 19, 2.0f, role}}, mid - 22, baseline, Align::Right);
        c.Spot(mid, baseline - 7.0f, 1.8f, kAmber * 0.9f);
        DrawLine(c, credit.name, mid + 22, baseline, Align::Left);
        baseline += 42;
    }
    c.Line(mid - 190, 364, mid + 190, 364, kViolet * 0.6f, 1.2f);
    DrawLine(c, {{&fonts.bold, "thanks for watching", 34, 2.5f, kAmber * 1.1f}}, mid, 420,
             Align::Centre);

    c.Bloom(kScreenBloom);
    return ToOpaquePng(c, 1.5f);
}

PngImage MakeMaskTexture() {
    PngImage image;
    image.width = kMaskWidth;
    image.height = kMaskHeight;
    image.color = PngColor::Rgba;
    image.bitDepth = 8;
    image.samples.resize(static_cast<size_t>(kMaskWidth) * kMaskHeight * 4);
    for (int y = 0; y < kMaskHeight; ++y) {
        for (int x = 0; x < kMaskWidth; ++x) {
            // Stretched over the frame, this is an ellipse with the frame's own proportions.
            const float u = (x + 0.5f) / kMaskWidth * 2 - 1, v = (y + 0.5f) / kMaskHeight * 2 - 1;
            const float r = std::sqrt(u * u + v * v);
            const float vignette = std::pow(SmoothStep(0.5f, 1.45f, r), 1.2f) * 0.97f;
            // Every other row a faint dark line, a little stronger towards the edges.
            const float scan = (y % 2 == 1) ? 0.10f + 0.08f * SmoothStep(0.3f, 1.2f, r) : 0.0f;
            const float alpha = 1 - (1 - vignette) * (1 - scan);
            const size_t i = (static_cast<size_t>(y) * kMaskWidth + x) * 4;
            // A very deep violet rather than grey black, so the edges sink into the palette.
            image.samples[i] = 5;
            image.samples[i + 1] = 2;
            image.samples[i + 2] = 12;
            image.samples[i + 3] = static_cast<uint16_t>(std::lround(alpha * 255));
        }
    }
    return image;
}

JpegImage MakeLoadingPicture(const PictureFonts& fonts) {
    Canvas c(kScreenWidth, kScreenHeight);
    const PictureRect t = kLoaderTitle;
    DrawHaze(c, t, kViolet, 0.04f);
    DrawShards(c, 60, 6, 37, 0.3f, t);

    // The word's place, faintly, and its triangles flying in to fill it.
    const TextMesh title = TitleMesh(fonts, "PINDLE");
    const MeshView view = ViewInto(t, -0.16f, 0.10f, 9);
    MeshStyle ghost;
    ghost.fill = 0.05f;
    ghost.facets = 0;
    ghost.wire = 0.03f;
    ghost.outline = 0.3f;
    ghost.backOutline = 0;
    DrawTextMesh(&c, title, view, ghost);
    MeshStyle flying;
    flying.scatter = 2.2f;
    flying.fill = 0.4f;
    flying.outline = 0.9f;
    flying.seed = 5;
    DrawTextMesh(&c, title, view, flying);

    const float mid = kScreenWidth / 2.0f;
    DrawLine(c, {{&fonts.bold, "KORVANE", 20, 6.0f, kAmber}}, mid, 72, Align::Centre);
    DrawLine(c, {{&fonts.regular, "loading", 18, 7.0f, kCyan * 0.8f}}, mid, 470, Align::Centre);
    for (int i = 0; i < 3; ++i) c.Spot(mid - 14 + 14.0f * i, 492, 1.6f, kCyan * (0.4f + 0.3f * i));

    c.Bloom(kScreenBloom);
    return ToJpeg(c, 1.5f);
}

JpegImage MakeSetupPicture(const PictureFonts& fonts) {
    Canvas c(kSetupWidth, kSetupHeight);
    const PictureRect t = kSetupTitle;
    DrawHaze(c, t, kViolet, 0.05f);
    DrawFloor(c, Floor{kSetupWidth / 2.0f, 122, 60, kCyan, 0.4f, 0.8f, 10});
    DrawShards(c, 14, 4, 3, 0.35f, PictureRect{t.left - 12, t.top - 12, t.right + 12, 120});

    MeshStyle style;
    style.lineWidth = 0.9f;
    DrawTextMesh(&c, TitleMesh(fonts, "PINDLE"), ViewInto(t, -0.16f, 0.10f, 9), style);
    DrawLine(c,
             {{&fonts.regular, "a real-time demo by", 11, 0.8f, kIce * 0.85f},
              {&fonts.bold, "KORVANE", 11, 2.0f, kAmber * 1.1f}},
             kSetupWidth / 2.0f, 108, Align::Centre);

    c.Bloom({{1, 0.45f}, {3, 0.4f}, {10, 0.35f}});
    return ToJpeg(c, 1.5f);
}
