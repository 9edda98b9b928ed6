#include "dump.h"

#include "base/assert.h"
#include "camera/animcameramanager.h"
#include "content/animation.h"
#include "content/animationdata.h"
#include "content/imageloader.h"
#include "content/material.h"
#include "content/materialloader.h"
#include "content/model.h"
#include "content/modelloader.h"
#include "content/skinnedmeshdata.h"
#include "content/xmlnode.h"
#include "math/property.h"
#include "scene/sceneloader.h"

namespace {

const char* PropertyTypeName(PropertyType type) {
    switch (type) {
        case PropertyType_Boolean:
            return "Boolean";
        case PropertyType_Int:
            return "Int";
        case PropertyType_Float:
            return "Float";
        case PropertyType_Vector3:
            return "Vector3";
        case PropertyType_String:
            return "String";
    }
    return "?";
}

const char* AnimationTypeName(AnimationType type) {
    switch (type) {
        case AnimationType_None:
            return "None";
        case AnimationType_State:
            return "State";
        case AnimationType_Linear:
            return "Linear";
        case AnimationType_TCB:
            return "TCB";
    }
    return "?";
}

void Vec3Value(JsonWriter& json, const sm::Vec3& v) {
    const float values[3] = {v.x, v.y, v.z};
    json.Numbers(values, 3);
}

void QuatValue(JsonWriter& json, const sm::Quat& q) {
    const float values[4] = {q.w, q.v.x, q.v.y, q.v.z};
    json.Numbers(values, 4);
}

void PropertyValue(JsonWriter& json, const Property& p) {
    switch (p.GetPropertyType()) {
        case PropertyType_Boolean:
            json.Bool(p.GetBool(0.0f));
            break;
        case PropertyType_Int:
            json.Int(p.GetInt(0.0f));
            break;
        case PropertyType_Float:
            json.Number(p.GetFloat(0.0f));
            break;
        case PropertyType_Vector3:
            Vec3Value(json, p.GetVector3(0.0f));
            break;
        case PropertyType_String:
            json.String(p.GetString(0.0f));
            break;
    }
}

template <typename Map>
void Properties(JsonWriter& json, const Map& properties, const std::vector<float>& times) {
    json.Key("properties");
    json.BeginArray();
    for (const auto& entry : properties) {
        const Property& p = *entry.second;
        json.BeginObject();
        json.Member("name", p.GetName());
        json.Member("type", PropertyTypeName(p.GetPropertyType()));
        json.Member("animation", AnimationTypeName(p.GetAnimationType()));
        if (!p.IsAnimated()) {
            json.Key("value");
            PropertyValue(json, p);
        } else {
            json.Member("keysCount", p.GetInterpolator()->GetKeysCount());
            bool sampled = p.GetPropertyType() == PropertyType_Int ||
                           p.GetPropertyType() == PropertyType_Float;
            if (sampled) {
                json.Key("samples");
                json.BeginArray();
                for (float t : times) {
                    json.BeginObject();
                    json.Member("time", t);
                    int keyIndex = 0;
                    json.Key("value");
                    if (p.GetPropertyType() == PropertyType_Int)
                        json.Int(p.GetInt(t, &keyIndex));
                    else
                        json.Number(p.GetFloat(t, &keyIndex));
                    json.Member("keyIndex", keyIndex);
                    json.EndObject();
                }
                json.EndArray();
            }
        }
        json.EndObject();
    }
    json.EndArray();
}

template <typename T, typename WriteValue>
void Track(JsonWriter& json, const char* name, const AnimationCurve<T>* curve, const T& constant,
           WriteValue write) {
    json.Key(name);
    json.BeginObject();
    if (!curve) {
        json.Key("constant");
        write(json, constant);
    } else {
        json.Key("keys");
        json.BeginArray();
        for (int i = 0; i < curve->GetKeysCount(); ++i) {
            const Keyframe<T>& key = curve->GetKey(i);
            json.BeginObject();
            json.Member("time", key.time);
            json.Key("value");
            write(json, key.value);
            json.Key("inTangent");
            write(json, key.inTangent);
            json.Key("outTangent");
            write(json, key.outTangent);
            json.EndObject();
        }
        json.EndArray();
    }
    json.EndObject();
}

void Node(JsonWriter& json, const AnimationData& node) {
    json.BeginObject();
    json.Member("id", node.GetId());
    json.Member("name", node.GetName());
    json.MemberNumbers("baseMatrix", node.GetBaseMatrix().m, 16);
    Track(json, "position", node.GetPositionCurve(), node.GetPosition(), Vec3Value);
    Track(json, "rotation", node.GetRotationCurve(), node.GetRotation(), QuatValue);
    Track(json, "scale", node.GetScaleCurve(), node.GetScale(), Vec3Value);
    json.Key("children");
    json.BeginArray();
    for (int i = 0; i < node.GetChildrenCount(); ++i) Node(json, *node.GetChild(i));
    json.EndArray();
    json.EndObject();
}

void FloatChannel(JsonWriter& json, const char* constantName, const char* keysName,
                  const AnimationCurve<float>* curve, float constant) {
    if (!curve) {
        json.Member(constantName, constant);
        return;
    }
    json.Key(keysName);
    json.BeginArray();
    for (int i = 0; i < curve->GetKeysCount(); ++i) {
        const float pair[2] = {curve->GetKey(i).time, curve->GetKey(i).value};
        json.Numbers(pair, 2);
    }
    json.EndArray();
}

std::unique_ptr<AnimationData> LoadAnimationOrFail(const std::string& path) {
    std::unique_ptr<AnimationData> data = LoadAnimation(path);
    if (!data) ReportFatal(path + ": cannot be read");
    return data;
}

void PreOrder(const Animation& node, std::vector<const Animation*>* out) {
    out->push_back(&node);
    for (int i = 0; i < node.GetChildrenCount(); ++i) PreOrder(*node.GetChild(i), out);
}

void SceneMaterial(JsonWriter& json, const MaterialData* material) {
    json.Key("Material");
    if (!material) {
        json.Null();
        return;
    }
    json.BeginObject();
    json.Key("Diffuse");
    Vec3Value(json, material->Diffuse);
    json.Member("Opacity", material->Opacity);
    json.Member("UseSolid", material->UseSolid);
    json.Member("UseWire", material->UseWire);
    json.Member("SolidGlowPower", material->SolidGlowPower);
    json.Member("SolidGlowMultiplier", material->SolidGlowMultiplier);
    json.Member("WireGlowPower", material->WireGlowPower);
    json.Member("WireGlowMultiplier", material->WireGlowMultiplier);
    json.EndObject();
}

void ScenePath(JsonWriter& json, const PathData* path) {
    json.Key("Path");
    if (!path) {
        json.Null();
        return;
    }
    json.BeginObject();
    json.Key("Keys");
    json.BeginArray();
    for (const SceneElement::Key& key : path->Keys) {
        json.BeginObject();
        json.Member("time", key.time);
        json.Key("position");
        Vec3Value(json, key.position);
        json.EndObject();
    }
    json.EndArray();
    json.Key("RibbonWeights");
    json.BeginArray();
    for (const SceneElement::FloatKey& key : path->RibbonWeights) {
        json.BeginObject();
        json.Member("time", key.time);
        json.Member("value", key.value);
        json.EndObject();
    }
    json.EndArray();
    json.Member("Spread", path->Spread);
    json.Member("TriangleScale", path->TriangleScale);
    json.Member("Delay", path->Delay);
    json.Member("DontRender", path->DontRender);
    json.EndObject();
}

// A ribbon's Source, Destination, StaticSource or StaticDestination, with the flags its kind
// has.
void MeshFlags(JsonWriter& json, const SourceData& source) {
    json.Member("Stay", source.Stay);
    json.Member("Destroy", source.Destroy);
}
void MeshFlags(JsonWriter& json, const DestinationData& destination) {
    json.Member("Stay", destination.Stay);
}
void MeshFlags(JsonWriter&, const StaticSourceData&) {}
void MeshFlags(JsonWriter&, const StaticDestinationData&) {}

template <typename Record>
void SceneMesh(JsonWriter& json, const char* name, const Record* mesh) {
    json.Key(name);
    if (!mesh) {
        json.Null();
        return;
    }
    json.BeginObject();
    json.Member("MeshName", mesh->MeshName);
    MeshFlags(json, *mesh);
    SceneMaterial(json, mesh->Material.get());
    json.EndObject();
}

}  // namespace

