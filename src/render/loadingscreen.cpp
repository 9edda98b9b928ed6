#include "render/loadingscreen.h"

#include <GL/glew.h>

#include <cstddef>

#include "base/assert.h"
#include "gpu/shader.h"
#include "gpu/texture.h"
#include "render/spritebatch.h"
#include "window/openglwindow.h"

LoadingScreen::LoadingScreen(OpenglWindow* window) : m_window(window) {}

LoadingScreen::~LoadingScreen() = default;

void LoadingScreen::Init(const std::string& dataDir) {
    ASSERT(m_window != nullptr);
    Texture* loadingTex = Texture::LoadFromFile(dataDir + "loader.jpg");
    ASSERT(loadingTex != NULL);
    m_picture.reset(loadingTex);
    // Drawn once and whole: with repeat wrapping the bilinear filter would mix each edge of a
    // picture smaller than the window with the opposite edge.
    glBindTexture(GL_TEXTURE_2D, m_picture->GetId());
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);

    m_width = m_window->GetWidth();
    m_height = m_window->GetHeight();

    m_batch.reset();
    m_shader.reset(
        Shader::LoadShader(dataDir + "Effects/Sprite.vpr", dataDir + "Effects/Sprite.fpr"));
    m_batch.reset(new SpriteBatch(
        m_shader.get(),
        sm::Mat4::Ortho(0.0f, static_cast<float>(m_width), 0.0f, static_cast<float>(m_height))));
}

void LoadingScreen::Draw() {
    ASSERT(m_batch != nullptr);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    m_batch->Begin();
    glDisable(GL_BLEND);  // the picture is opaque
    m_batch->DrawSprite(m_picture.get(), 0, 0, m_width, m_height);
    m_batch->End();
    m_window->SwapBuffers();
}

void LoadingScreen::SetTotal(int total) {
    m_total = total;
    m_loaded = 0;
}
