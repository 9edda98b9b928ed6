#include "render/renderable.h"

#include "base/assert.h"
#include "gpu/basemesh.h"

Renderable::Renderable(BaseMesh* mesh, Material* material, int order)
    : m_mesh(mesh), m_material(material), m_order(order) {}

void Renderable::Draw() {
    ASSERT(m_mesh != NULL);
    m_mesh->Draw();
}