void DumpModel(const std::string& path, const std::vector<float>& times, JsonWriter& json) {
    std::unique_ptr<Model> model = LoadModel(path);
    json.BeginObject();
    json.Member("kind", "model");
    json.Member("version", static_cast<int>(model->GetVersion()));
    json.Key("meshes");
    json.BeginArray();
    for (int m = 0; m < model->GetMeshesCount(); ++m) {
        const Mesh& mesh = *model->GetMesh(m);
        json.BeginObject();
        json.Member("id", mesh.GetId());
        json.Member("name", mesh.GetName());
        json.MemberNumbers("fileTransform", mesh.GetFileTransform().m, 16);
        json.Member("castShadows", mesh.GetCastShadows());
        json.Member("receiveShadows", mesh.GetReceiveShadows());
        json.Key("parts");
        json.BeginArray();
        for (int p = 0; p < mesh.GetPartsCount(); ++p) {
            const MeshPart& part = *mesh.GetPart(p);
            const BoundingBox& box = part.GetBoundingBox();
            const BoundingSphere& sphere = part.GetBoundingSphere();
            json.BeginObject();
            json.Member("materialName", part.GetMaterialName());
            json.Member("vertexType", part.GetVertexType());
            json.Member("verticesCount", part.GetVerticesCount());
            json.Key("boundingBox");
            json.BeginObject();
            json.Member("minX", box.minX);
            json.Member("maxX", box.maxX);
            json.Member("minY", box.minY);
            json.Member("maxY", box.maxY);
            json.Member("minZ", box.minZ);
            json.Member("maxZ", box.maxZ);
            json.Key("center");
            Vec3Value(json, box.center);
            json.EndObject();
            json.Key("boundingSphere");
            json.BeginObject();
            json.Member("radius", sphere.radius);
            json.Key("center");
            Vec3Value(json, sphere.center);
            json.EndObject();
            json.EndObject();
        }
        json.EndArray();
        Properties(json, mesh.GetProperties(), times);
        json.EndObject();
    }
    json.EndArray();
    json.EndObject();
}

