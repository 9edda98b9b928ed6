// The glow materials every visible object is drawn with: see-through, blended, depth tested but
// never written, filled or wireframe, by a program that writes the lit colour to output 0 and the
// glow (scaled by "u_glowMultiplier") to output 1. The program is not owned nor checked for null.
#pragma once

#include "content/material.h"
#include "math/mat4.h"

class Shader;

// The classes differ only in the attribute arrays they switch on for their mesh kind; arrays not
// named stay as the previous draw left them:
//   GlowTransparencySpecullar         0 … 6 on             UniqueTriangledMesh
//   StaticGlowTransparencySpecullar   0 … 2 on, 3 … 6 off  StaticTriangledMesh
//   SkinnedGlowTransparencySpecullar  see its own header   SkinnedMesh, SkinnedRibbonMesh
class BaseGlowTransparencySpecullar : public Material {
public:
    explicit BaseGlowTransparencySpecullar(Shader* shader);

    // Always true: glow materials are drawn in the engine's transparent list.
    bool IsTransparent() const override;
    // Polygon mode, depth test on, culling off, blending (source alpha, one minus source
    // alpha) on, all colour channels on, depth writes off.
    void ApplyRenderState() override;
    // Binds the program; "u_viewProjMatrix" = the frame's view-projection, times the world
    // matrix when one is set (a program without it is fatal); "u_glowMultiplier".
    void ApplyShader() override;

    void SetGlowMultiplier(float multiplier) { m_glowMultiplier = multiplier; }
    // true: GL_FILL, false: GL_LINE.
    void SetSolid(bool solid);
    void SetShader(Shader* shader) { m_shader = shader; }
    // Read through the pointer at every draw; null goes back to the plain view-projection. The
    // matrix must outlive the material's use.
    void SetWorldMatrix(const sm::Mat4* world) { m_worldMatrix = world; }

    Shader* GetShader() const { return m_shader; }
    float GetGlowMultiplier() const { return m_glowMultiplier; }
    unsigned GetPolygonMode() const { return m_polygonMode; }
    const sm::Mat4* GetWorldMatrix() const { return m_worldMatrix; }

protected:
    Shader* m_shader;

private:
    const sm::Mat4* m_worldMatrix = nullptr;
    unsigned m_polygonMode;
    float m_glowMultiplier = 1.0f;
};

class GlowTransparencySpecullar : public BaseGlowTransparencySpecullar {
public:
    explicit GlowTransparencySpecullar(Shader* shader) : BaseGlowTransparencySpecullar(shader) {}
    void ApplyRenderState() override;
};

class StaticGlowTransparencySpecullar : public BaseGlowTransparencySpecullar {
public:
    explicit StaticGlowTransparencySpecullar(Shader* shader)
        : BaseGlowTransparencySpecullar(shader) {}
    void ApplyRenderState() override;
};
