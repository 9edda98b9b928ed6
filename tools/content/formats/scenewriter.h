// Writes ".scene" files from the same description records the scene loader produces, for the
// content builder and for test fixtures. Every member is written explicitly, so a file reads
// back into exactly the records it was written from; absent parts (null pointers) and empty
// key lists write no element. Malformed files are for tests to write by hand.
#pragma once

#include <string>

#include "scene/scenedata.h"

// The file's bytes: an XML declaration, then the root "Scene" with its "name", one tab of indent
// per level. Floats are written so they scan back to the same value.
std::string WriteScene(const SceneData& scene);
