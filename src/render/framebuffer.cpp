#include "render/framebuffer.h"

#include <GL/glew.h>

#include "base/assert.h"

Framebuffer::~Framebuffer() {
    if (m_depthRenderbufferId != 0) glDeleteRenderbuffers(1, &m_depthRenderbufferId);
    if (m_framebufferId != 0) glDeleteFramebuffers(1, &m_framebufferId);
}

bool Framebuffer::Setup(int width, int height, int bitsPerPixel) {
    m_width = width;
    m_height = height;
    m_bitsPerPixel = bitsPerPixel;

    glGenRenderbuffers(1, &m_depthRenderbufferId);
    glBindRenderbuffer(GL_RENDERBUFFER, m_depthRenderbufferId);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT, width, height);
    glBindRenderbuffer(GL_RENDERBUFFER, 0);

    glGenFramebuffers(1, &m_framebufferId);
    glBindFramebuffer(GL_FRAMEBUFFER, m_framebufferId);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER,
                              m_depthRenderbufferId);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    return true;
}

void Framebuffer::Bind() { glBindFramebuffer(GL_FRAMEBUFFER, m_framebufferId); }

void Framebuffer::Unbind() { glBindFramebuffer(GL_FRAMEBUFFER, 0); }

void Framebuffer::AttachColorTexture(unsigned textureId, int index) {
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0 + index, GL_TEXTURE_2D, textureId,
                           0);
    if (index == 0) m_colorTextureId = textureId;
}

void Framebuffer::AttachDepthTexture(unsigned textureId) {
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_TEXTURE_2D, textureId, 0);
}

void Framebuffer::CheckStatus() {
    GLenum status = glCheckFramebufferStatus(GL_FRAMEBUFFER);
    ASSERT(GL_FRAMEBUFFER_COMPLETE == status);
}
