#include "render/graphicsengine.h"

#include <GL/glew.h>

#include <algorithm>

#include "base/assert.h"
#include "content/material.h"
#include "gpu/contentmanager.h"
#include "gpu/shader.h"
#include "gpu/texture.h"
#include "render/framebuffer.h"
#include "render/glcheck.h"
#include "render/passtimer.h"
#include "render/quad.h"
#include "render/renderable.h"

namespace {

// The highest attribute location any mesh kind feeds; the quad passes switch off every array
// up to it, so no array left enabled by a mesh is read past its buffer's end.
constexpr GLuint kLastMeshAttribute = 8;

std::unique_ptr<Texture> RenderTarget(int width, int height) {
    return std::make_unique<Texture>(width, height, 32, nullptr, GL_CLAMP_TO_EDGE, GL_LINEAR,
                                     GL_LINEAR, false);
}

bool ByOrder(const Renderable* a, const Renderable* b) { return a->GetOrder() < b->GetOrder(); }

}  // namespace

GraphicsEngine::GraphicsEngine(int width, int height) : m_width(width), m_height(height) {}

GraphicsEngine::~GraphicsEngine() = default;

void GraphicsEngine::Initialize() {
    const int halfWidth = m_width / 2;
    const int halfHeight = m_height / 2;

    m_sceneTexture = RenderTarget(m_width, m_height);
    m_glowTexture = RenderTarget(m_width, m_height);
    m_glowHalfTexture = RenderTarget(halfWidth, halfHeight);
    m_glowBlurHTexture = RenderTarget(halfWidth, halfHeight);
    m_glowBlurTexture = RenderTarget(halfWidth, halfHeight);

    m_sceneFramebuffer = std::make_unique<Framebuffer>();
    m_sceneFramebuffer->Setup(m_width, m_height, 32);
    m_sceneFramebuffer->Bind();
    m_sceneFramebuffer->AttachColorTexture(m_sceneTexture->GetId(), 0);
    m_sceneFramebuffer->AttachColorTexture(m_glowTexture->GetId(), 1);
    m_sceneFramebuffer->CheckStatus();

    m_halfFramebuffer = std::make_unique<Framebuffer>();
    m_halfFramebuffer->Setup(halfWidth, halfHeight, 32);

    m_quad = std::make_unique<Quad>();
    m_quad->Create();

    ASSERT(g_contentManager != NULL);
    struct Program {
        const char* name;
        Shader** member;
        const char* assertion;
    };
    const Program programs[] = {
        {"Downsample", &m_downsampleShader, "m_downsampleShader != NULL"},
        {"Blit", &m_blitShader, "m_blitShader != NULL"},
        {"BlitOpacity", &m_blitOpacityShader, "m_blitOpacityShader != NULL"},
        {"HoriBlur", &m_horiBlurShader, "m_horiBlurShader != NULL"},
        {"VertBlur", &m_vertBlurShader, "m_vertBlurShader != NULL"},
        {"Add", &m_addShader, "m_addShader != NULL"},
    };
    for (const Program& program : programs) {
        *program.member = g_contentManager->GetShader(program.name);
        if (*program.member == nullptr) {
            ReportAssertionFailure(program.assertion, __FILE__, __LINE__);
        }
    }
}

void GraphicsEngine::SetRenderables(const std::vector<Renderable*>& list) {
    m_opaqueRenderables.clear();
    m_transparentRenderables.clear();
    for (Renderable* renderable : list) {
        ASSERT(renderable != NULL);
        Material* material = renderable->GetMaterial();
        ASSERT(material != NULL);
        if (material->IsTransparent()) {
            m_transparentRenderables.push_back(renderable);
        } else {
            m_opaqueRenderables.push_back(renderable);
        }
    }
    // Stable, so that renderables with equal keys draw the same way in every run.
    std::stable_sort(m_opaqueRenderables.begin(), m_opaqueRenderables.end(), ByOrder);
    std::stable_sort(m_transparentRenderables.begin(), m_transparentRenderables.end(), ByOrder);
}

