#include "contactsheet.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

constexpr uint8_t kBackground = 16;
constexpr uint8_t kInk = 230;
constexpr int kGlyphWidth = 5;
constexpr int kGlyphHeight = 7;
constexpr int kScale = 2;

// Rows of a 5 × 7 glyph, the leftmost pixel in bit 4.
struct Glyph {
    char c;
    uint8_t rows[kGlyphHeight];
};
constexpr Glyph kGlyphs[] = {
    {'0', {0x0E, 0x11, 0x13, 0x15, 0x19, 0x11, 0x0E}},
    {'1', {0x04, 0x0C, 0x04, 0x04, 0x04, 0x04, 0x0E}},
    {'2', {0x0E, 0x11, 0x01, 0x02, 0x04, 0x08, 0x1F}},
    {'3', {0x1F, 0x02, 0x04, 0x02, 0x01, 0x11, 0x0E}},
    {'4', {0x02, 0x06, 0x0A, 0x12, 0x1F, 0x02, 0x02}},
    {'5', {0x1F, 0x10, 0x1E, 0x01, 0x01, 0x11, 0x0E}},
    {'6', {0x06, 0x08, 0x10, 0x1E, 0x11, 0x11, 0x0E}},
    {'7', {0x1F, 0x01, 0x02, 0x04, 0x08, 0x08, 0x08}},
    {'8', {0x0E, 0x11, 0x11, 0x0E, 0x11, 0x11, 0x0E}},
    {'9', {0x0E, 0x11, 0x11, 0x0F, 0x01, 0x02, 0x0C}},
    {':', {0x00, 0x0C, 0x0C, 0x00, 0x0C, 0x0C, 0x00}},
    {'.', {0x00, 0x00, 0x00, 0x00, 0x00, 0x0C, 0x0C}},
};

const Glyph* FindGlyph(char c) {
    for (const Glyph& g : kGlyphs)
        if (g.c == c) return &g;
    return nullptr;
}

}  // namespace

std::string FormatSheetTime(double seconds) {
    long hundredths = std::lround(seconds * 100.0);
    char text[32];
    std::snprintf(text, sizeof text, "%ld:%02ld.%02ld", hundredths / 6000, hundredths / 100 % 60,
                  hundredths % 100);
    return text;
}

ContactSheet::ContactSheet(int columns, int rows, int frameWidth, int frameHeight)
    : m_columns(columns), m_rows(rows), m_frameWidth(frameWidth), m_frameHeight(frameHeight) {
    m_factor = (frameWidth + kMaxTileWidth - 1) / kMaxTileWidth;
    m_tileWidth = frameWidth / m_factor;
    m_tileHeight = std::max(1, frameHeight / m_factor);
    m_width = kMargin + columns * (m_tileWidth + kMargin);
    m_height = kMargin + rows * (m_tileHeight + kLabelHeight + kMargin);
    m_pixels.assign(static_cast<size_t>(m_width) * m_height * 3, kBackground);
}

int ContactSheet::TileLeft(int tile) const {
    return kMargin + tile % m_columns * (m_tileWidth + kMargin);
}

int ContactSheet::TileTop(int tile) const {
    return kMargin + tile / m_columns * (m_tileHeight + kLabelHeight + kMargin);
}

void ContactSheet::Place(int tile, const std::vector<uint8_t>& rgb, double seconds) {
    if (tile < 0 || tile >= Tiles()) return;
    const int left = TileLeft(tile), top = TileTop(tile);
    const int area = m_factor * m_factor;
    for (int y = 0; y < m_tileHeight; ++y) {
        for (int x = 0; x < m_tileWidth; ++x) {
            int sum[3] = {0, 0, 0};
            for (int sy = 0; sy < m_factor; ++sy) {
                int fy = std::min(y * m_factor + sy, m_frameHeight - 1);
                const uint8_t* p =
                    rgb.data() + (static_cast<size_t>(fy) * m_frameWidth + x * m_factor) * 3;
                for (int sx = 0; sx < m_factor; ++sx, p += 3)
                    for (int c = 0; c < 3; ++c) sum[c] += p[c];
            }
            uint8_t* out =
                m_pixels.data() + (static_cast<size_t>(top + y) * m_width + left + x) * 3;
            for (int c = 0; c < 3; ++c) out[c] = static_cast<uint8_t>((sum[c] + area / 2) / area);
        }
    }
    DrawLabel(left, top + m_tileHeight + (kLabelHeight - kGlyphHeight * kScale) / 2,
              FormatSheetTime(seconds));
}

void ContactSheet::DrawLabel(int left, int top, const std::string& text) {
    int x = left;
    for (char c : text) {
        const Glyph* glyph = FindGlyph(c);
        if (glyph) {
            for (int gy = 0; gy < kGlyphHeight * kScale; ++gy) {
                for (int gx = 0; gx < kGlyphWidth * kScale; ++gx) {
                    if (!(glyph->rows[gy / kScale] & (0x10 >> (gx / kScale)))) continue;
                    int px = x + gx, py = top + gy;
                    if (px < 0 || px >= m_width || py < 0 || py >= m_height) continue;
                    uint8_t* out = m_pixels.data() + (static_cast<size_t>(py) * m_width + px) * 3;
                    out[0] = out[1] = out[2] = kInk;
                }
            }
        }
        x += (kGlyphWidth + 1) * kScale;
    }
}
