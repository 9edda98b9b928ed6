#include "objects/ribbon.h"

#include <cstddef>

#include "base/assert.h"
#include "content/model.h"
#include "gpu/contentmanager.h"
#include "gpu/statictriangledmesh.h"
#include "gpu/uniquetriangledmesh.h"
#include "math/vec4.h"
#include "objects/trianglesribbon.h"
#include "render/baseglowtransparencyspecullar.h"
#include "render/renderable.h"
#include "scene/ribboncurvebuilder.h"
#include "scene/scenedata.h"
#include "scene/trianglemodificator.h"

namespace {

constexpr int kOrder = 1;

sm::Vec4 Colour(const MaterialData& data) {
    return sm::Vec4(data.Diffuse.x, data.Diffuse.y, data.Diffuse.z, data.Opacity);
}

// The still copy of a mesh, or null when there is none to make (meshName null).
std::unique_ptr<StaticTriangledMesh> MakeStaticCopy(const Model& model, const std::string* meshName,
                                                    const MaterialData* materialData) {
    if (!meshName) return nullptr;
    ASSERT(materialData != NULL);
    ASSERT(materialData->UseSolid || materialData->UseWire);
    Mesh* mesh = model.FindMesh(*meshName);
    ASSERT(mesh != NULL);
    auto copy = std::make_unique<StaticTriangledMesh>();
    copy->Create(*mesh->GetPart(0));
    copy->SetAllTrianglesGlowPower(materialData->SolidGlowPower);
    copy->SetAllTrianglesColor(Colour(*materialData));
    return copy;
}

}  // namespace

Ribbon::Ribbon(const std::string& modelName, const RibbonData* ribbonData) {
    ASSERT(ribbonData != NULL);
    ASSERT(ribbonData->Path != NULL);
    ASSERT(ribbonData->Path->Keys.size() > 0);
    const PathData& path = *ribbonData->Path;

    if (ribbonData->Destination) SetName(ribbonData->Destination->MeshName);
    m_startTime = path.Keys.front().time;
    m_endTime = path.Keys.back().time + path.Delay;

    ASSERT(g_contentManager != NULL);
    Model* model = g_contentManager->GetModel(modelName);
    ASSERT(model != NULL);
    Shader* glowSpecullarShader = g_contentManager->GetShader("SpecularBlur");
    ASSERT(glowSpecullarShader != NULL);
    Shader* staticGlowSpecullarShader = g_contentManager->GetShader("StaticSpecularBlur");
    ASSERT(staticGlowSpecullarShader != NULL);

    RibbonCurveDestroy destroy;
    RibbonCurveSource source;
    RibbonCurveDestination destination;
    RibbonCurveFullSource fullSource;
    RibbonCurveFullDestination fullDestination;
    IRibbonCurveBuilder* sourceBuilder = nullptr;
    IRibbonCurveBuilder* destinationBuilder = nullptr;
    if (ribbonData->Source && ribbonData->Source->Destroy) {
        sourceBuilder = &destroy;
        m_endTime *= 10.0f;
    } else if (ribbonData->Source && !ribbonData->Destination) {
        sourceBuilder = &source;
    } else if (!ribbonData->Source && ribbonData->Destination) {
        destinationBuilder = &destination;
    } else if (ribbonData->Source && ribbonData->Destination) {
        sourceBuilder = &fullSource;
        destinationBuilder = &fullDestination;
    }

    const int halfKeys = static_cast<int>(path.Keys.size()) / 2;

    if (ribbonData->Source) {
        ASSERT(ribbonData->Source->Material != NULL);
        ASSERT(ribbonData->Source->Material->UseSolid || ribbonData->Source->Material->UseWire);
        const MaterialData& material = *ribbonData->Source->Material;
        m_sourceRibbon = std::make_unique<TrianglesRibbon>();
        Mesh* mesh = model->FindMesh(ribbonData->Source->MeshName);
        ASSERT(mesh != NULL);
        m_sourceRibbon->Init(sourceBuilder, *mesh->GetPart(0), &path, halfKeys, path.Spread,
                             path.TriangleScale, path.Delay / 2.0f);
        m_sourceRibbon->SetModificator(BlinkAtStartAndEnd::GetInstance());
        m_sourceRibbon->GetMesh()->SetAllTrianglesGlowPower(material.SolidGlowPower);
        m_sourceRibbon->GetMesh()->SetAllTrianglesColor(Colour(material));
        if (!path.DontRender) {
            AddRenderables<GlowTransparencySpecullar>(kSourceSolid, m_sourceRibbon->GetMesh(),
                                                      glowSpecullarShader, material);
        }
    }

    if (ribbonData->Destination) {
        ASSERT(ribbonData->Destination->Material != NULL);
        ASSERT(ribbonData->Destination->Material->UseSolid ||
               ribbonData->Destination->Material->UseWire);
        const MaterialData& material = *ribbonData->Destination->Material;
        m_destinationRibbon = std::make_unique<TrianglesRibbon>();
        Mesh* mesh = model->FindMesh(ribbonData->Destination->MeshName);
        ASSERT(mesh != NULL);
        m_destinationRibbon->Init(destinationBuilder, *mesh->GetPart(0), &path, halfKeys,
                                  path.Spread, path.TriangleScale, path.Delay);
        m_destinationRibbon->GetMesh()->SetAllTrianglesGlowPower(material.SolidGlowPower);
        m_destinationRibbon->GetMesh()->SetAllTrianglesColor(Colour(material));
        if (!path.DontRender) {
            AddRenderables<GlowTransparencySpecullar>(
                kDestinationSolid, m_destinationRibbon->GetMesh(), glowSpecullarShader, material);
        }
    }

    // The still copies: from their own records, else from a part that stays. "dont_render"
    // leaves them alone.
    const std::string* meshName = nullptr;
    const MaterialData* materialData = nullptr;
    if (ribbonData->StaticSource) {
        meshName = &ribbonData->StaticSource->MeshName;
        materialData = ribbonData->StaticSource->Material.get();
    } else if (ribbonData->Source && ribbonData->Source->Stay) {
        meshName = &ribbonData->Source->MeshName;
        materialData = ribbonData->Source->Material.get();
    }
    m_staticSourceMesh = MakeStaticCopy(*model, meshName, materialData);
    if (m_staticSourceMesh) {
        AddRenderables<StaticGlowTransparencySpecullar>(
            kStaticSourceSolid, m_staticSourceMesh.get(), staticGlowSpecullarShader, *materialData);
    }

    meshName = nullptr;
    materialData = nullptr;
    if (ribbonData->StaticDestination) {
        meshName = &ribbonData->StaticDestination->MeshName;
        materialData = ribbonData->StaticDestination->Material.get();
    } else if (ribbonData->Destination && ribbonData->Destination->Stay) {
        meshName = &ribbonData->Destination->MeshName;
        materialData = ribbonData->Destination->Material.get();
    }
    m_staticDestinationMesh = MakeStaticCopy(*model, meshName, materialData);
    if (m_staticDestinationMesh) {
        AddRenderables<StaticGlowTransparencySpecullar>(kStaticDestinationSolid,
                                                        m_staticDestinationMesh.get(),
                                                        staticGlowSpecullarShader, *materialData);
    }

    if (!path.RibbonWeights.empty()) {
        m_weights = std::make_unique<AnimationCurve<float>>();
        for (const SceneElement::FloatKey& key : path.RibbonWeights)
            m_weights->AddKey(key.time, key.value, 0.0f, 0.0f);
        m_weights->ComputeTangents();
    }
}

