// The surface description the engine draws a mesh part with: colours, scalars and the names of
// up to five textures, loaded from a ".mat" file (materialloader.h) or set up in code by the
// glow materials that derive from it. The content manager's link pass turns the diffuse, bump,
// opacity and light map names into non-owning Texture pointers; the environment texture keeps
// only its name. The base class draws nothing: its render-state and shader steps are empty.
#pragma once

#include <string>

#include "math/vec3.h"
#include "math/vec4.h"

class Texture;

class Material {
public:
    Material();
    virtual ~Material();

    // True exactly when the opacity (the fourth diffuse component) is below 1.
    virtual bool IsTransparent() const;
    virtual void ApplyRenderState();
    virtual void ApplyShader();

    // ApplyRenderState, then ApplyShader.
    void Apply();

    const std::string& GetName() const { return m_name; }
    void SetName(const std::string& name) { m_name = name; }

    // Red, green, blue and, in w, the opacity.
    const sm::Vec4& GetDiffuseColor() const { return m_diffuseColor; }
    void SetDiffuseColor(const sm::Vec4& color) { m_diffuseColor = color; }
    const sm::Vec3& GetSpecularColor() const { return m_specularColor; }
    void SetSpecularColor(const sm::Vec3& color) { m_specularColor = color; }
    float GetGlossiness() const { return m_glossiness; }
    void SetGlossiness(float glossiness) { m_glossiness = glossiness; }
    float GetSpecularLevel() const { return m_specularLevel; }
    void SetSpecularLevel(float level) { m_specularLevel = level; }
    // How much of the environment texture is reflected.
    float GetReflection() const { return m_reflection; }
    void SetReflection(float reflection) { m_reflection = reflection; }

    // Texture names are file names without folder and extension; "" means none.
    const std::string& GetDiffuseTextureName() const { return m_diffuseTextureName; }
    void SetDiffuseTextureName(const std::string& name) { m_diffuseTextureName = name; }
    const std::string& GetOpacityTextureName() const { return m_opacityTextureName; }
    void SetOpacityTextureName(const std::string& name) { m_opacityTextureName = name; }
    const std::string& GetBumpTextureName() const { return m_bumpTextureName; }
    void SetBumpTextureName(const std::string& name) { m_bumpTextureName = name; }
    const std::string& GetEnvironmentTextureName() const { return m_environmentTextureName; }
    void SetEnvironmentTextureName(const std::string& name) { m_environmentTextureName = name; }
    const std::string& GetLightmapTextureName() const { return m_lightmapTextureName; }
    void SetLightmapTextureName(const std::string& name) { m_lightmapTextureName = name; }

    // Not owned; null until the link pass finds a texture of the matching name.
    Texture* GetDiffuseTexture() const { return m_diffuseTexture; }
    void SetDiffuseTexture(Texture* texture) { m_diffuseTexture = texture; }
    Texture* GetOpacityTexture() const { return m_opacityTexture; }
    void SetOpacityTexture(Texture* texture) { m_opacityTexture = texture; }
    Texture* GetBumpTexture() const { return m_bumpTexture; }
    void SetBumpTexture(Texture* texture) { m_bumpTexture = texture; }
    Texture* GetLightmapTexture() const { return m_lightmapTexture; }
    void SetLightmapTexture(Texture* texture) { m_lightmapTexture = texture; }

protected:
    std::string m_name;
    sm::Vec4 m_diffuseColor;
    sm::Vec3 m_specularColor;
    float m_glossiness;
    float m_specularLevel;
    float m_reflection;
    std::string m_diffuseTextureName;
    std::string m_opacityTextureName;
    std::string m_bumpTextureName;
    std::string m_environmentTextureName;
    std::string m_lightmapTextureName;
    Texture* m_diffuseTexture = nullptr;
    Texture* m_opacityTexture = nullptr;
    Texture* m_bumpTexture = nullptr;
    Texture* m_lightmapTexture = nullptr;
};
