// A still mesh of a scene file's "StaticMeshes": one mesh of the scene's model, drawn where the
// model has it with the static glow materials, solid, wireframe or both (solid first), under the
// record's order key. It never moves or hides itself; scenes may still point its materials
// elsewhere (a world matrix, another program) through GetMaterial.
#pragma once

#include <memory>
#include <string>

#include "objects/gameobject.h"

class Renderable;
class StaticGlowTransparencySpecullar;
class StaticTriangledMesh;
struct StaticData;

class Static : public GameObject {
public:
    // Named after the record's mesh; built from that mesh's first part of the model modelName
    // with "StaticSpecularBlur". A missing record, material, model, mesh or program, or a
    // material with neither pass, is fatal. The record is read only here.
    Static(const std::string& modelName, const StaticData* staticData);
    ~Static() override;

    void Update(float time, float dt) override;

    StaticTriangledMesh* GetMesh() const { return m_mesh.get(); }
    // The material of renderable index (0 … GetRenderables().size() − 1); any other index is
    // fatal.
    StaticGlowTransparencySpecullar* GetMaterial(int index) const;

private:
    std::unique_ptr<StaticTriangledMesh> m_mesh;
    std::unique_ptr<StaticGlowTransparencySpecullar> m_materials[2];
    std::unique_ptr<Renderable> m_parts[2];
    int m_partsCount = 0;
};