Ribbon::~Ribbon() = default;

template <typename GlowMaterial>
void Ribbon::AddRenderables(Part solid, BaseMesh* mesh, Shader* shader, const MaterialData& data) {
    const Part wire = static_cast<Part>(solid + 1);
    if (data.UseSolid) {
        auto material = std::make_unique<GlowMaterial>(shader);
        material->SetGlowMultiplier(data.SolidGlowMultiplier);
        m_parts[solid] = std::make_unique<Renderable>(mesh, material.get(), kOrder);
        m_materials[solid] = std::move(material);
        m_renderables.push_back(m_parts[solid].get());
    }
    if (data.UseWire) {
        auto material = std::make_unique<GlowMaterial>(shader);
        material->SetGlowMultiplier(data.WireGlowMultiplier);
        material->SetSolid(false);
        m_parts[wire] = std::make_unique<Renderable>(mesh, material.get(), kOrder);
        m_materials[wire] = std::move(material);
        m_renderables.push_back(m_parts[wire].get());
    }
}

void Ribbon::Show(Part solid) {
    for (Part part : {solid, static_cast<Part>(solid + 1)})
        if (m_parts[part]) m_parts[part]->SetVisible(true);
}

void Ribbon::Update(float time, float dt) {
    for (Renderable* renderable : m_renderables) renderable->SetVisible(false);

    if (m_startTime <= time && time <= m_endTime) {
        Show(kSourceSolid);
        if (m_sourceRibbon) m_sourceRibbon->Update(time, dt);
        Show(kDestinationSolid);
        if (m_destinationRibbon) m_destinationRibbon->Update(time, dt);
    } else if (time < m_startTime && m_parts[kStaticSourceSolid]) {
        Show(kStaticSourceSolid);
    } else if (time > m_endTime && m_parts[kStaticDestinationSolid]) {
        Show(kStaticDestinationSolid);
    }
}

int Ribbon::GetRibbonTrianglesCount() const {
    if (m_destinationRibbon) return m_destinationRibbon->GetRibbonTrianglesCount();
    if (m_sourceRibbon) return m_sourceRibbon->GetRibbonTrianglesCount();
    return 0;
}

const RibbonTriangle& Ribbon::GetRibbonTriangle(int index) const {
    const TrianglesRibbon* list =
        m_destinationRibbon ? m_destinationRibbon.get() : m_sourceRibbon.get();
    ASSERT(list != NULL);
    return list->GetRibbonTriangle(index);
}