void DumpSkinnedMesh(const std::string& path, const std::vector<float>& times, JsonWriter& json) {
    std::unique_ptr<SkinnedMeshData> mesh = LoadSkinnedMesh(path);
    json.BeginObject();
    json.Member("kind", "skinnedMesh");
    json.Member("id", mesh->GetId());
    json.Member("name", mesh->GetName());
    json.Member("secondName", mesh->GetSecondName());
    json.MemberNumbers("transform", mesh->GetTransform().m, 16);
    json.Member("bonesCount", mesh->GetBonesCount());
    json.Key("boneIds");
    json.BeginArray();
    for (int i = 0; i < mesh->GetBonesCount(); ++i) json.Int(mesh->GetBoneId(i));
    json.EndArray();
    json.Member("verticesCount", mesh->GetVerticesCount());
    json.Key("vertices");
    json.BeginArray();
    for (int i = 0; i < mesh->GetVerticesCount(); ++i) {
        const SkinnedVertex& v = mesh->GetVertices()[i];
        json.BeginObject();
        json.Key("position");
        Vec3Value(json, v.position);
        json.Key("bones");
        json.BeginArray();
        for (uint8_t b : v.bones) json.Int(b);
        json.EndArray();
        json.MemberNumbers("weights", v.weights, 4);
        json.EndObject();
    }
    json.EndArray();
    Properties(json, mesh->GetProperties(), times);
    json.EndObject();
}

