// The unit the graphics engine draws: one GPU mesh with one material, a draw-order key
// (ascending) and a visibility flag. It owns neither the mesh nor the material; both belong to
// the game object that made it. Draw only draws the mesh: the caller applies the material first.
// m_worldMatrix is a place for an animated transform that a material may be pointed at; Draw
// does not read it.
#pragma once

#include "math/mat4.h"

class BaseMesh;
class Material;

class Renderable {
public:
    Renderable(BaseMesh* mesh, Material* material, int order);
    virtual ~Renderable() = default;

    // Fails "m_mesh != NULL" without a mesh.
    virtual void Draw();

    BaseMesh* GetMesh() const { return m_mesh; }
    Material* GetMaterial() const { return m_material; }
    int GetOrder() const { return m_order; }
    bool IsVisible() const { return m_visible; }
    void SetVisible(bool visible) { m_visible = visible; }

    sm::Mat4 m_worldMatrix;

private:
    BaseMesh* m_mesh;
    Material* m_material;
    bool m_visible = true;
    int m_order;
};
