// The material files that mesh parts name and the small textures they reference, drawn by code.
#pragma once

#include "pack.h"

namespace show {

// Adds materials/<name>.mat for every material the show's meshes name, and the textures they
// reference under textures/.
void AddMaterials(FileTree* files);

// The material names the meshes use, in the order of AddMaterials.
const char* const* MaterialNames(int* count);

}  // namespace show
