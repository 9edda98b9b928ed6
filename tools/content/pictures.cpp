#include "pictures.h"

#include <algorithm>
#include <cmath>

namespace {

struct Rgb {
    double r, g, b;
};

// Adds a soft glowing line segment into an RGB float canvas.
void GlowLine(std::vector<Rgb>& canvas, int w, int h, double x0, double y0, double x1, double y1,
              Rgb colour, double width) {
    const double dx = x1 - x0, dy = y1 - y0;
    const double len2 = dx * dx + dy * dy;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            double t = len2 > 0 ? std::clamp(((x - x0) * dx + (y - y0) * dy) / len2, 0.0, 1.0) : 0;
            double px = x0 + t * dx - x, py = y0 + t * dy - y;
            double d = std::sqrt(px * px + py * py);
            double a = std::exp(-d * d / (2 * width * width)) + 0.25 * std::exp(-d / (width * 6));
            Rgb& c = canvas[y * w + x];
            c.r += colour.r * a;
            c.g += colour.g * a;
            c.b += colour.b * a;
        }
    }
}

}  // namespace

JpegImage MakeSetupPicture() {
    const int w = 400, h = 190;
    std::vector<Rgb> canvas(w * h, Rgb{0, 0, 0});
    // A floor grid in perspective, converging on a horizon at y = 70.
    const double horizon = 70, cx = 200;
    for (int i = -8; i <= 8; ++i)
        GlowLine(canvas, w, h, cx + i * 4, horizon, cx + i * 60, 160, {0.05, 0.35, 0.45}, 0.7);
    for (int j = 1; j <= 6; ++j) {
        double y = horizon + (160 - horizon) * std::pow(j / 6.0, 1.8);
        GlowLine(canvas, w, h, 0, y, w, y, {0.05, 0.3, 0.4}, 0.6);
    }
    // A triangle breaking into shards above the horizon.
    const double tri[3][2] = {{200, 18}, {245, 62}, {155, 62}};
    for (int k = 0; k < 3; ++k)
        GlowLine(canvas, w, h, tri[k][0], tri[k][1], tri[(k + 1) % 3][0], tri[(k + 1) % 3][1],
                 {0.55, 0.25, 0.95}, 1.0);
    const double shards[4][4] = {
        {262, 40, 275, 52}, {280, 30, 288, 44}, {130, 44, 121, 55}, {112, 30, 104, 40}};
    for (const auto& s : shards)
        GlowLine(canvas, w, h, s[0], s[1], s[2], s[3], {0.3, 0.8, 1.0}, 0.8);

    JpegImage image;
    image.width = w;
    image.height = h;
    image.components = 3;
    image.pixels.resize(static_cast<size_t>(w) * h * 3);
    for (int i = 0; i < w * h; ++i) {
        // Soft saturation keeps the glow from clipping hard.
        image.pixels[3 * i] = static_cast<uint8_t>(255 * (1 - std::exp(-canvas[i].r * 1.6)));
        image.pixels[3 * i + 1] = static_cast<uint8_t>(255 * (1 - std::exp(-canvas[i].g * 1.6)));
        image.pixels[3 * i + 2] = static_cast<uint8_t>(255 * (1 - std::exp(-canvas[i].b * 1.6)));
    }
    return image;
}
