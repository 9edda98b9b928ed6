// One GL framebuffer object with its own depth renderbuffer of the size given to Setup. Colour
// targets are textures the caller owns and attaches; the attach and status calls act on
// whatever framebuffer is bound, so bind first. Destruction deletes the renderbuffer and the
// framebuffer object, never the attached textures. Needs the GL context current.
#pragma once

class Framebuffer {
public:
    Framebuffer() = default;
    ~Framebuffer();
    Framebuffer(const Framebuffer&) = delete;
    Framebuffer& operator=(const Framebuffer&) = delete;

    // Creates the depth renderbuffer and the framebuffer with it attached; leaves the default
    // framebuffer bound. Always true.
    bool Setup(int width, int height, int bitsPerPixel);
    void Bind();
    static void Unbind();

    // Attaches level 0 of a 2D texture as colour attachment index of the bound framebuffer;
    // index 0 also records the texture as this framebuffer's colour texture.
    void AttachColorTexture(unsigned textureId, int index);
    void AttachDepthTexture(unsigned textureId);
    // Fatal "GL_FRAMEBUFFER_COMPLETE == status" unless the bound framebuffer is complete.
    void CheckStatus();

    unsigned GetId() const { return m_framebufferId; }
    unsigned GetColorTextureId() const { return m_colorTextureId; }
    unsigned GetDepthRenderbufferId() const { return m_depthRenderbufferId; }
    int GetWidth() const { return m_width; }
    int GetHeight() const { return m_height; }
    int GetBitsPerPixel() const { return m_bitsPerPixel; }

private:
    unsigned m_framebufferId = 0;
    unsigned m_colorTextureId = 0;  // recorded, not owned
    unsigned m_depthRenderbufferId = 0;
    int m_width = 0;
    int m_height = 0;
    int m_bitsPerPixel = 0;
};
