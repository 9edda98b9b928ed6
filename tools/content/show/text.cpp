#include "show/text.h"

#include <cstring>

namespace show {

namespace {

// Rows top to bottom; '#' is a filled cell.
struct Glyph {
    char letter;
    const char* rows[7];
};

const Glyph kGlyphs[] = {
    {'A', {".###.", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"}},
    {'B', {"####.", "#...#", "#...#", "####.", "#...#", "#...#", "####."}},
    {'C', {".###.", "#...#", "#....", "#....", "#....", "#...#", ".###."}},
    {'D', {"####.", "#...#", "#...#", "#...#", "#...#", "#...#", "####."}},
    {'E', {"#####", "#....", "#....", "####.", "#....", "#....", "#####"}},
    {'F', {"#####", "#....", "#....", "####.", "#....", "#....", "#...."}},
    {'G', {".###.", "#...#", "#....", "#.###", "#...#", "#...#", ".####"}},
    {'H', {"#...#", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"}},
    {'I', {"#####", "..#..", "..#..", "..#..", "..#..", "..#..", "#####"}},
    {'J', {"..###", "...#.", "...#.", "...#.", "...#.", "#..#.", ".##.."}},
    {'K', {"#...#", "#..#.", "#.#..", "##...", "#.#..", "#..#.", "#...#"}},
    {'L', {"#....", "#....", "#....", "#....", "#....", "#....", "#####"}},
    {'M', {"#...#", "##.##", "#.#.#", "#.#.#", "#...#", "#...#", "#...#"}},
    {'N', {"#...#", "##..#", "##..#", "#.#.#", "#..##", "#..##", "#...#"}},
    {'O', {".###.", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."}},
    {'P', {"####.", "#...#", "#...#", "####.", "#....", "#....", "#...."}},
    {'Q', {".###.", "#...#", "#...#", "#...#", "#.#.#", "#..#.", ".##.#"}},
    {'R', {"####.", "#...#", "#...#", "####.", "#.#..", "#..#.", "#...#"}},
    {'S', {".####", "#....", "#....", ".###.", "....#", "....#", "####."}},
    {'T', {"#####", "..#..", "..#..", "..#..", "..#..", "..#..", "..#.."}},
    {'U', {"#...#", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."}},
    {'V', {"#...#", "#...#", "#...#", "#...#", "#...#", ".#.#.", "..#.."}},
    {'W', {"#...#", "#...#", "#...#", "#.#.#", "#.#.#", "#.#.#", ".#.#."}},
    {'X', {"#...#", "#...#", ".#.#.", "..#..", ".#.#.", "#...#", "#...#"}},
    {'Y', {"#...#", "#...#", ".#.#.", "..#..", "..#..", "..#..", "..#.."}},
    {'Z', {"#####", "....#", "...#.", "..#..", ".#...", "#....", "#####"}},
};

const Glyph* Find(char c) {
    for (const Glyph& g : kGlyphs)
        if (g.letter == c) return &g;
    return nullptr;
}

}  // namespace

Mesh TextMesh(const std::string& text, float height) {
    // Lay the glyphs' cells out on one grid: column, row (0 at the baseline row, up).
    const int advance = 6;  // five cells and a gap
    std::vector<std::vector<bool>> filled;  // [column][row]
    int columns = 0;
    for (char c : text) {
        const Glyph* g = Find(c);
        const int x0 = columns;
        columns += advance;
        filled.resize(columns, std::vector<bool>(7, false));
        if (!g) continue;
        for (int r = 0; r < 7; ++r)
            for (int k = 0; k < 5; ++k)
                if (g->rows[r][k] == '#') filled[x0 + k][6 - r] = true;
    }
    if (columns > 0) columns -= 1;  // no gap after the last letter
    auto at = [&](int col, int row) {
        return col >= 0 && col < static_cast<int>(filled.size()) && row >= 0 && row < 7 &&
               filled[col][row];
    };

    const float cell = height / 7.0f, depth = cell / 2;
    const float left = -columns * cell / 2;
    Mesh mesh;
    for (int col = 0; col < static_cast<int>(filled.size()); ++col) {
        for (int row = 0; row < 7; ++row) {
            if (!at(col, row)) continue;
            const float x0 = left + col * cell, x1 = x0 + cell;
            const float y0 = row * cell, y1 = y0 + cell;
            const sm::Vec3 a(x0, y0, depth), b(x1, y0, depth), c(x1, y1, depth), d(x0, y1, depth);
            const sm::Vec3 e(x0, y0, -depth), f(x1, y0, -depth), g(x1, y1, -depth),
                h(x0, y1, -depth);
            mesh.GridQuad(a, b, c, d, 2, {0, 0, 1});
            mesh.GridQuad(f, e, h, g, 2, {0, 0, -1});
            if (!at(col - 1, row)) mesh.QuadFacing(e, a, d, h, {-1, 0, 0});
            if (!at(col + 1, row)) mesh.QuadFacing(b, f, g, c, {1, 0, 0});
            if (!at(col, row + 1)) mesh.QuadFacing(d, c, g, h, {0, 1, 0});
            if (!at(col, row - 1)) mesh.QuadFacing(e, f, b, a, {0, -1, 0});
        }
    }
    return mesh;
}

}  // namespace show
