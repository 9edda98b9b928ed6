// The walking figure of a scene file's "Guy": the skinned "guy" mesh following a keyed path,
// facing where it goes at 2 % of its modelled size, looping its walk cycle on the music time,
// and shown only while the path's key range lasts. A guy with a ribbon name is drawn as a
// skinned ribbon mesh whose triangles a Ribbon attached with SetRibbon can pull away, blended
// by the ribbon's weight curve. The jump animation and the animation index keys are kept but
// never played.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "math/animationcurve.h"
#include "math/interpolator.h"
#include "objects/gameobject.h"

class Animation;
class Renderable;
class Ribbon;
class Shader;
class SkinnedGlowTransparencySpecullar;
class SkinnedMesh;
class SkinnedRibbonMesh;
struct GuyData;

class Guy : public GameObject {
public:
    // Named "scene.guy." + the record's id. Needs the skinned mesh "guy", the animations "walk"
    // and "jump", and the program "Skinned" (a plain guy) or "SkinnedRibbon" (a ribbon guy);
    // any of them missing, or a missing record, material or path, is fatal. Solid and wire
    // renderables as the material asks, solid first, order key 0. The record is read only here.
    explicit Guy(const GuyData* guyData);
    ~Guy() override;

    // A ribbon guy first sets "u_ribbonWeight" of the "SkinnedRibbon" program to the attached
    // ribbon's weight at time, clamped to [0, 1] (0 without a ribbon or weight keys), and
    // places its triangles from the ribbon. Then: visible exactly while time lies within the
    // path's keys (an empty path is fatal here); the world matrix Translation(p) ·
    // LookDirection(−d, +y) · Scale(0.02) with p the path at time and d the direction to the
    // path 0.05 s later ((0, 0, 1) when that is p itself); the walk posed at time modulo its
    // duration (at 0 for a walk without length) under that matrix.
    void Update(float time, float dt) override;

    // The ribbon whose triangles and weight a ribbon guy follows; null detaches. Not owned.
    // A plain guy keeps the pointer but nothing reads it.
    void SetRibbon(Ribbon* ribbon);
    Ribbon* GetRibbon() const { return m_ribbon; }

    const std::string& GetRibbonName() const { return m_ribbonName; }
    bool IsRibbonGuy() const { return m_ribbonMesh != nullptr; }
    // Exactly one is non-null.
    SkinnedMesh* GetSkinnedMesh() const { return m_skinnedMesh.get(); }
    SkinnedRibbonMesh* GetRibbonMesh() const { return m_ribbonMesh.get(); }
    const AnimationCurve<sm::Vec3>& GetPath() const { return *m_path; }
    // 0 is the walk, 1 the jump.
    Animation* GetAnimation(int index) const;
    const StateInterpolator<int>& GetAnimationIndexKeys() const { return m_animationIndex; }
    // The material of renderable index (0 … GetRenderables().size() − 1); any other index is
    // fatal.
    SkinnedGlowTransparencySpecullar* GetMaterial(int index) const;

    // The "SkinnedRibbon" program, shared by every ribbon guy: set by the latest ribbon guy
    // built, null before.
    static Shader* GetRibbonShader() { return s_ribbonShader; }

    static constexpr float kScale = 0.02f;
    static constexpr float kLookAhead = 0.05f;  // seconds

private:
    static Shader* s_ribbonShader;

    std::string m_ribbonName;
    std::unique_ptr<AnimationCurve<sm::Vec3>> m_path;
    std::unique_ptr<SkinnedMesh> m_skinnedMesh;
    std::unique_ptr<SkinnedRibbonMesh> m_ribbonMesh;
    std::vector<std::unique_ptr<Animation>> m_animations;
    StateInterpolator<int> m_animationIndex;
    std::unique_ptr<SkinnedGlowTransparencySpecullar> m_materials[2];
    std::unique_ptr<Renderable> m_parts[2];
    int m_partsCount = 0;
    Ribbon* m_ribbon = nullptr;
};
