// Loads every content file of the data folder once, at start-up, and keeps each item under its
// file name without folder and last extension, in the case the file system gives (lookups are
// case-sensitive). Models, textures, shader programs, animations and materials come from the
// IGraphicsEngine factory; skinned meshes from their loader. A file that fails to load maps its
// name to null. ResolveReferences then links mesh parts to materials and materials to
// textures. Every other part of the program reaches content through the lookups, which return
// null for an unknown name and never insert one. The manager owns the items and deletes them
// when it goes (GPU items need the GL context then).
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

class AnimationData;
class IGraphicsEngine;
class Material;
class Model;
class Shader;
class SkinnedMeshData;
class Texture;

class ContentManager {
public:
    explicit ContentManager(IGraphicsEngine* factory);
    ~ContentManager();
    ContentManager(const ContentManager&) = delete;
    ContentManager& operator=(const ContentManager&) = delete;

    // Each takes a folder path ending with a separator ("\" or "/").
    void LoadModels(const std::string& directory);
    void LoadTextures(const std::string& directory);
    void LoadShaders(const std::string& directory);
    void LoadAnimations(const std::string& directory);
    void LoadMaterials(const std::string& directory);
    void LoadSkinnedMeshes(const std::string& directory);
    void ResolveReferences();

    Texture* GetTexture(const std::string& name) const;
    Shader* GetShader(const std::string& name) const;
    Model* GetModel(const std::string& name) const;
    AnimationData* GetAnimation(const std::string& name) const;
    Material* GetMaterial(const std::string& name) const;
    SkinnedMeshData* GetSkinnedMesh(const std::string& name) const;

    const std::map<std::string, Texture*>& GetTextures() const { return m_textures; }
    const std::map<std::string, Shader*>& GetShaders() const { return m_shaders; }
    const std::map<std::string, Model*>& GetModels() const { return m_models; }
    const std::map<std::string, AnimationData*>& GetAnimations() const { return m_animations; }
    const std::map<std::string, Material*>& GetMaterials() const { return m_materials; }
    const std::map<std::string, SkinnedMeshData*>& GetSkinnedMeshes() const {
        return m_skinnedMeshes;
    }

private:
    struct Owned;

    IGraphicsEngine* m_factory;
    std::map<std::string, Texture*> m_textures;
    std::map<std::string, Shader*> m_shaders;
    std::map<std::string, Model*> m_models;
    std::map<std::string, AnimationData*> m_animations;
    std::map<std::string, Material*> m_materials;
    std::map<std::string, SkinnedMeshData*> m_skinnedMeshes;
    // Everything loaded, replaced items included, for deletion with the manager.
    std::unique_ptr<Owned> m_owned;
};

// The one manager of the run; set by the manager's construction.
extern ContentManager* g_contentManager;
