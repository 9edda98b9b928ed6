#include "gpu/texture.h"

#include <GL/glew.h>

#include "base/assert.h"
#include "content/imageloader.h"
#include "content/imageutils.h"
#include "platform/filesystem.h"

namespace {

GLenum FormatForBpp(int bpp) {
    switch (bpp) {
        case 8:
            return GL_ALPHA;
        case 16:
            ASSERT(0);
            return 0;
        case 24:
            return GL_RGB;
        case 32:
            return GL_RGBA;
        default:
            return 0;
    }
}

}  // namespace

Texture::Texture(int width, int height, int bpp, const void* data, int wrap, int minFilter,
                 int magFilter, bool generateMipmaps)
    : m_width(width), m_height(height), m_bpp(bpp) {
    GLenum format = FormatForBpp(bpp);
    glGenTextures(1, &m_id);
    glBindTexture(GL_TEXTURE_2D, m_id);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, minFilter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, magFilter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, wrap);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, wrap);
    // Rows are packed without padding: 8- and 24-bit rows are rarely a multiple of four.
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, static_cast<GLint>(format), width, height, 0, format,
                 GL_UNSIGNED_BYTE, data);
    if (generateMipmaps) glGenerateMipmap(GL_TEXTURE_2D);
}

Texture::~Texture() {
    if (m_id != 0) glDeleteTextures(1, &m_id);
}

Texture* Texture::LoadFromFile(const std::string& path) {
    ImageLoader::Pixels pixels;
    int width = 0, height = 0, bytesPerPixel = 0;
    if (!ImageLoader::Load(PlatformResolvePath(path), pixels, width, height, bytesPerPixel))
        return nullptr;
    ImageUtils::FlipVertically(pixels.get(), width, height, bytesPerPixel);
    return new Texture(width, height, 8 * bytesPerPixel, pixels.get(), GL_REPEAT,
                       GL_LINEAR_MIPMAP_LINEAR, GL_LINEAR, true);
}

DepthTexture::DepthTexture(int width, int height) : m_width(width), m_height(height) {
    glGenTextures(1, &m_id);
    glBindTexture(GL_TEXTURE_2D, m_id);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_DEPTH_COMPONENT24, width, height, 0, GL_DEPTH_COMPONENT,
                 GL_FLOAT, nullptr);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glBindTexture(GL_TEXTURE_2D, 0);
}

DepthTexture::~DepthTexture() {
    if (m_id != 0) glDeleteTextures(1, &m_id);
}
