#include "gpu/contentmanager.h"

#include "content/animationdata.h"
#include "content/fileutils.h"
#include "content/material.h"
#include "content/model.h"
#include "content/pathinfo.h"
#include "content/skinnedmeshdata.h"
#include "gpu/igraphicsengine.h"
#include "gpu/shader.h"
#include "gpu/texture.h"

ContentManager* g_contentManager = nullptr;

struct ContentManager::Owned {
    std::vector<std::unique_ptr<Texture>> textures;
    std::vector<std::unique_ptr<Shader>> shaders;
    std::vector<std::unique_ptr<Model>> models;
    std::vector<std::unique_ptr<AnimationData>> animations;
    std::vector<std::unique_ptr<Material>> materials;
    std::vector<std::unique_ptr<SkinnedMeshData>> skinnedMeshes;
};

namespace {

template <typename T>
T* Lookup(const std::map<std::string, T*>& map, const std::string& name) {
    auto it = map.find(name);
    return it == map.end() ? nullptr : it->second;
}

// Lists the masks in order into one list, then stores each file's item under its name; a
// later file of the same name replaces the earlier one's pointer.
template <typename T, typename Produce>
void LoadKind(const std::string& directory, std::initializer_list<const char*> masks,
              std::map<std::string, T*>& map, std::vector<std::unique_ptr<T>>& owned,
              Produce produce) {
    std::vector<std::string> files;
    for (const char* mask : masks) ListFiles(files, directory, mask);
    for (const std::string& file : files) {
        PathInfo info(directory + file);
        T* item = produce(info.GetFullPath());
        if (item) owned.emplace_back(item);
        map.insert_or_assign(info.GetName(), item);
    }
}

}  // namespace

ContentManager::ContentManager(IGraphicsEngine* factory) : m_factory(factory), m_owned(new Owned) {
    g_contentManager = this;
}

ContentManager::~ContentManager() = default;

void ContentManager::LoadModels(const std::string& directory) {
    LoadKind(directory, {"*.geo"}, m_models, m_owned->models,
             [this](const std::string& path) { return m_factory->LoadModel(path); });
}

void ContentManager::LoadTextures(const std::string& directory) {
    LoadKind(directory, {"*.png", "*.jpg"}, m_textures, m_owned->textures,
             [this](const std::string& path) { return m_factory->LoadTexture(path); });
}

void ContentManager::LoadShaders(const std::string& directory) {
    LoadKind(directory, {"*.vpr"}, m_shaders, m_owned->shaders,
             [this, &directory](const std::string& vertexPath) {
                 // The fragment source is the vertex source's name with ".fpr", beside it;
                 // whether it exists is the program loader's concern.
                 PathInfo fragment(directory + PathInfo(vertexPath).GetName() + ".fpr");
                 return m_factory->LoadShader(vertexPath, fragment.GetFullPath());
             });
}

void ContentManager::LoadAnimations(const std::string& directory) {
    LoadKind(directory, {"*.ani"}, m_animations, m_owned->animations,
             [this](const std::string& path) { return m_factory->LoadAnimation(path); });
}

void ContentManager::LoadMaterials(const std::string& directory) {
    LoadKind(directory, {"*.mat"}, m_materials, m_owned->materials,
             [this](const std::string& path) { return m_factory->LoadMaterial(path); });
}

void ContentManager::LoadSkinnedMeshes(const std::string& directory) {
    LoadKind(directory, {"*.skm"}, m_skinnedMeshes, m_owned->skinnedMeshes,
             [](const std::string& path) { return LoadSkinnedMesh(path).release(); });
}

void ContentManager::ResolveReferences() {
    for (const auto& [name, model] : m_models) {
        if (!model) continue;
        std::vector<MeshPart*> parts;
        model->CollectMeshParts(&parts);
        for (MeshPart* part : parts) part->SetMaterial(GetMaterial(part->GetMaterialName()));
    }
    for (const auto& [name, material] : m_materials) {
        if (!material) continue;
        material->SetDiffuseTexture(GetTexture(material->GetDiffuseTextureName()));
        material->SetBumpTexture(GetTexture(material->GetBumpTextureName()));
        material->SetOpacityTexture(GetTexture(material->GetOpacityTextureName()));
        material->SetLightmapTexture(GetTexture(material->GetLightmapTextureName()));
    }
}

Texture* ContentManager::GetTexture(const std::string& name) const {
    return Lookup(m_textures, name);
}
Shader* ContentManager::GetShader(const std::string& name) const { return Lookup(m_shaders, name); }
Model* ContentManager::GetModel(const std::string& name) const { return Lookup(m_models, name); }
AnimationData* ContentManager::GetAnimation(const std::string& name) const {
    return Lookup(m_animations, name);
}
Material* ContentManager::GetMaterial(const std::string& name) const {
    return Lookup(m_materials, name);
}
SkinnedMeshData* ContentManager::GetSkinnedMesh(const std::string& name) const {
    return Lookup(m_skinnedMeshes, name);
}
