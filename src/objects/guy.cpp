#include "objects/guy.h"

#include <cstddef>

#include "base/assert.h"
#include "content/animation.h"
#include "content/animationdata.h"
#include "content/skinnedmeshdata.h"
#include "gpu/contentmanager.h"
#include "gpu/shader.h"
#include "gpu/skinnedmesh.h"
#include "gpu/skinnedribbonmesh.h"
#include "math/mat4.h"
#include "math/scalar.h"
#include "math/vec4.h"
#include "objects/ribbon.h"
#include "render/renderable.h"
#include "render/skinnedglowtransparencyspecullar.h"
#include "scene/scenedata.h"

Shader* Guy::s_ribbonShader = nullptr;

namespace {

// The same set-up for either mesh kind.
template <typename Mesh>
void SetUpMesh(Mesh* mesh, const SkinnedMeshData& data, const MaterialData& material,
               Animation* walk) {
    mesh->Create(data);
    mesh->SetAllTrianglesColor(
        sm::Vec4(material.Diffuse.x, material.Diffuse.y, material.Diffuse.z, material.Opacity));
    mesh->SetAllTrianglesGlowPower(material.SolidGlowPower);
    mesh->BindAnimation("walk", walk);
}

}  // namespace

Guy::Guy(const GuyData* guyData) : m_path(std::make_unique<AnimationCurve<sm::Vec3>>()) {
    ASSERT(guyData != NULL);
    ASSERT(guyData->Material != NULL);
    ASSERT(guyData->Path != NULL);
    const MaterialData& material = *guyData->Material;

    m_ribbonName = guyData->RibbonName;
    SetName("scene.guy." + guyData->Id);

    ASSERT(g_contentManager != NULL);
    SkinnedMeshData* meshData = g_contentManager->GetSkinnedMesh("guy");
    ASSERT(meshData);
    AnimationData* walkAnimationData = g_contentManager->GetAnimation("walk");
    ASSERT(walkAnimationData != NULL);
    AnimationData* jumpAnimationData = g_contentManager->GetAnimation("jump");
    ASSERT(jumpAnimationData != NULL);

    m_animations.push_back(std::make_unique<Animation>(walkAnimationData));
    m_animations.push_back(std::make_unique<Animation>(jumpAnimationData));

    const bool ribbonGuy = !m_ribbonName.empty();
    if (ribbonGuy) {
        m_ribbonMesh = std::make_unique<SkinnedRibbonMesh>();
        SetUpMesh(m_ribbonMesh.get(), *meshData, material, m_animations[0].get());
    } else {
        m_skinnedMesh = std::make_unique<SkinnedMesh>();
        SetUpMesh(m_skinnedMesh.get(), *meshData, material, m_animations[0].get());
    }

    Shader* shader = g_contentManager->GetShader(ribbonGuy ? "SkinnedRibbon" : "Skinned");
    ASSERT(shader != NULL);
    if (ribbonGuy) s_ribbonShader = shader;

    BaseMesh* mesh = ribbonGuy ? static_cast<BaseMesh*>(m_ribbonMesh.get())
                               : static_cast<BaseMesh*>(m_skinnedMesh.get());
    for (bool solid : {true, false}) {
        if (!(solid ? material.UseSolid : material.UseWire)) continue;
        auto glow =
            ribbonGuy
                ? std::make_unique<SkinnedGlowTransparencySpecullar>(shader, m_ribbonMesh.get())
                : std::make_unique<SkinnedGlowTransparencySpecullar>(shader, m_skinnedMesh.get());
        glow->SetGlowMultiplier(solid ? material.SolidGlowMultiplier : material.WireGlowMultiplier);
        if (!solid) glow->SetSolid(false);
        m_parts[m_partsCount] = std::make_unique<Renderable>(mesh, glow.get(), 0);
        m_materials[m_partsCount] = std::move(glow);
        m_renderables.push_back(m_parts[m_partsCount].get());
        ++m_partsCount;
    }

    for (const SceneElement::Key& key : guyData->Path->Keys)
        m_path->AddKey(key.time, key.position, sm::Vec3(), sm::Vec3());
    m_path->ComputeTangents();

    for (const SceneElement::IntKey& key : guyData->AnimationIndex)
        m_animationIndex.AddKey(key.time, key.value, false);
}

Guy::~Guy() = default;

void Guy::SetRibbon(Ribbon* ribbon) {
    m_ribbon = ribbon;
    if (m_ribbonMesh) m_ribbonMesh->SetRibbon(ribbon);
}

Animation* Guy::GetAnimation(int index) const {
    ASSERT(index >= 0 && index < static_cast<int>(m_animations.size()));
    return m_animations[static_cast<size_t>(index)].get();
}

SkinnedGlowTransparencySpecullar* Guy::GetMaterial(int index) const {
    ASSERT(index >= 0 && index < m_partsCount);
    return m_materials[index].get();
}

void Guy::Update(float time, float dt) {
    if (m_ribbonMesh) {
        float weight = 0.0f;
        if (m_ribbon && m_ribbon->GetWeights()) weight = m_ribbon->GetWeights()->Evaluate(time);
        // Written so that a NaN weight becomes 0 as well.
        if (!(weight > 0.0f)) weight = 0.0f;
        if (weight > 1.0f) weight = 1.0f;
        s_ribbonShader->Use();
        s_ribbonShader->SetFloat("u_ribbonWeight", weight);
        m_ribbonMesh->UpdateRibbonTransforms(time, dt);
    }

    const bool visible = !(time < m_path->GetStartTime() || time > m_path->GetEndTime());
    for (Renderable* renderable : m_renderables) renderable->SetVisible(visible);

    const sm::Vec3 p = m_path->Evaluate(time);
    const sm::Vec3 q = m_path->Evaluate(time + kLookAhead);
    sm::Vec3 direction(0.0f, 0.0f, 1.0f);
    if (p != q) direction = (q - p).GetNormalized();

    const sm::Mat4 world = sm::Mat4::Translation(p) *
                           sm::Mat4::LookDirection(-direction, sm::Vec3(0.0f, 1.0f, 0.0f)) *
                           sm::Mat4::Scale(kScale, kScale, kScale);

    Animation* walk = m_animations[0].get();
    const float duration = walk->GetDuration();
    // A walk without length has one pose; fmod by 0 would give NaN.
    const float walkTime = duration > 0.0f ? sm::Fmod(time * 1.0f, duration) : 0.0f;
    walk->Update(walkTime, world, dt);
}
