// Draws one frame of the current scene's renderables and finishes it with a glow: the scene is
// drawn once into two full-size targets at once (the scene image and the glow source), the glow
// source is downsampled to half size and blurred there in two passes, and the composite of both
// goes to the default framebuffer. BlitOpacity lays full-window overlays over the result.
// Create it once with the window's size (it never changes), Initialize after the content is
// loaded (g_contentManager must hold the post-processing programs), then SetRenderables whenever
// the scene changes and Render every frame. It does not swap buffers and saves no GL state.
#pragma once

#include <memory>
#include <vector>

class Framebuffer;
class Quad;
class Renderable;
class Shader;
class Texture;

class GraphicsEngine {
public:
    GraphicsEngine(int width, int height);
    virtual ~GraphicsEngine();
    GraphicsEngine(const GraphicsEngine&) = delete;
    GraphicsEngine& operator=(const GraphicsEngine&) = delete;

    // Creates the five targets (half size truncates: 1366 x 767 gives 683 x 383), the two
    // framebuffers and the quad, then requires "Downsample", "Blit", "BlitOpacity", "HoriBlur",
    // "VertBlur" and "Add": a missing one is fatal ("m_downsampleShader != NULL", ...). An
    // incomplete scene framebuffer is fatal "GL_FRAMEBUFFER_COMPLETE == status".
    void Initialize();

    // Splits the list by material transparency (opaque ones are drawn first) and sorts each
    // part by ascending order key; equal keys keep their list order. The renderables are not
    // owned and must outlive their use here. A renderable without material is fatal
    // "material != NULL". Visibility is read at draw time, so hiding needs no new call.
    void SetRenderables(const std::vector<Renderable*>& list);

    // The frame, into the default framebuffer's current draw buffer.
    void Render();

    // Blends texture over the whole frame (source alpha) with its coverage scaled by opacity:
    // 0 leaves the frame unchanged, 1 shows the texture at full strength. Draws into whatever
    // framebuffer is bound and leaves blending enabled.
    void BlitOpacity(const Texture* texture, float opacity);

    int GetWidth() const { return m_width; }
    int GetHeight() const { return m_height; }
    const std::vector<Renderable*>& GetOpaqueRenderables() const { return m_opaqueRenderables; }
    const std::vector<Renderable*>& GetTransparentRenderables() const {
        return m_transparentRenderables;
    }
    // Null until Initialize.
    const Texture* GetSceneTexture() const { return m_sceneTexture.get(); }
    const Texture* GetGlowTexture() const { return m_glowTexture.get(); }
    const Texture* GetGlowHalfTexture() const { return m_glowHalfTexture.get(); }
    const Texture* GetGlowBlurHTexture() const { return m_glowBlurHTexture.get(); }
    const Texture* GetGlowBlurTexture() const { return m_glowBlurTexture.get(); }

private:
    void Downsample(const Texture* source);
    void Blur(const Texture* source);
    // One full-target pass: only attribute array 0 enabled while the quad draws.
    void DrawQuad();
    // Fill mode, no depth test or depth writes, colour writes without alpha.
    void SetPostProcessState(int width, int height);

    int m_width;
    int m_height;
    // Textures are declared before the framebuffers that point at them, so they go last.
    std::unique_ptr<Texture> m_sceneTexture;
    std::unique_ptr<Texture> m_glowTexture;
    std::unique_ptr<Texture> m_glowHalfTexture;
    std::unique_ptr<Texture> m_glowBlurHTexture;
    std::unique_ptr<Texture> m_glowBlurTexture;
    std::unique_ptr<Framebuffer> m_sceneFramebuffer;
    std::unique_ptr<Framebuffer> m_halfFramebuffer;
    std::unique_ptr<Quad> m_quad;
    // Owned by the content manager.
    Shader* m_downsampleShader = nullptr;
    Shader* m_blitShader = nullptr;
    Shader* m_blitOpacityShader = nullptr;
    Shader* m_horiBlurShader = nullptr;
    Shader* m_vertBlurShader = nullptr;
    Shader* m_addShader = nullptr;
    std::vector<Renderable*> m_opaqueRenderables;
    std::vector<Renderable*> m_transparentRenderables;
};
