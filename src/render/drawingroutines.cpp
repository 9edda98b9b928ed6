#include "render/drawingroutines.h"

#include "base/assert.h"
#include "gpu/contentmanager.h"
#include "gpu/shader.h"

namespace {

sm::Mat4 ZeroMatrix() {
    sm::Mat4 m;
    for (float& element : m.m) element = 0.0f;
    return m;
}

// Attribute names by location: position first, then texture coordinates, the normal after all
// coordinates, the tangent last. Null ends the list.
struct ProgramEntry {
    const char* name;
    Shader** member;
    const char* assertion;
    const char* attributes[6];
};

}  // namespace

sm::Mat4 DrawingRoutines::m_viewProjMatrix = ZeroMatrix();
sm::Vec3 DrawingRoutines::m_eyePosition;
sm::Vec3 DrawingRoutines::m_lightPosition;
Shader* DrawingRoutines::m_blackShader = nullptr;
Shader* DrawingRoutines::m_colorShader = nullptr;
Shader* DrawingRoutines::m_diffShader = nullptr;
Shader* DrawingRoutines::m_diffNormShader = nullptr;
Shader* DrawingRoutines::m_diffLightMapShader = nullptr;
Shader* DrawingRoutines::m_diffNormLightmapShader = nullptr;
Shader* DrawingRoutines::m_shadowMapShader = nullptr;
Shader* DrawingRoutines::m_sm_colorShader = nullptr;
Shader* DrawingRoutines::m_specularColored = nullptr;
Shader* DrawingRoutines::m_sm_diffNormShader = nullptr;
Shader* DrawingRoutines::m_sm_diffNormLightmapShader = nullptr;
Shader* DrawingRoutines::m_specularBlur = nullptr;

bool DrawingRoutines::LoadShaders(ContentManager* content) {
    ASSERT(content != NULL);
    const ProgramEntry programs[] = {
        {"Black", &m_blackShader, "m_blackShader != NULL", {"a_position"}},
        {"Color", &m_colorShader, "m_colorShader != NULL", {"a_position", "a_normal"}},
        {"Diff", &m_diffShader, "m_diffShader != NULL", {"a_position", "a_coordsDiff", "a_normal"}},
        {"DiffNorm",
         &m_diffNormShader,
         "m_diffNormShader != NULL",
         {"a_position", "a_coordsDiff", "a_normal", "a_tangent"}},
        {"DiffLightMap",
         &m_diffLightMapShader,
         "m_diffLightMapShader != NULL",
         {"a_position", "a_coordsDiff", "a_coordsLightmap", "a_normal"}},
        {"DiffNormLightmap",
         &m_diffNormLightmapShader,
         "m_diffNormLightmapShader != NULL",
         {"a_position", "a_coordsDiff", "a_coordsLightmap", "a_normal", "a_tangent"}},
        {"ShadowMap", &m_shadowMapShader, "m_shadowMapShader != NULL", {"a_position"}},
        {"SM_Color", &m_sm_colorShader, "m_sm_colorShader != NULL", {"a_position", "a_normal"}},
        {"SpecularColored",
         &m_specularColored,
         "m_specularColored != NULL",
         {"a_position", "a_color", "a_transform"}},
        {"SM_DiffNorm",
         &m_sm_diffNormShader,
         "m_sm_diffNormShader != NULL",
         {"a_position", "a_coordsDiff", "a_normal", "a_tangent"}},
        {"SM_DiffNormLightmap",
         &m_sm_diffNormLightmapShader,
         "m_sm_diffNormLightmapShader != NULL",
         {"a_position", "a_coordsDiff", "a_coordsLightmap", "a_normal", "a_tangent"}},
    };
    for (const ProgramEntry& program : programs) {
        Shader* shader = content->GetShader(program.name);
        *program.member = shader;
        if (shader == nullptr) ReportAssertionFailure(program.assertion, __FILE__, __LINE__);
        for (unsigned location = 0; program.attributes[location] != nullptr; ++location) {
            shader->BindAttribLocation(location, program.attributes[location]);
        }
        shader->Link();
    }
    m_specularBlur = content->GetShader("SpecularBlur");
    ASSERT(m_specularBlur != NULL);
    return true;
}
