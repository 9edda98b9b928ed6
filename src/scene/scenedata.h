// The description records of a scene file: what ribbons, statics and guys it asks for, as
// plain data with the file format's defaults. The scene loader fills them and hands them to the
// object constructors; the scene-file writer and the inspector read them. They know nothing of
// XML, models or GPU objects, and check nothing.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "math/vec3.h"
#include "math/vec4.h"

// The look of one mesh. The defaults hold for the record as created; a property element
// without a "value" gives 0, false or (0, 0, 0) instead.
struct MaterialData {
    sm::Vec3 Diffuse = sm::Vec3(0.5f, 0.5f, 0.5f);  // red, green, blue
    float Opacity = 1.0f;
    bool UseSolid = true;
    bool UseWire = true;
    float SolidGlowPower = 1.0f;
    float SolidGlowMultiplier = 1.0f;
    float WireGlowPower = 1.0f;  // read, used by no object
    float WireGlowMultiplier = 1.0f;
};

namespace SceneElement {

// One key of a path. Only time and position come from the file.
struct Key {
    float time = 0.0f;
    sm::Vec3 position;
    sm::Vec4 rotation = sm::Vec4(0.0f, 1.0f, 0.0f, 0.0f);
    sm::Vec3 scale = sm::Vec3(1.0f, 1.0f, 1.0f);
};

struct FloatKey {
    float time = 0.0f;
    float value = 0.0f;
};

struct IntKey {
    float time = 0.0f;
    int value = 0;
};

}  // namespace SceneElement

// Keys and weights keep document order; nothing sorts them or checks their times.
struct PathData {
    std::vector<SceneElement::Key> Keys;
    std::vector<SceneElement::FloatKey> RibbonWeights;
    float Spread = 1.0f;
    float TriangleScale = 0.5f;
    float Delay = 4.0f;
    bool DontRender = false;
};

// Each Material is null when its element is absent.
struct SourceData {
    std::string MeshName;
    std::unique_ptr<MaterialData> Material;
    bool Stay = false;
    bool Destroy = false;
};

struct DestinationData {
    std::string MeshName;
    std::unique_ptr<MaterialData> Material;
    bool Stay = false;
};

struct StaticSourceData {
    std::string MeshName;
    std::unique_ptr<MaterialData> Material;
};

struct StaticDestinationData {
    std::string MeshName;
    std::unique_ptr<MaterialData> Material;
};

// Each part is null when its element is absent.
struct RibbonData {
    std::unique_ptr<SourceData> Source;
    std::unique_ptr<DestinationData> Destination;
    std::unique_ptr<StaticSourceData> StaticSource;
    std::unique_ptr<StaticDestinationData> StaticDestination;
    std::unique_ptr<PathData> Path;
};

struct StaticData {
    std::string MeshName;
    std::unique_ptr<MaterialData> Material;
    int Order = 0;
};

struct GuyData {
    std::string Id;
    std::unique_ptr<MaterialData> Material;
    std::unique_ptr<PathData> Path;
    std::vector<SceneElement::IntKey> AnimationIndex;
    std::string RibbonName;
};

// A whole file. name is the root's "name": the model that holds every mesh the file names,
// and the scene's own name. Each list keeps document order.
struct SceneData {
    std::string name;
    std::vector<RibbonData> ribbons;
    std::vector<StaticData> statics;
    std::vector<GuyData> guys;
};
