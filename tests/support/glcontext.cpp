#include "support/glcontext.h"

#include <GL/glew.h>
#include <gtest/gtest.h>

#include <string>

#include "platform/video.h"
#include "render/glsetup.h"
#include "window/openglwindow.h"

GlTestContext::GlTestContext() : m_window(new OpenglWindow) {
    PlatformDisplayMode mode;
    if (!PlatformGetCurrentDisplayMode(&mode)) mode = {640, 480, 32, 60};
    if (!m_window->Create(nullptr, "gl test", mode.width, mode.height, 32, mode.refreshRate, true,
                          true, nullptr)) {
        ADD_FAILURE() << "no GL window: " << m_window->LastError();
        return;
    }
    std::string error;
    if (!LoadGlEntryPoints(&error)) ADD_FAILURE() << error;
}

GlTestContext::~GlTestContext() { m_window->Destroy(); }

int GlTestContext::Width() const { return m_window->GetWidth(); }
int GlTestContext::Height() const { return m_window->GetHeight(); }

void ExpectNoGlError(const char* where) {
    GLenum error = glGetError();
    EXPECT_EQ(error, static_cast<GLenum>(GL_NO_ERROR)) << "GL error at " << where;
}
