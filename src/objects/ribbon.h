// The ribbon game object of a scene file's "Ribbon": a source mesh whose triangles fly off along
// the path, a destination mesh whose triangles fly in, still copies of either shown before and
// after the flight, and an optional weight curve for a figure that rides the ribbon. Everything
// is built by the constructor; Update only chooses what is visible and moves the triangles.
// As a triangle list it offers the destination's flying triangles, else the source's.
#pragma once

#include <array>
#include <memory>
#include <string>

#include "content/ribbontriangle.h"
#include "math/animationcurve.h"
#include "objects/gameobject.h"

class BaseGlowTransparencySpecullar;
class BaseMesh;
class Renderable;
class Shader;
class StaticTriangledMesh;
class TrianglesRibbon;
struct MaterialData;
struct RibbonData;

class Ribbon : public GameObject, public IRibbonTriangleList {
public:
    // Where each renderable sits among the eight; GetRenderables() holds the created ones in
    // this order.
    enum Part {
        kSourceSolid,
        kSourceWire,
        kDestinationSolid,
        kDestinationWire,
        kStaticSourceSolid,
        kStaticSourceWire,
        kStaticDestinationSolid,
        kStaticDestinationWire,
        kPartsCount
    };

    // Builds every part from the record, meshes from the model modelName ("SpecularBlur" for
    // the flying triangles, "StaticSpecularBlur" for the still copies, order key 1 for all).
    // The builders: a destroying source shatters (and the window lasts ten times as long); a
    // source alone flies away; a destination alone assembles; both morph, the source over the
    // first half of the keys. Missing content and invalid records are fatal; a destroying
    // source with a destination is fatal too (the destination has no builder). The record is
    // read only here.
    Ribbon(const std::string& modelName, const RibbonData* ribbonData);
    ~Ribbon() override;

    // Hides every part, then: inside [start, end] (both included) shows and moves the flying
    // triangles; before it the still source copy, after it the still destination copy, each
    // only when its material has the solid pass. Outside the window the flying triangles keep
    // their last place.
    void Update(float time, float dt) override;

    // From the path's "RibbonWeights" keys (tangents computed); null without them.
    const AnimationCurve<float>* GetWeights() const { return m_weights.get(); }

    // Null when the record has no such part.
    TrianglesRibbon* GetSourceRibbon() const { return m_sourceRibbon.get(); }
    TrianglesRibbon* GetDestinationRibbon() const { return m_destinationRibbon.get(); }
    StaticTriangledMesh* GetStaticSourceMesh() const { return m_staticSourceMesh.get(); }
    StaticTriangledMesh* GetStaticDestinationMesh() const { return m_staticDestinationMesh.get(); }
    // Null unless created.
    Renderable* GetRenderable(Part part) const { return m_parts[part].get(); }
    BaseGlowTransparencySpecullar* GetMaterial(Part part) const { return m_materials[part].get(); }

    // The first path key's time, and the last's plus the delay (times 10 when destroying).
    float GetStartTime() const { return m_startTime; }
    float GetEndTime() const { return m_endTime; }

    // IRibbonTriangleList: the destination's triangles, else the source's, else none.
    int GetRibbonTrianglesCount() const override;
    const RibbonTriangle& GetRibbonTriangle(int index) const override;

private:
    // Makes the solid and wire parts of one mesh that the material asks for, at slot solid and
    // solid + 1, and appends them to the renderables.
    template <typename GlowMaterial>
    void AddRenderables(Part solid, BaseMesh* mesh, Shader* shader, const MaterialData& data);
    // Shows the parts at solid and solid + 1 that exist.
    void Show(Part solid);

    std::unique_ptr<AnimationCurve<float>> m_weights;
    std::unique_ptr<TrianglesRibbon> m_sourceRibbon;
    std::unique_ptr<TrianglesRibbon> m_destinationRibbon;
    std::unique_ptr<StaticTriangledMesh> m_staticSourceMesh;
    std::unique_ptr<StaticTriangledMesh> m_staticDestinationMesh;
    std::array<std::unique_ptr<BaseGlowTransparencySpecullar>, kPartsCount> m_materials;
    std::array<std::unique_ptr<Renderable>, kPartsCount> m_parts;
    float m_startTime = 0.0f;
    float m_endTime = 0.0f;
};