void DumpAnimation(const std::string& path, JsonWriter& json) {
    std::unique_ptr<AnimationData> data = LoadAnimationOrFail(path);
    json.BeginObject();
    json.Member("kind", "animation");
    json.Member("duration", data->GetDuration());
    json.Key("root");
    Node(json, *data);
    json.EndObject();
}

void DumpCameras(const std::string& path, JsonWriter& json) {
    AnimCameraManager manager;
    manager.Load(path, nullptr);  // without an animation every end time is 0: file order stays
    json.BeginObject();
    json.Member("kind", "cameras");
    json.Key("cameras");
    json.BeginArray();
    for (int i = 0; i < manager.GetCamerasCount(); ++i) {
        const AnimCamera& c = *manager.GetCamera(i);
        json.BeginObject();
        json.Member("id", c.GetId());
        json.Member("name", c.GetName());
        json.MemberNumbers("worldMatrix", c.GetWorldMatrix().m, 16);
        FloatChannel(json, "fov", "fovKeys", c.GetFovCurve(), c.GetConstantFov());
        FloatChannel(json, "fov2", "fov2Keys", c.GetFov2Curve(), c.GetConstantFov2());
        json.Member("near", c.GetNear());
        json.Member("far", c.GetFar());
        json.EndObject();
    }
    json.EndArray();
    json.EndObject();
}

void DumpMaterial(const std::string& path, JsonWriter& json) {
    std::unique_ptr<Material> material = LoadMaterial(path);
    if (!material) ReportFatal(path + ": cannot be read as a material (missing or not XML)");
    json.BeginObject();
    json.Member("kind", "material");
    json.Member("name", material->GetName());
    const sm::Vec4& d = material->GetDiffuseColor();
    const float diffuse[4] = {d.x, d.y, d.z, d.w};
    json.MemberNumbers("diffuseColor", diffuse, 4);
    json.Key("specularColor");
    Vec3Value(json, material->GetSpecularColor());
    json.Member("glossiness", material->GetGlossiness());
    json.Member("specularLevel", material->GetSpecularLevel());
    json.Member("reflection", material->GetReflection());
    json.Member("diffuseTexture", material->GetDiffuseTextureName());
    json.Member("opacityTexture", material->GetOpacityTextureName());
    json.Member("bumpTexture", material->GetBumpTextureName());
    json.Member("environmentTexture", material->GetEnvironmentTextureName());
    json.Member("lightmapTexture", material->GetLightmapTextureName());
    json.Member("transparent", material->IsTransparent());
    json.EndObject();
}

void DumpImage(const std::string& path, JsonWriter& json) {
    ImageLoader::Pixels pixels;
    int width = 0, height = 0, bytesPerPixel = 0;
    std::string reason;
    if (!ImageLoader::Load(path, pixels, width, height, bytesPerPixel, &reason))
        ReportFatal(path + ": cannot be decoded as an image (" + reason + ")");
    json.BeginObject();
    json.Member("kind", "image");
    json.Member("width", width);
    json.Member("height", height);
    json.Member("bytesPerPixel", bytesPerPixel);
    json.EndObject();
}

