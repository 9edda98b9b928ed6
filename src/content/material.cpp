#include "content/material.h"

Material::Material()
    : m_diffuseColor(0.6f, 0.6f, 0.6f, 1.0f),
      m_specularColor(1.0f, 1.0f, 1.0f),
      m_glossiness(0.3f),
      m_specularLevel(1.0f),
      m_reflection(0.0f) {}

Material::~Material() = default;

bool Material::IsTransparent() const { return m_diffuseColor.w < 1.0f; }

void Material::ApplyRenderState() {}

void Material::ApplyShader() {}

void Material::Apply() {
    ApplyRenderState();
    ApplyShader();
}
