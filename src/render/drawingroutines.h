// Rendering state shared by the drawing code for the whole run: the frame's view-projection
// matrix (set once per frame before anything is drawn, read by the glow materials), the eye and
// light positions, and the twelve start-up programs with their attribute locations bound. No
// instances; the state is static and starts zeroed. Main thread only.
#pragma once

#include "math/mat4.h"
#include "math/vec3.h"

class ContentManager;
class Shader;

class DrawingRoutines {
public:
    DrawingRoutines() = delete;

    // Looks up "Black", "Color", "Diff", "DiffNorm", "DiffLightMap", "DiffNormLightmap",
    // "ShadowMap", "SM_Color", "SpecularColored", "SM_DiffNorm", "SM_DiffNormLightmap" and
    // "SpecularBlur" in that order. Each of the first eleven gets its attribute locations bound
    // and is linked again before the next is looked up; "SpecularBlur" is only required. A
    // missing program is fatal ("<member> != NULL"), and the ones after it are not looked up.
    // Always true.
    static bool LoadShaders(ContentManager* content);

    static void SetViewProjMatrix(const sm::Mat4& matrix) { m_viewProjMatrix = matrix; }
    // The last matrix set; the reference stays valid for the whole run.
    static const sm::Mat4& GetViewProjMatrix() { return m_viewProjMatrix; }
    static void SetEyePosition(const sm::Vec3& position) { m_eyePosition = position; }
    static const sm::Vec3& GetEyePosition() { return m_eyePosition; }
    static void SetLightPosition(const sm::Vec3& position) { m_lightPosition = position; }
    static const sm::Vec3& GetLightPosition() { return m_lightPosition; }

    // Null until LoadShaders has found them; the content manager owns the programs.
    static Shader* GetBlackShader() { return m_blackShader; }
    static Shader* GetColorShader() { return m_colorShader; }
    static Shader* GetDiffShader() { return m_diffShader; }
    static Shader* GetDiffNormShader() { return m_diffNormShader; }
    static Shader* GetDiffLightMapShader() { return m_diffLightMapShader; }
    static Shader* GetDiffNormLightmapShader() { return m_diffNormLightmapShader; }
    static Shader* GetShadowMapShader() { return m_shadowMapShader; }
    static Shader* GetSmColorShader() { return m_sm_colorShader; }
    static Shader* GetSpecularColoredShader() { return m_specularColored; }
    static Shader* GetSmDiffNormShader() { return m_sm_diffNormShader; }
    static Shader* GetSmDiffNormLightmapShader() { return m_sm_diffNormLightmapShader; }
    static Shader* GetSpecularBlurShader() { return m_specularBlur; }

private:
    static sm::Mat4 m_viewProjMatrix;
    static sm::Vec3 m_eyePosition;
    static sm::Vec3 m_lightPosition;
    static Shader* m_blackShader;
    static Shader* m_colorShader;
    static Shader* m_diffShader;
    static Shader* m_diffNormShader;
    static Shader* m_diffLightMapShader;
    static Shader* m_diffNormLightmapShader;
    static Shader* m_shadowMapShader;
    static Shader* m_sm_colorShader;
    static Shader* m_specularColored;
    static Shader* m_sm_diffNormShader;
    static Shader* m_sm_diffNormLightmapShader;
    static Shader* m_specularBlur;
};
