// Block letters for the show's title and the group's name: a 5 × 7 grid font whose filled cells
// are extruded into blocks. TextMesh is the one entry point the scenes use, so glyph outlines from
// a real font can take its place without touching them.
#pragma once

#include <string>

#include "show/mesh.h"

namespace show {

// The text set on one line, `height` tall (the cap height), its baseline on y = 0, centred on
// x = 0 and on z = 0, facing +z, one cell (height / 7) deep.
// Letters A–Z and the space; anything else is left out. Inner faces between neighbouring blocks
// are left out, and the front and back faces of every block are split in 2 × 2, so the letters
// break into many triangles.
Mesh TextMesh(const std::string& text, float height);

}  // namespace show
