// The JSON dumps of pindle-inspect, one per content kind. Each loads the file with the
// engine's own loader (fatal reports go to the installed handler) and writes one document.
#pragma once

#include <string>
#include <vector>

#include "jsonwriter.h"

void DumpModel(const std::string& path, const std::vector<float>& times, JsonWriter& json);
void DumpSkinnedMesh(const std::string& path, const std::vector<float>& times, JsonWriter& json);
void DumpAnimation(const std::string& path, JsonWriter& json);
void DumpCameras(const std::string& path, JsonWriter& json);
void DumpMaterial(const std::string& path, JsonWriter& json);
void DumpImage(const std::string& path, JsonWriter& json);
// The scene file's description records as parsed, without building any object; every member
// named as in the file's records, null where a part is absent.
void DumpScene(const std::string& path, JsonWriter& json);

// eval: node matrices of an animation instance at each time, nodes in pre-order.
void EvalAnimation(const std::string& path, const std::vector<float>& times, JsonWriter& json);
// cameras: the manager's camera list and, per time, the chosen camera's view and projection.
void EvalCameras(const std::string& cameraPath, const std::string& animationPath,
                 const std::vector<float>& times, float aspect, JsonWriter& json);