void DumpScene(const std::string& path, JsonWriter& json) {
    std::unique_ptr<XMLNode> root = XMLNode::LoadFromFile(path);
    if (!root) ReportFatal(path + ": cannot be read as XML");
    std::unique_ptr<SceneData> scene = ParseScene(*root);
    if (!scene) ReportFatal(path + ": the root has no \"Ribbons\" element");
    json.BeginObject();
    json.Member("kind", "scene");
    json.Member("name", scene->name);
    json.Key("ribbons");
    json.BeginArray();
    for (const RibbonData& ribbon : scene->ribbons) {
        json.BeginObject();
        SceneMesh(json, "Source", ribbon.Source.get());
        SceneMesh(json, "Destination", ribbon.Destination.get());
        SceneMesh(json, "StaticSource", ribbon.StaticSource.get());
        SceneMesh(json, "StaticDestination", ribbon.StaticDestination.get());
        ScenePath(json, ribbon.Path.get());
        json.EndObject();
    }
    json.EndArray();
    json.Key("statics");
    json.BeginArray();
    for (const StaticData& data : scene->statics) {
        json.BeginObject();
        json.Member("MeshName", data.MeshName);
        json.Member("Order", data.Order);
        SceneMaterial(json, data.Material.get());
        json.EndObject();
    }
    json.EndArray();
    json.Key("guys");
    json.BeginArray();
    for (const GuyData& guy : scene->guys) {
        json.BeginObject();
        json.Member("Id", guy.Id);
        json.Member("RibbonName", guy.RibbonName);
        SceneMaterial(json, guy.Material.get());
        ScenePath(json, guy.Path.get());
        json.Key("AnimationIndex");
        json.BeginArray();
        for (const SceneElement::IntKey& key : guy.AnimationIndex) {
            json.BeginObject();
            json.Member("time", key.time);
            json.Member("value", key.value);
            json.EndObject();
        }
        json.EndArray();
        json.EndObject();
    }
    json.EndArray();
    json.EndObject();
}

void EvalAnimation(const std::string& path, const std::vector<float>& times, JsonWriter& json) {
    std::unique_ptr<AnimationData> data = LoadAnimationOrFail(path);
    Animation instance(data.get());
    std::vector<const Animation*> nodes;
    PreOrder(instance, &nodes);
    json.BeginObject();
    json.Key("frames");
    json.BeginArray();
    for (float t : times) {
        instance.Update(t, sm::Mat4(), 0.0f);
        json.BeginObject();
        json.Member("time", t);
        json.Key("nodes");
        json.BeginArray();
        for (const Animation* node : nodes) {
            json.BeginObject();
            json.Member("id", node->GetData()->GetId());
            json.Member("name", node->GetData()->GetName());
            json.MemberNumbers("matrix", node->GetMatrix().m, 16);
            json.EndObject();
        }
        json.EndArray();
        json.EndObject();
    }
    json.EndArray();
    json.EndObject();
}

void EvalCameras(const std::string& cameraPath, const std::string& animationPath,
                 const std::vector<float>& times, float aspect, JsonWriter& json) {
    std::unique_ptr<AnimationData> data = LoadAnimationOrFail(animationPath);
    Animation instance(data.get());
    AnimCameraManager manager;
    manager.Load(cameraPath, &instance);
    json.BeginObject();
    json.Key("cameras");
    json.BeginArray();
    for (int i = 0; i < manager.GetCamerasCount(); ++i) {
        const AnimCamera& c = *manager.GetCamera(i);
        json.BeginObject();
        json.Member("index", i);
        json.Member("id", c.GetId());
        json.Member("name", c.GetName());
        json.Member("startTime", c.GetStartTime());
        json.Member("endTime", c.GetEndTime());
        json.Member("near", c.GetNear());
        json.Member("far", c.GetFar());
        json.EndObject();
    }
    json.EndArray();
    json.Key("frames");
    json.BeginArray();
    for (float t : times) {
        instance.Update(t, sm::Mat4(), 0.0f);
        AnimCamera* camera = manager.GetCameraAt(t);
        json.BeginObject();
        json.Member("time", t);
        if (!camera) {
            json.Key("camera");
            json.Null();
            json.EndObject();
            continue;
        }
        sm::Mat4 view;
        camera->GetViewMatrix(view);
        sm::Vec3 position;
        camera->GetPosition(position);
        float fov = camera->GetFov(t);
        sm::Mat4 projection =
            sm::Mat4::Perspective(fov, aspect, camera->GetNear(), camera->GetFar());
        json.Member("camera", std::min(manager.GetCursor(), manager.GetCamerasCount() - 1));
        json.MemberNumbers("view", view.m, 16);
        json.Member("fov", fov);
        json.Key("position");
        Vec3Value(json, position);
        json.Member("near", camera->GetNear());
        json.Member("far", camera->GetFar());
        json.MemberNumbers("projection", projection.m, 16);
        json.EndObject();
    }
    json.EndArray();
    json.EndObject();
}
