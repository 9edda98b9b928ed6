// 2D textures: content pictures loaded from PNG or JPEG files, and empty render targets. The
// GL format follows the bits per pixel: 8 is GL_ALPHA, 24 GL_RGB, 32 GL_RGBA; 16 is not
// supported and fatal. A content texture is flipped on load, so texture coordinate (0, 0) is
// the picture's bottom left. A new texture stays bound to the active unit. Destruction deletes
// the GL texture.
#pragma once

#include <string>

class Texture {
public:
    // data may be null (storage of undefined content, for render targets).
    Texture(int width, int height, int bpp, const void* data, int wrap, int minFilter,
            int magFilter, bool generateMipmaps);
    ~Texture();
    Texture(const Texture&) = delete;
    Texture& operator=(const Texture&) = delete;

    // Repeat wrapping, trilinear minification, linear magnification, mipmaps; null when the
    // file can't be decoded (the image loader has logged the file and why).
    static Texture* LoadFromFile(const std::string& path);

    unsigned GetId() const { return m_id; }
    int GetWidth() const { return m_width; }
    int GetHeight() const { return m_height; }
    int GetBpp() const { return m_bpp; }

private:
    unsigned m_id = 0;
    int m_width = 0;
    int m_height = 0;
    int m_bpp = 0;
};

// A 24-bit depth texture (linear filtering, clamped) for a render target's depth attachment.
class DepthTexture {
public:
    DepthTexture(int width, int height);
    ~DepthTexture();
    DepthTexture(const DepthTexture&) = delete;
    DepthTexture& operator=(const DepthTexture&) = delete;

    unsigned GetId() const { return m_id; }
    int GetWidth() const { return m_width; }
    int GetHeight() const { return m_height; }

private:
    unsigned m_id = 0;
    int m_width = 0;
    int m_height = 0;
};
