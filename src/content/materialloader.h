// Reads a ".mat" material file into a Material. The file is XML: the root (any tag) carries
// "Name"; its "Param" children set colours and scalars, and the children of its "Textures"
// children name textures, each applied in document order so a later one wins. Unknown types
// and other elements are ignored. Texture names are only recorded; resolving them into
// textures is the content manager's job.
#pragma once

#include <memory>
#include <string>

#include "content/material.h"

// A new material, or null when the file is missing or is not well-formed XML; the log then
// gets a line that names the file and the problem. A numeric value that does not scan as a
// number is fatal, as the XML reader's accessors are.
std::unique_ptr<Material> LoadMaterial(const std::string& path);
