#include "objects/static.h"

#include <cstddef>

#include "base/assert.h"
#include "content/model.h"
#include "gpu/contentmanager.h"
#include "gpu/statictriangledmesh.h"
#include "math/vec4.h"
#include "render/baseglowtransparencyspecullar.h"
#include "render/renderable.h"
#include "scene/scenedata.h"

Static::Static(const std::string& modelName, const StaticData* staticData) {
    ASSERT(staticData != NULL);
    ASSERT(staticData->Material != NULL);
    ASSERT(staticData->Material->UseSolid || staticData->Material->UseWire);
    const MaterialData& material = *staticData->Material;

    ASSERT(g_contentManager != NULL);
    Model* model = g_contentManager->GetModel(modelName);
    ASSERT(model != NULL);
    Mesh* sceneMesh = model->FindMesh(staticData->MeshName);
    ASSERT(sceneMesh != NULL);

    SetName(staticData->MeshName);

    m_mesh = std::make_unique<StaticTriangledMesh>();
    m_mesh->Create(*sceneMesh->GetPart(0));
    m_mesh->SetAllTrianglesColor(
        sm::Vec4(material.Diffuse.x, material.Diffuse.y, material.Diffuse.z, material.Opacity));
    m_mesh->SetAllTrianglesGlowPower(material.SolidGlowPower);

    Shader* glowSpecullarShader = g_contentManager->GetShader("StaticSpecularBlur");
    ASSERT(glowSpecullarShader != NULL);

    for (bool solid : {true, false}) {
        if (!(solid ? material.UseSolid : material.UseWire)) continue;
        auto glow = std::make_unique<StaticGlowTransparencySpecullar>(glowSpecullarShader);
        glow->SetGlowMultiplier(solid ? material.SolidGlowMultiplier : material.WireGlowMultiplier);
        glow->SetSolid(solid);
        m_parts[m_partsCount] =
            std::make_unique<Renderable>(m_mesh.get(), glow.get(), staticData->Order);
        m_materials[m_partsCount] = std::move(glow);
        m_renderables.push_back(m_parts[m_partsCount].get());
        ++m_partsCount;
    }
}

Static::~Static() = default;

void Static::Update(float /*time*/, float /*dt*/) {}

StaticGlowTransparencySpecullar* Static::GetMaterial(int index) const {
    ASSERT(index >= 0 && index < m_partsCount);
    return m_materials[index].get();
}