void GraphicsEngine::Render() {
    PassTimer::Begin();
    // 1. The scene pass writes the scene image and the glow source at once, alpha included.
    m_sceneFramebuffer->Bind();
    glViewport(0, 0, m_width, m_height);
    const GLenum drawBuffers[2] = {GL_COLOR_ATTACHMENT0, GL_COLOR_ATTACHMENT1};
    glDrawBuffers(2, drawBuffers);
    glDepthMask(GL_TRUE);
    glColorMaski(0, GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glColorMaski(1, GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    // Stands only until a material sets its own.
    glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
    glEnable(GL_DEPTH_TEST);

    // 2. Opaque renderables, then transparent ones, each in ascending order key.
    for (const std::vector<Renderable*>* list : {&m_opaqueRenderables, &m_transparentRenderables}) {
        for (Renderable* renderable : *list) {
            if (!renderable->IsVisible()) continue;
            renderable->GetMaterial()->Apply();
            renderable->Draw();
            if (GlCheck::Enabled())
                GlCheck::After("the scene pass, material " + renderable->GetMaterial()->GetName());
        }
    }

    // 3. The default framebuffer between the passes.
    Framebuffer::Unbind();
    PassTimer::End(&FramePassTimes::scene);
    PassTimer::Begin();

    // 4. The glow source at half size.
    m_halfFramebuffer->Bind();
    m_halfFramebuffer->AttachColorTexture(m_glowHalfTexture->GetId(), 0);
    glDrawBuffer(GL_COLOR_ATTACHMENT0);
    Downsample(m_glowTexture.get());

    // 5. Blurred horizontally, then vertically, still at half size.
    Blur(m_glowHalfTexture.get());

    // 6. and 7. The composite into the window; blending is still off from the downsample.
    Framebuffer::Unbind();
    SetPostProcessState(m_width, m_height);
    m_addShader->Use();
    m_addShader->SetTexture("u_tex1", 0, m_sceneTexture->GetId());
    m_addShader->SetTexture("u_tex2", 1, m_glowBlurTexture->GetId());
    DrawQuad();
    PassTimer::End(&FramePassTimes::glow);
    GlCheck::After("the glow passes");
}

void GraphicsEngine::Downsample(const Texture* source) {
    SetPostProcessState(m_width / 2, m_height / 2);
    glDisable(GL_BLEND);
    m_downsampleShader->Use();
    m_downsampleShader->SetTexture("u_tex", 0, source->GetId());
    m_downsampleShader->SetVec2("u_texelSize", 1.0f / static_cast<float>(m_width),
                                1.0f / static_cast<float>(m_height));
    // The quad covers every pixel, so the half target needs no clear.
    DrawQuad();
}

void GraphicsEngine::Blur(const Texture* source) {
    m_halfFramebuffer->AttachColorTexture(m_glowBlurHTexture->GetId(), 0);
    SetPostProcessState(m_width / 2, m_height / 2);
    m_horiBlurShader->Use();
    m_horiBlurShader->SetTexture("u_tex", 0, source->GetId());
    m_horiBlurShader->SetFloat("u_texelSize", 1.0f / static_cast<float>(source->GetWidth()));
    DrawQuad();

    m_halfFramebuffer->AttachColorTexture(m_glowBlurTexture->GetId(), 0);
    m_vertBlurShader->Use();
    m_vertBlurShader->SetTexture("u_tex", 0, m_glowBlurHTexture->GetId());
    m_vertBlurShader->SetFloat("u_texelSize", 1.0f / static_cast<float>(source->GetHeight()));
    DrawQuad();
}

void GraphicsEngine::BlitOpacity(const Texture* texture, float opacity) {
    ASSERT(texture != NULL);
    glViewport(0, 0, m_width, m_height);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glDepthMask(GL_FALSE);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    m_blitOpacityShader->Use();
    m_blitOpacityShader->SetTexture("u_tex", 0, texture->GetId());
    m_blitOpacityShader->SetFloat("u_opacity", opacity);
    DrawQuad();
}

void GraphicsEngine::SetPostProcessState(int width, int height) {
    glViewport(0, 0, width, height);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glDepthMask(GL_FALSE);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_FALSE);
    glDisable(GL_DEPTH_TEST);
}

void GraphicsEngine::DrawQuad() {
    glEnableVertexAttribArray(0);
    for (GLuint index = 1; index <= kLastMeshAttribute; ++index) glDisableVertexAttribArray(index);
    m_quad->Draw();
    glDisableVertexAttribArray(0);
}
