// The show's title and the group's name as solid letters: the glyph outlines of DejaVu Sans Bold,
// triangulated and extruded, with every triangle split in four so the letters break into enough
// pieces to fly. A missing font ends the build with a message naming where it looked.
#pragma once

#include <string>

#include "show/mesh.h"

namespace show {

// The text set on one line, `height` tall (the cap height), its baseline on y = 0, centred on
// x = 0 and on z = 0, facing +z, height / 7 deep.
Mesh TextMesh(const std::string& text, float height);

}  // namespace show
