#include "render/framereadback.h"

#include <GL/glew.h>

#include <cstring>

namespace {

// Reads the back buffer into client memory, putting back the read state it touches.
void ReadPixels(int width, int height, GLenum format, void* pixels) {
    GLint readFramebuffer = 0, readBuffer = 0, packAlignment = 0, packBuffer = 0;
    glGetIntegerv(GL_READ_FRAMEBUFFER_BINDING, &readFramebuffer);
    glGetIntegerv(GL_PIXEL_PACK_BUFFER_BINDING, &packBuffer);
    glGetIntegerv(GL_PACK_ALIGNMENT, &packAlignment);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, 0);
    glGetIntegerv(GL_READ_BUFFER, &readBuffer);
    glBindBuffer(GL_PIXEL_PACK_BUFFER, 0);
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);

    glReadPixels(0, 0, width, height, format, GL_UNSIGNED_BYTE, pixels);

    glPixelStorei(GL_PACK_ALIGNMENT, packAlignment);
    glReadBuffer(static_cast<GLenum>(readBuffer));
    glBindBuffer(GL_PIXEL_PACK_BUFFER, static_cast<GLuint>(packBuffer));
    glBindFramebuffer(GL_READ_FRAMEBUFFER, static_cast<GLuint>(readFramebuffer));
}

}  // namespace

void ReadBackBuffer(int width, int height, std::vector<uint8_t>* rgb) {
    const size_t row = static_cast<size_t>(width) * 3;
    rgb->resize(row * static_cast<size_t>(height));
    ReadPixels(width, height, GL_RGB, rgb->data());

    // GL gives the bottom row first.
    std::vector<uint8_t> swap(row);
    for (int top = 0, bottom = height - 1; top < bottom; ++top, --bottom) {
        uint8_t* a = rgb->data() + row * top;
        uint8_t* b = rgb->data() + row * bottom;
        std::memcpy(swap.data(), a, row);
        std::memcpy(a, b, row);
        std::memcpy(b, swap.data(), row);
    }
}

void ReadBackBufferRgba(int width, int height, uint8_t* rgba) {
    ReadPixels(width, height, GL_RGBA, rgba);
}
