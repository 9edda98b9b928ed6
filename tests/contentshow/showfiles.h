// The show's 3D content for the tests, built once per process, and its files read back with
// the engine's loaders.
#pragma once

#include <memory>
#include <string>

#include "content/animationdata.h"
#include "content/model.h"
#include "pack.h"
#include "scene/scenedata.h"
#include "show/show.h"

const show::Show& TheShow();
const FileTree& ShowFileTree();

// The bytes of a file of the content; a missing one fails the test that asks.
const std::string& ShowFile(const std::string& path);

std::unique_ptr<Model> LoadShowModel(const std::string& name);
std::unique_ptr<AnimationData> LoadShowAnimation(const std::string& name);
// Scenes/<name>.scene through the engine's scene-file parser.
std::unique_ptr<SceneData> LoadShowScene(const std::string& name);
